#include "spelltest/CTestSession.h"

#include "model/CPath.h"

#include <charconv>
#include <clocale>
#include <locale.h>
#include <memory>
#include <system_error>
#include <time.h>

namespace {

std::unique_ptr<CSpellingList> CopyEntry(const CSpellingList& entry)
{
    auto copy = std::make_unique<CSpellingList>();
    copy->m_author = entry.m_author;
    copy->m_soundFolder = entry.m_soundFolder;
    copy->m_word = entry.m_word;
    return copy;
}

// Made once and kept: the C locale, so that the stamp never follows the user's
// LC_TIME (records written under one locale are read and printed under another).
locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

} // namespace

CTestSession::CTestSession()
    : m_clock([] { return std::time(nullptr); })
{
}

void CTestSession::Reset(int32_t numberOfWords, bool randomize, bool correctMistakes)
{
    m_numberOfWords = numberOfWords;
    m_state = State::Idle;
    m_wordNumber = 0;
    m_numberCorrect = 0;
    m_scoreText.clear();
    m_randomize = randomize;
    m_correctMistakes = correctMistakes;
    m_status = numberOfWords < 1 ? kNoListText : kClickStartText;
    m_dateStamp.clear();
    m_listName.clear();
    m_currentEntry = nullptr;
    m_lastCheck = CheckKind::None;
    m_secondAsk = false;
    m_secondAsks.clear();
    m_firstAttempts.clear();
}

bool CTestSession::Start(const COwnedList<CSpellingList>& wordList, const std::string& listName)
{
    if (m_state != State::Idle)
        return false;
    if (!BuildTestList(wordList) || m_testList.empty())
        return false;
    m_state = State::AwaitingAnswer;
    m_dateStamp = FormatDateStamp(m_clock());
    m_listName = listName;
    // The count of the last reset, unless the list changed without the document
    // saying so: the score's divisor and the end of the test must match what is asked.
    m_numberOfWords = int32_t(m_testList.size());
    m_cursor = 0;
    m_secondAsks.clear();
    m_firstAttempts.clear();
    Ask(m_testList[m_cursor++].get());
    m_status = kFirstWordText;
    m_wordNumber = 1;
    m_numberCorrect = 0;
    m_scoreText.clear();
    return true;
}

void CTestSession::Ask(const CSpellingList* entry)
{
    m_currentEntry = entry;
    m_currentWord = entry->m_word;
    m_answer.clear();
    m_secondAsk = false;
    m_lastCheck = CheckKind::None;
}

bool CTestSession::Check(const std::string& userName, COwnedList<CMissed>& missedList)
{
    if (m_state == State::CopyWord || m_state == State::SpellFromMemory)
        return JudgeCorrection();
    if (m_state != State::AwaitingAnswer) {
        m_lastCheck = CheckKind::None;
        return false;
    }
    const bool right = JudgeAsked(userName, missedList);
    m_state = State::Answered;
    if (!right && m_correctMistakes) {
        if (!m_secondAsk)
            m_secondAsks.push_back({m_currentEntry, m_wordNumber + kAgainAfter});
        m_verdict = m_status;
        m_status = m_verdict + "\r\n" + kCopyText;
        m_answer.clear();
        m_state = State::CopyWord;
    }
    return right;
}

bool CTestSession::JudgeAsked(const std::string& userName, COwnedList<CMissed>& missedList)
{
    // Byte for byte: a capital or a trailing blank makes the answer wrong.
    const bool right = m_answer == m_currentWord;
    m_status = right ? std::string(kRightText)
                     : "Sorry wrong Answer.\r\nThe correct spelling is " + m_currentWord + ".";
    if (m_secondAsk) {
        // Practice only: the score, the records and the memory keep the first answer.
        m_lastCheck = CheckKind::SecondAsk;
        m_answerLine = m_answer + kAgainSuffix;
        return right;
    }
    m_lastCheck = CheckKind::FirstAsk;
    m_answerLine = m_answer;
    m_firstAttempts.push_back({m_currentWord, right});
    if (right) {
        ++m_numberCorrect;
    } else if (!userName.empty()) {
        auto missed = std::make_unique<CMissed>();
        missed->SetListName(m_listName);
        missed->SetDate(m_dateStamp);
        missed->SetWord(m_currentWord);
        missed->SetMisspelling(m_answer);
        missedList.push_front(std::move(missed));
    }
    m_scoreText = FormatScore(m_numberCorrect, m_numberOfWords);
    return right;
}

bool CTestSession::JudgeCorrection()
{
    const bool right = m_answer == m_currentWord;
    if (m_state == State::CopyWord) {
        m_lastCheck = CheckKind::Copy;
        if (right) {
            m_state = State::SpellFromMemory;
            m_status = kFromMemoryText;
        }
        // A wrong copy is simply copied again.
        m_answer.clear();
        return right;
    }
    m_lastCheck = CheckKind::FromMemory;
    if (right) {
        m_state = State::Answered;
        m_status = kWellDoneText;
        return true;
    }
    m_state = State::CopyWord;
    m_status = m_verdict + "\r\n" + kCopyText;
    m_answer.clear();
    return false;
}

