#pragma once
#include "platform/CFormView.h"
#include "spelltest/CTestSession.h"

class CFeedbackPanel;
class CLineListBox;
class QLineEdit;

// Test Page: the learner hears each word of the current list, spells it, and sees
// the verdict and the running score; with "Correct Mistakes" on, a wrong answer is
// copied and then spelled from memory at once. The test itself lives in m_session; the
// page shows its values, reads the answer back, keeps the document's flags in step and,
// when a test ends or is stopped, has the learner's word memory moved.
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
    // Enables the five controls whose state follows the test's: a correction works
    // like an ask, with Next enabled too.
    void SetControlState(CTestSession::State state);
    void SetRunning(bool running);
    // After a check of typed: what went wrong, or the word to copy.
    void ShowFeedback(bool right, const std::string& typed);
    void Announce(const std::string& text);
    // The last verdict is no longer read out with the controls.
    void ForgetAnnouncement();
    // The reading settings on the answer box, the answers list and the feedback.
    void ApplyReadingStyle();

    CTestSession m_session;
    CLineListBox* m_answers;
    CFeedbackPanel* m_feedback;
    QLineEdit* m_answerBox = nullptr;
};
