#pragma once
#include "platform/CFormView.h"

#include <string>

class QLabel;
class QPushButton;

// The start page: greets the user, says whether results are kept and whether a list
// is loaded, offers the main actions (Today's Review with how many words are due) and
// shows the background picture.
class CKelto4View : public CFormView {
    Q_OBJECT
public:
    enum ControlId : int {
        IDC_OPEN = 1004,
        IDC_TEST = 1005,
        IDC_LOGIN = 1006,
        IDC_CREATE = 1007,
        IDC_WELCOME = 1008,
        IDC_NEW_FROM_RULE = 1009,
        IDC_REVIEW = 1010,
        IDC_DUE = 1011,
    };

    explicit CKelto4View(CKelto4Doc* document, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender, long hint) override;

    const std::string& Welcome() const { return m_welcome; }
    // Where a picture name is found: as given (relative to the current folder),
    // then in the program's data folder. Empty when it is nowhere.
    static QString FindPicture(const std::string& picture);

protected:
    void OnCommand(int id) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::string m_welcome;
    QPushButton* m_btnTest = nullptr;
    QPushButton* m_btnReview = nullptr;
    QLabel* m_due = nullptr;
};
