#include "spelltest/CTest.h"

#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"
#include "model/KMessage.h"
#include "platform/CControlIds.h"
#include "platform/CFeedbackPanel.h"
#include "platform/CQtText.h"
#include "platform/CReadingLook.h"
#include "spelltest/CLineListBox.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>

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

constexpr int kAnswersExtent = 600;

// The states in which the learner types the word: its first or second ask, and the
// two steps of correcting it.
bool IsAsking(CTestSession::State state)
{
    return state == CTestSession::State::AwaitingAnswer || state == CTestSession::State::CopyWord ||
           state == CTestSession::State::SpellFromMemory;
}

bool IsCorrecting(CTestSession::State state)
{
    return state == CTestSession::State::CopyWord || state == CTestSession::State::SpellFromMemory;
}

} // namespace

CTest::CTest(CKelto4Doc* document, QWidget* parent)
    : CFormView(document, parent)
    , m_answers(new CLineListBox)
    , m_feedback(new CFeedbackPanel)
{
    // Made in the order Tab visits them: the buttons of a test lead from Start through
    // Listen, the answer, Check and Next, then to the answers given.
    CFormBuilder& c = Controls();
    QLabel* title = c.Title("Test Page");
    QFrame* rule = c.Rule();
    QPushButton* start = c.Button(kStart, "Start");
    QPushButton* stop = c.Button(kStop, "Stop");
    QCheckBox* randomize = c.CheckBox(kRandomize, "Randomize list");
    QLineEdit* score[4];
    QLabel* scoreLabels[4];
    const std::pair<int, const char*> scoreFields[4] = {
        {kWordNumber, "Word #"}, {kNumberCorrect, "# Correct"}, {kNumberOfWords, "# Words"}, {kScore, "Score"}};
    for (int i = 0; i < 4; ++i) {
        score[i] = c.ReadOnlyEdit(scoreFields[i].first);
        scoreLabels[i] = c.Label(scoreFields[i].second, score[i]);
    }
    QTextEdit* status = c.MultiLineEdit(kStatus);
    CFormBuilder::Name(status, QStringLiteral("Status"));
    QPushButton* listen = c.Button(kListen, "Listen to Word");
    m_answerBox = c.Edit(kAnswer);
    QLabel* spellIt = c.Label("Spell it", m_answerBox);
    QPushButton* check = c.Button(kCheck, "Check");
    QPushButton* next = c.Button(kNext, "Next");
    c.HiddenDefault(kEnterKey, "Enter Key");
    QLabel* answersTitle = c.Label("Answers", c.Own(m_answers, kAnswers));
    c.Own(m_feedback, CFeedbackPanel::kControlId);
    for (auto [control, letter] : {std::pair<QWidget*, char>{start, 'S'}, {stop, 'P'}, {randomize, 'R'}, {listen, 'L'},
                                   {m_answerBox, 'I'}, {check, 'C'}, {next, 'N'}, {m_answers, 'A'}})
        CFormBuilder::SetMnemonic(control, QLatin1Char(letter));
    // The read-only fields only show; Tab goes from one working control to the next.
    for (QWidget* w : {static_cast<QWidget*>(status), static_cast<QWidget*>(score[0]), static_cast<QWidget*>(score[1]),
                       static_cast<QWidget*>(score[2]), static_cast<QWidget*>(score[3])})
        w->setFocusPolicy(Qt::ClickFocus);

    // What a child works with is large: Listen, the answer box, Check and Next.
    QFont large = font();
    large.setPointSizeF(font().pointSizeF() * 1.25);
    large.setBold(true);
    listen->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));
    for (QPushButton* button : {listen, check, next}) {
        button->setFont(large);
        button->setMinimumHeight(QFontMetrics(large).height() * 2);
        button->setMinimumWidth(QFontMetrics(large).averageCharWidth() * 10);
    }
    spellIt->setFont(large);
    spellIt->setWordWrap(false);
    // The status holds three lines at most; the room below goes to the feedback.
    status->setFixedHeight(QFontMetrics(font()).lineSpacing() * 3 + 2 * status->frameWidth() + 8);
    status->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_answers->setMinimumWidth(QFontMetrics(font()).averageCharWidth() * 14);

    auto* testRow = new QHBoxLayout;
    testRow->addWidget(start);
    testRow->addWidget(stop);
    testRow->addSpacing(12);
    testRow->addWidget(randomize);
    testRow->addStretch();
    auto* answerRow = new QHBoxLayout;
    answerRow->addWidget(spellIt);
    answerRow->addWidget(m_answerBox, 1);
    auto* judgeRow = new QHBoxLayout;
    judgeRow->addWidget(check);
    judgeRow->addWidget(next);
    judgeRow->addStretch();
    auto* work = new QVBoxLayout;
    work->addLayout(testRow);
    work->addWidget(status);
    work->addWidget(listen, 0, Qt::AlignLeft);
    work->addLayout(answerRow);
    work->addLayout(judgeRow);
    work->addWidget(m_feedback, 1);
    work->addStretch(0);

    // The running score, small, above the answers given.
    auto* scoreGrid = new QGridLayout;
    scoreGrid->setHorizontalSpacing(6);
    for (int i = 0; i < 4; ++i) {
        scoreLabels[i]->setWordWrap(false);
        score[i]->setFixedWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral("100.00 %")) + 14);
        scoreGrid->addWidget(scoreLabels[i], i, 0);
        scoreGrid->addWidget(score[i], i, 1);
    }
    auto* side = new QVBoxLayout;
    side->addLayout(scoreGrid);
    side->addSpacing(6);
    side->addWidget(answersTitle);
    side->addWidget(m_answers, 1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(title, 0, 0, 1, 2);
    layout->addWidget(rule, 1, 0, 1, 2);
    layout->addLayout(work, 2, 0);
    layout->addLayout(side, 2, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
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
    CKelto4AppCore& app = doc->GetApp();
    m_session.Reset(int32_t(doc->m_wordList.size()), app.GetRandomizeList() != 0, app.GetCorrectMistakes() != 0);
    SetControlState(CTestSession::State::Idle);
    // A reset may end a running test (a list opened meanwhile); Start must come back.
    EnableDlgItem(kStart, true);
    EnableDlgItem(kStop, false);
    SetRunning(false);
    m_feedback->Clear();
    ForgetAnnouncement();
    UpdateData(false);
    ApplyReadingStyle();
}

void CTest::ApplyReadingStyle()
{
    const CReadingStyle style = GetDocument()->GetApp().GetReadingStyle();
    // The answer box at least twice the page's text, so a child sees each letter typed.
    CReadingLook::Apply(m_answerBox, style, 2.0);
    CReadingLook::Apply(m_answers, style);
    const CReadingStyle::Colours colours = style.GetColours(CReadingLook::DesktopIsDark());
    m_answers->SetInk(CTestSession::kRightColor, CReadingLook::ToQColor(colours.right));
    m_answers->SetInk(CTestSession::kWrongColor, CReadingLook::ToQColor(colours.wrong));
    m_feedback->SetReadingStyle(style);
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
    ForgetAnnouncement();
    // The words answered so far move in the learner's memory, as at the end of a test.
    doc->RememberTest(m_session.GetFirstAttempts());
    doc->UpdateAllViews(this, 0);
    UpdateData(false);
    SetControlState(CTestSession::State::Idle);
    EnableDlgItem(kStart, true);
    EnableDlgItem(kStop, false);
    SetFocusTo(kStart);
}

void CTest::OnListen()
{
    if (!IsAsking(m_session.GetState()))
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
    if (!IsAsking(m_session.GetState()))
        return;
    UpdateData(true);
    // The session empties the answer for the next step of a correction; the feedback
    // still compares what was typed.
    const std::string typed = m_session.GetAnswer();
    CKelto4Doc* doc = GetDocument();
    const bool right = m_session.Check(doc->m_userName, doc->m_missedList);
    const CTestSession::State state = m_session.GetState();
    const CTestSession::CheckKind kind = m_session.GetLastCheck();
    SetControlState(state);
    UpdateData(false);
    // The steps of a correction change only the status; asks add their line.
    if (kind == CTestSession::CheckKind::FirstAsk || kind == CTestSession::CheckKind::SecondAsk) {
        m_answers->AddItem(m_session.GetAnswerLine(), right ? CTestSession::kRightColor : CTestSession::kWrongColor,
                           right ? "right" : "wrong");
        m_answers->scrollToBottom();
    }
    ShowFeedback(right, typed);
    // While the word is hidden it is not spelled out to a screen reader either.
    Announce(CTestSession::Announcement(m_session.GetStatus(), right || m_session.IsWordHidden(),
                                        m_session.GetCurrentWord()));
    SetFocusTo(IsCorrecting(state) ? kAnswer : kNext);
}

// A screen reader hears the verdict, or the next step of a correction, at once: as an
// alert on the status, and from the control that takes the focus now (Next, or the
// answer box during a correction), which is read out with its description.
void CTest::Announce(const std::string& text)
{
    const bool correcting = IsCorrecting(m_session.GetState());
    QWidget* status = GetDlgItem(kStatus);
    status->setAccessibleDescription(ToQt(text));
    GetDlgItem(kNext)->setAccessibleDescription(correcting ? QString() : ToQt(text));
    m_answerBox->setAccessibleDescription(correcting ? ToQt(text) : QString());
    QAccessibleEvent alert(status, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void CTest::ForgetAnnouncement()
{
    GetDlgItem(kNext)->setAccessibleDescription(QString());
    m_answerBox->setAccessibleDescription(QString());
}

// After a wrong answer, what went wrong with what was typed, when the setting allows.
// While a mistake is copied the word stands in the panel whatever the setting; while it
// is spelled from memory the panel, rules and all, is hidden.
void CTest::ShowFeedback(bool right, const std::string& typed)
{
    const bool copying = m_session.GetState() == CTestSession::State::CopyWord;
    if ((right && !copying) || m_session.IsWordHidden()) {
        m_feedback->Clear();
        return;
    }
    const std::string& word = m_session.GetCurrentWord();
    if (GetDocument()->GetApp().GetShowFeedback() == 0) {
        if (copying)
            m_feedback->ShowWord(word);
        else
            m_feedback->Clear();
        return;
    }
    m_feedback->ShowFeedback(word, typed, GetDocument()->GetSoundComparison().Compare(word, typed));
}

void CTest::OnNext()
{
    CKelto4Doc* doc = GetDocument();
    const CTestSession::NextResult result = m_session.Next(doc->m_userName, doc->m_gradeList);
    if (result == CTestSession::NextResult::Ignored)
        return;
    // The feedback belongs to the answer just judged, not to the next word.
    m_feedback->Clear();
    ForgetAnnouncement();
    SetControlState(m_session.GetState());
    if (result == CTestSession::NextResult::TestEnded) {
        EnableDlgItem(kStart, true);
        EnableDlgItem(kStop, false);
        SetRunning(false);
        doc->RememberTest(m_session.GetFirstAttempts());
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
    const bool asking = IsAsking(state);
    EnableDlgItem(kCheck, asking);
    EnableDlgItem(kListen, asking);
    // A learner stuck in a correction may go on.
    EnableDlgItem(kNext, state == CTestSession::State::Answered || IsCorrecting(state));
    EnableDlgItem(kAnswer, asking);
    EnableDlgItem(kRandomize, state == CTestSession::State::Idle);
}

void CTest::SetRunning(bool running)
{
    GetDocument()->m_testRunning = running;
}