CTestSession::NextResult CTestSession::Next(const std::string& userName, COwnedList<CGrade>& gradeList)
{
    if (m_state != State::Answered && m_state != State::CopyWord && m_state != State::SpellFromMemory)
        return NextResult::Ignored;
    m_state = State::AwaitingAnswer;
    const bool firstAsksLeft = m_wordNumber < m_numberOfWords && m_cursor < m_testList.size();
    // A missed word comes back once kAgainAfter more words were asked, or when none are left.
    if (!m_secondAsks.empty() && (m_secondAsks.front().afterWordNumber <= m_wordNumber || !firstAsksLeft)) {
        Ask(m_secondAsks.front().entry);
        m_secondAsks.pop_front();
        m_secondAsk = true;
        m_status = kNextWordText;
        return NextResult::NextWord;
    }
    if (firstAsksLeft) {
        Ask(m_testList[m_cursor++].get());
        m_status = kNextWordText;
        ++m_wordNumber;
        return NextResult::NextWord;
    }
    m_status = kEndText;
    if (!userName.empty())
        AddGrade(m_listName, gradeList);
    m_state = State::Idle;
    m_answer.clear();
    m_lastCheck = CheckKind::None;
    return NextResult::TestEnded;
}

void CTestSession::Stop(const std::string& userName, COwnedList<CGrade>& gradeList)
{
    if (m_state == State::Idle)
        return;
    if (!userName.empty())
        AddGrade(m_listName + CGrade::kStoppedSuffix, gradeList);
    m_status = kStoppedText;
    m_wordNumber = 0;
    m_numberCorrect = 0;
    m_answer.clear();
    m_scoreText.clear();
    m_currentEntry = nullptr;
    m_state = State::Idle;
    m_lastCheck = CheckKind::None;
    m_secondAsk = false;
    m_secondAsks.clear();
}

void CTestSession::AddGrade(const std::string& listName, COwnedList<CGrade>& gradeList) const
{
    auto grade = std::make_unique<CGrade>();
    grade->SetListName(listName);
    grade->SetDate(m_dateStamp);
    grade->SetCorrect(m_numberCorrect);
    grade->SetWords(m_numberOfWords);
    gradeList.push_front(std::move(grade));
}

std::string CTestSession::SoundPath() const
{
    if (!m_currentEntry)
        return std::string();
    return CPath::Join(m_currentEntry->m_soundFolder, m_currentWord + ".wav");
}

bool CTestSession::BuildTestList(const COwnedList<CSpellingList>& wordList)
{
    m_currentEntry = nullptr;
    m_cursor = 0;
    m_testList.clear();
    if (!m_randomize) {
        for (const auto& entry : wordList)
            m_testList.push_back(CopyEntry(*entry));
        return true;
    }
    for (size_t i = 0; i < wordList.size(); ++i)
        m_testList.push_back(std::make_unique<CSpellingList>());
    // A fresh seed from the time in whole seconds at every build.
    const Random random = MakeRandom(static_cast<uint32_t>(m_clock()));
    return PlaceInSlots(wordList, m_testList, random);
}

bool CTestSession::PlaceInSlots(const COwnedList<CSpellingList>& entries, COwnedList<CSpellingList>& testList,
                                const Random& random)
{
    const size_t slots = testList.size();
    for (const auto& entry : entries) {
        if (slots == 0)
            return false;
        size_t j = static_cast<size_t>(static_cast<unsigned>(random())) % slots + 1;
        int wraps = 0;
        for (;;) {
            std::unique_ptr<CSpellingList>& slot = testList[j - 1];
            if (slot->m_word.empty()) {
                slot = CopyEntry(*entry);
                break;
            }
            if (++j > slots) {
                j = 1;
                if (++wraps == 3)
                    return false;
            }
        }
    }
    return true;
}

CTestSession::Random CTestSession::MakeRandom(uint32_t seed)
{
    // The classic C library generator: 15 bits from a 32-bit linear congruence.
    return [state = seed]() mutable {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFFu);
    };
}

std::string CTestSession::FormatDateStamp(std::time_t time)
{
    tzset();
    std::tm local{};
    const locale_t cLocale = CLocale();
    if (!cLocale || !localtime_r(&time, &local))
        return kTimeErrorText;
    char text[64];
    const size_t length = strftime_l(text, sizeof text, "%x, %I:%M %p", &local, cLocale);
    if (length == 0)
        return kTimeErrorText;
    return std::string(text, length);
}

std::string CTestSession::FormatScore(int32_t correct, int32_t words)
{
    // to_chars never looks at the locale, so the point stays a point under any LC_NUMERIC.
    const double score = words > 0 ? double(correct) * 100.0 / double(words) : 0.0;
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, score, std::chars_format::fixed, 2);
    if (error != std::errc())
        return std::string();
    // Never narrower than "0.00", so the width 3 of "%3.2f" never pads.
    return std::string(text, end) + " %";
}

std::string CTestSession::Announcement(const std::string& status, bool right, const std::string& word)
{
    std::string text;
    for (std::size_t i = 0; i < status.size(); ++i) {
        const char c = status[i];
        if (c == '\r' || c == '\n') {
            if (!text.empty() && text.back() != ' ')
                text += ' ';
        } else {
            text += c;
        }
    }
    if (right)
        return text;
    std::string letters;
    for (const char c : word) {
        if (!letters.empty())
            letters += ", ";
        if (c == ' ')
            letters += "space";
        else if (c >= 'A' && c <= 'Z')
            letters += std::string("capital ") + c;
        else
            letters += c;
    }
    return text + " Spelled: " + letters + ".";
}
