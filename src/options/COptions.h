#pragma once
#include "options/COptionsEditor.h"
#include "platform/CFormView.h"

class QLabel;

// Options Page: shows copies of the settings, stores them on Apply, reloads them on
// Restore and whenever the document notifies its views.
class COptions : public CFormView {
    Q_OBJECT
public:
    explicit COptions(CKelto4Doc* document, QWidget* parent = nullptr);
    ~COptions() override;
    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender, long hint) override;

protected:
    void OnCommand(int id) override;

private:
    // saveAndValidate: controls into the edited copies; otherwise the reverse.
    void DoDataExchange(bool saveAndValidate);
    void UpdateData(bool saveAndValidate) { DoDataExchange(saveAndValidate); }

    void OnBrowseSoundFolder();
    void OnBrowseUserFolder();
    void OnBrowsePicture();
    void OnChangePassword();
    // The teacher's password of the user folder, which the reports page's class view asks for.
    void OnTeacherPassword();
    void OnApply();
    void OnRestore();
    void OnTryVoice();
    // The installed English voices, with the chosen one even when it is not installed.
    void FillVoices();
    void ShowRate(int wordsPerMinute);
    // The preview line in the reading style chosen (not yet applied).
    void ShowPreview();

    COptionsEditor m_options;
    QLabel* m_preview = nullptr;
};
