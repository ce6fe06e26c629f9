#pragma once
#include "platform/CFormView.h"
#include "spelltest/CTestSession.h"

class CFeedbackPanel;
class CLineListBox;
class QLineEdit;

// Test Page: the learner hears each word of the current list, spells it, and sees
// the verdict and the running score. The test itself lives in m_session; the page
// shows its values, reads the answer back, and keeps the document's flags in step.
class CTest : public CFormView {
    Q_OBJECT
public:
    explicit CTest(CKelto4Doc* document, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender, long hint) override;

    const CTestSession& GetSession() const { return m_session; }
    const CFeedbackPanel* GetFeedback() const { return m_feedback; }

protected:
    void OnCommand(int id) override;

private:
    void OnStart();
    void OnStop();
    void OnListen();
    void OnCheck();
    void OnNext();
    void OnEnterKey();
    void OnRandomize();

    // true: controls into the session's answer and randomise value; false: all
    // values into their controls.
    void UpdateData(bool saveAndValidate);
    // Enables the five controls whose state follows the test's.
    void SetControlState(CTestSession::State state);
    void SetRunning(bool running);
    // After a check: what went wrong, when the answer was wrong and the setting allows.
    void ShowFeedback(bool right);
    void Announce(const std::string& text);
    // The reading settings on the answer box, the answers list and the feedback.
    void ApplyReadingStyle();

    CTestSession m_session;
    CLineListBox* m_answers;
    CFeedbackPanel* m_feedback;
    QLineEdit* m_answerBox = nullptr;
};
