#include "spelltest/CTest.h"

#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"
#include "model/KMessage.h"
#include "platform/CControlIds.h"
#include "platform/CFeedbackPanel.h"
#include "spelltest/CLineListBox.h"

#include <QCheckBox>

#include <string>

namespace {

enum : int {
    kStop = 1004,
    kWordNumber = 1008,
    kNumberCorrect = 1009,
    kNumberOfWords = 1010,
    kScore = 1011,
    kListen = 1012,
    kAnswer = 1013,
    kStatus = 1014,
    kCheck = 1015,
    kNext = 1016,
    kEnterKey = 1017,
    kStart = 1018,
    kAnswers = 1023,
    kRandomize = 1046,
};

// Created in this order, which is also the Tab order: the buttons of a test lead
// from Start through Listen, the answer, Check and Next.
const CFormControl kTemplate[] = {
    {CFormControl::CenterLabel, 0, "Test Page", 7, 7, 306, 11},
    {CFormControl::HLine, 0, nullptr, 8, 18, 306, 1},
    {CFormControl::Button, kStart, "Start", 8, 26, 52, 15},
    {CFormControl::Button, kStop, "Stop", 64, 26, 52, 15},
    {CFormControl::CheckBox, kRandomize, "Randomize list", 122, 28, 72, 12},
    {CFormControl::Label, 0, "Word #", 8, 48, 42, 10},
    {CFormControl::ReadOnlyEdit, kWordNumber, nullptr, 8, 58, 42, 13},
    {CFormControl::Label, 0, "# Correct", 54, 48, 42, 10},
    {CFormControl::ReadOnlyEdit, kNumberCorrect, nullptr, 54, 58, 42, 13},
    {CFormControl::Label, 0, "# Words", 100, 48, 42, 10},
    {CFormControl::ReadOnlyEdit, kNumberOfWords, nullptr, 100, 58, 42, 13},
    {CFormControl::Label, 0, "Score", 146, 48, 46, 10},
    {CFormControl::ReadOnlyEdit, kScore, nullptr, 146, 58, 46, 13},
    {CFormControl::MultiLineEdit, kStatus, nullptr, 8, 78, 184, 40, CFormControl::GrowAuto, "Status"},
    {CFormControl::Button, kListen, "Listen to Word", 8, 124, 80, 15},
    {CFormControl::Label, 0, "Spell it", 8, 148, 34, 10},
    {CFormControl::Edit, kAnswer, nullptr, 44, 146, 148, 14},
    {CFormControl::Button, kCheck, "Check", 8, 168, 60, 15},
    {CFormControl::Button, kNext, "Next", 72, 168, 60, 15},
    {CFormControl::HiddenDefault, kEnterKey, "Enter Key", 0, 0, 1, 1},
    {CFormControl::Label, 0, "Answers", 202, 26, 110, 10},
};

constexpr int kAnswersExtent = 600;

} // namespace

CTest::CTest(CKelto4Doc* document, QWidget* parent)
    : CFormView(document, parent)
    , m_answers(new CLineListBox)
    , m_feedback(new CFeedbackPanel)
{
    BuildForm(kTemplate, int(std::size(kTemplate)), 320, 282);
    PlaceControl(m_answers, kAnswers, 202, 36, 110, 156);
    PlaceControl(m_feedback, CFeedbackPanel::kControlId, 8, 196, 304, 80, CFormControl::GrowWidth);
    // The read-only fields only show; Tab goes from one working control to the next.
    for (int id : {kWordNumber, kNumberCorrect, kNumberOfWords, kScore, kStatus})
        GetDlgItem(id)->setFocusPolicy(Qt::ClickFocus);
}

void CTest::OnInitialUpdate()
{
    EnableDlgItem(kStop, false);
    m_answers->SetHorizontalExtent(kAnswersExtent);
    OnUpdate(nullptr, 0);
}

void CTest::OnUpdate(CDocView*, long)
{
    CKelto4Doc* doc = GetDocument();
    m_session.Reset(int32_t(doc->m_wordList.size()), doc->GetApp().GetRandomizeList() != 0);
    SetControlState(CTestSession::State::Idle);
    // A reset may end a running test (a list opened meanwhile); Start must come back.
    EnableDlgItem(kStart, true);
    EnableDlgItem(kStop, false);
    SetRunning(false);
    m_feedback->Clear();
    UpdateData(false);
}

void CTest::OnCommand(int id)
{
    switch (id) {
    case kStart:
        OnStart();
        break;
    case kStop:
        OnStop();
        break;
    case kListen:
        OnListen();
        break;
    case kCheck:
        OnCheck();
        break;
    case kNext:
        OnNext();
        break;
    case kEnterKey:
        OnEnterKey();
        break;
    case kRandomize:
        OnRandomize();
        break;
    default:
        break;
    }
}

void CTest::OnStart()
{
    if (m_session.GetState() != CTestSession::State::Idle)
        return;
    UpdateData(true);
    CKelto4Doc* doc = GetDocument();
    if (!m_session.Start(doc->m_wordList, doc->GetTitle())) {
        ShowMessage(CTestSession::kListErrorText, MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    SetControlState(CTestSession::State::AwaitingAnswer);
    EnableDlgItem(kStart, false);
    EnableDlgItem(kStop, true);
    doc->m_recordsChanged = true;
    UpdateData(false);
    SetRunning(true);
    SetFocusTo(kListen);
    m_answers->ResetContent();
    m_feedback->Clear();
}

void CTest::OnStop()
{
    if (m_session.GetState() == CTestSession::State::Idle)
        return;
    CKelto4Doc* doc = GetDocument();
    m_session.Stop(doc->m_userName, doc->m_gradeList);
    SetRunning(false);
    m_feedback->Clear();
    doc->UpdateAllViews(this, 0);
    UpdateData(false);
    SetControlState(CTestSession::State::Idle);
    EnableDlgItem(kStart, true);
    EnableDlgItem(kStop, false);
    SetFocusTo(kStart);
}

void CTest::OnListen()
{
    if (m_session.GetState() != CTestSession::State::AwaitingAnswer)
        return;
    UpdateData(true);
    CKelto4Doc* doc = GetDocument();
    CKelto4AppCore& app = doc->GetApp();
    // Blocks until the word has played. A word without a usable recording is spoken
    // when the setting asks for it; otherwise the recorder reports the missing file, or
    // a word that would name a file outside the sound folder.
    if (const CSpellingList* entry = m_session.GetCurrentEntry()) {
        doc->m_speaker.Configure(app.GetVoice(), app.GetSpeechRate());
        doc->m_speaker.Listen(entry->m_soundFolder, m_session.GetCurrentWord(), app.GetSpeakMissingWords() != 0);
    }
    SetFocusTo(kAnswer);
}

void CTest::OnCheck()
{
    if (m_session.GetState() != CTestSession::State::AwaitingAnswer)
        return;
    UpdateData(true);
    CKelto4Doc* doc = GetDocument();
    const bool right = m_session.Check(doc->m_userName, doc->m_missedList);
    SetControlState(CTestSession::State::Answered);
    UpdateData(false);
    m_answers->AddItem(m_session.GetAnswer(), right ? CTestSession::kRightColor : CTestSession::kWrongColor,
                       right ? "right" : "wrong");
    m_answers->scrollToBottom();
    ShowFeedback(right);
    SetFocusTo(kNext);
}

void CTest::ShowFeedback(bool right)
{
    if (right || GetDocument()->GetApp().GetShowFeedback() == 0) {
        m_feedback->Clear();
        return;
    }
    const std::string& word = m_session.GetCurrentWord();
    const std::string& answer = m_session.GetAnswer();
    m_feedback->ShowFeedback(word, answer, GetDocument()->GetSoundComparison().Compare(word, answer));
}

void CTest::OnNext()
{
    CKelto4Doc* doc = GetDocument();
    const CTestSession::NextResult result = m_session.Next(doc->m_userName, doc->m_gradeList);
    if (result == CTestSession::NextResult::Ignored)
        return;
    // The feedback belongs to the answer just judged, not to the next word.
    m_feedback->Clear();
    SetControlState(m_session.GetState());
    if (result == CTestSession::NextResult::TestEnded) {
        EnableDlgItem(kStart, true);
        EnableDlgItem(kStop, false);
        SetRunning(false);
        doc->UpdateAllViews(this, 0);
    }
    UpdateData(false);
    // At the end Listen is disabled and can't take the focus; Start is the next step.
    SetFocusTo(result == CTestSession::NextResult::TestEnded ? kStart : kListen);
}

void CTest::OnEnterKey()
{
    switch (GetFocusId()) {
    case kListen:
        OnListen();
        break;
    case kAnswer:
    case kCheck:
        OnCheck();
        break;
    case kNext:
        OnNext();
        break;
    default:
        break;
    }
}

void CTest::OnRandomize()
{
    UpdateData(true);
}

void CTest::UpdateData(bool saveAndValidate)
{
    auto* randomize = FindControl<QCheckBox>(this, kRandomize);
    if (saveAndValidate) {
        m_session.SetAnswer(GetDlgItemText(kAnswer));
        m_session.SetRandomize(randomize->isChecked());
        return;
    }
    SetDlgItemText(kNumberCorrect, std::to_string(m_session.GetNumberCorrect()));
    SetDlgItemText(kNumberOfWords, std::to_string(m_session.GetNumberOfWords()));
    SetDlgItemText(kScore, m_session.GetScoreText());
    SetDlgItemText(kWordNumber, std::to_string(m_session.GetWordNumber()));
    SetDlgItemText(kAnswer, m_session.GetAnswer());
    SetDlgItemText(kStatus, m_session.GetStatus());
    randomize->setChecked(m_session.GetRandomize());
}

void CTest::SetControlState(CTestSession::State state)
{
    const bool awaiting = state == CTestSession::State::AwaitingAnswer;
    EnableDlgItem(kCheck, awaiting);
    EnableDlgItem(kListen, awaiting);
    EnableDlgItem(kNext, state == CTestSession::State::Answered);
    EnableDlgItem(kAnswer, awaiting);
    EnableDlgItem(kRandomize, state == CTestSession::State::Idle);
}

void CTest::SetRunning(bool running)
{
    GetDocument()->m_testRunning = running;
}
