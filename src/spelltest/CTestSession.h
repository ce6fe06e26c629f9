#pragma once
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/COwnedList.h"
#include "model/CSpellingList.h"
#include "model/CWordMemory.h"

#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// The working data and rules of one spelling test, apart from any widget: the
// private test list (in order or shuffled), the cursor, the score, the verdicts and
// status texts, the date stamp and the records a logged-in learner leaves behind.
// The test page shows these values in its controls and reads the answer and the
// randomise box back before each step.
//
// With "Correct Mistakes" on, a wrong answer is judged, scored and recorded as always and
// then corrected: the learner copies the word (CopyWord), then spells it with the word
// hidden (SpellFromMemory); a wrong spelling from memory goes back to the copy. Next may
// leave the correction at any step. The word is also asked once more, after three more
// words have been asked for the first time or at the end of the list; that second ask
// changes neither the score, nor the word count, nor the records.
class CTestSession {
public:
    enum class State { Idle, AwaitingAnswer, Answered, CopyWord, SpellFromMemory };
    // What the last Check judged. The first ask of a word and its second ask each give a
    // line of the answers list (GetAnswerLine); a correction step changes only the status.
    enum class CheckKind { None, FirstAsk, SecondAsk, Copy, FromMemory };
    enum class NextResult { Ignored, NextWord, TestEnded };

    // Seconds since the epoch; the seed of every shuffle and the date stamp's time.
    using Clock = std::function<std::time_t()>;
    // Yields integers from 0 to 32767.
    using Random = std::function<int()>;

    // Answer colours as Windows COLORREF values: red in the low byte, then green, then blue.
    static constexpr uint32_t kRightColor = 0x006400;
    static constexpr uint32_t kWrongColor = 0x0000CD;

    static constexpr const char* kNoListText = "No Spelling List ...\r\nPlease Open or Create a List";
    static constexpr const char* kClickStartText = "Click Start button to take a test.";
    static constexpr const char* kFirstWordText =
        "Ready.\r\nClick LISTEN to hear word--\r\nThen type your answer in spell it.";
    static constexpr const char* kNextWordText =
        "Ready\r\nClick LISTEN to hear word.\r\nThen type your answer in spell it.";
    static constexpr const char* kRightText = "You got it right!";
    static constexpr const char* kEndText = "End of Test.  Check out your final score.\r\nClick Start to redo test.";
    static constexpr const char* kStoppedText = "Try Again.  Click Start button.";
    static constexpr const char* kListErrorText = "Error with Spelling List.\n\rCheck list and try again.";
    static constexpr const char* kTimeErrorText = "Time Error";
    static constexpr const char* kCopyText = "Copy the word, then press Check.";
    static constexpr const char* kFromMemoryText = "Now spell it from memory, then press Check.";
    static constexpr const char* kWellDoneText = "Well done.";
    static constexpr const char* kAgainSuffix = " (again)";
    // A missed word comes back after this many more words asked for the first time.
    static constexpr int32_t kAgainAfter = 3;

    CTestSession();

    // Tests give a fixed clock; the program uses the system's.
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    // Back to Idle for a list of numberOfWords entries, randomise and correct mistakes as
    // the settings say.
    void Reset(int32_t numberOfWords, bool randomize, bool correctMistakes = false);
    // Builds the test list from wordList and asks its first entry; false (and nothing
    // else changed) when the list can't be built or is empty.
    bool Start(const COwnedList<CSpellingList>& wordList, const std::string& listName);
    // Judges the current answer; a wrong first answer of a logged-in learner goes to the
    // head of missedList. During a correction it judges the copy or the spelling from
    // memory instead. Returns whether it was right; nothing happens outside a question
    // (GetLastCheck is then None).
    bool Check(const std::string& userName, COwnedList<CMissed>& missedList);
    // The next word (a second ask when one is due), or the end of the test with its result
    // at the head of gradeList; Ignored unless an answer was just judged or is being corrected.
    NextResult Next(const std::string& userName, COwnedList<CGrade>& gradeList);
    // Ends the running test early; its result goes to the head of gradeList.
    void Stop(const std::string& userName, COwnedList<CGrade>& gradeList);

    // The current word's sound file: the entry's sound folder, "/", the word, ".wav".
    // Empty when no word is asked.
    std::string SoundPath() const;

    // Replaces the test list with copies of wordList, in order or (randomise on)
    // shuffled into slots; false when a shuffled build can't place every entry.
    bool BuildTestList(const COwnedList<CSpellingList>& wordList);
    // Fills the slots of testList (placeholders whose word is empty) with copies of
    // entries, each at a random slot or the next free one after it, wrapping to the
    // first slot at most twice per entry. False when an entry finds no free slot.
    static bool PlaceInSlots(const COwnedList<CSpellingList>& entries, COwnedList<CSpellingList>& testList,
                             const Random& random);
    // The generator used for shuffling: seeded with seed, yields 0 to 32767.
    static Random MakeRandom(uint32_t seed);

    // "%x, %I:%M %p" in the C locale ("12/06/26, 06:02 PM"), whatever locale the
    // user has; "Time Error" when the time can't be formatted.
    static std::string FormatDateStamp(std::time_t time);
    // number correct x 100 / number of words as "%3.2f %%" with a decimal point.
    static std::string FormatScore(int32_t correct, int32_t words);
    // What a screen reader says after a check: the status on one line and, after a
    // wrong answer, the right spelling letter by letter ("f, r, i, e, n, d"; a blank
    // is "space", a capital "capital F").
    static std::string Announcement(const std::string& status, bool right, const std::string& word);

    State GetState() const { return m_state; }
    CheckKind GetLastCheck() const { return m_lastCheck; }
    // The line the last first or second ask adds to the answers list: the answer as typed,
    // followed by " (again)" for a second ask.
    const std::string& GetAnswerLine() const { return m_answerLine; }
    // Is the word being asked a second time?
    bool IsSecondAsk() const { return m_secondAsk; }
    // While the word is spelled from memory nothing on the page may show it.
    bool IsWordHidden() const { return m_state == State::SpellFromMemory; }
    // Every word's first answer in this test so far, in the order asked: what moves the
    // learner's word memory when the test ends or is stopped.
    const std::vector<CWordMemory::Attempt>& GetFirstAttempts() const { return m_firstAttempts; }
    bool GetCorrectMistakes() const { return m_correctMistakes; }
    const std::string& GetCurrentWord() const { return m_currentWord; }
    const CSpellingList* GetCurrentEntry() const { return m_currentEntry; }
    const std::string& GetDateStamp() const { return m_dateStamp; }
    const std::string& GetListName() const { return m_listName; }
    const COwnedList<CSpellingList>& GetTestList() const { return m_testList; }
    int32_t GetNumberCorrect() const { return m_numberCorrect; }
    int32_t GetNumberOfWords() const { return m_numberOfWords; }
    const std::string& GetScoreText() const { return m_scoreText; }
    int32_t GetWordNumber() const { return m_wordNumber; }
    const std::string& GetStatus() const { return m_status; }

    const std::string& GetAnswer() const { return m_answer; }
    void SetAnswer(const std::string& answer) { m_answer = answer; }
    bool GetRandomize() const { return m_randomize; }
    void SetRandomize(bool randomize) { m_randomize = randomize; }

private:
    void AddGrade(const std::string& listName, COwnedList<CGrade>& gradeList) const;
    // The first judgement of an asked word, as the page has always shown it.
    bool JudgeAsked(const std::string& userName, COwnedList<CMissed>& missedList);
    // A correction step's judgement of the copy or the spelling from memory.
    bool JudgeCorrection();
    void Ask(const CSpellingList* entry);

    struct SecondAsk {
        const CSpellingList* entry;
        int32_t afterWordNumber; // asked once the word number has reached this
    };

    Clock m_clock;
    State m_state = State::Idle;
    std::string m_currentWord;
    size_t m_cursor = 0;
    const CSpellingList* m_currentEntry = nullptr;
    std::string m_dateStamp;
    std::string m_listName;
    COwnedList<CSpellingList> m_testList;
    int32_t m_numberCorrect = 0;
    int32_t m_numberOfWords = 0;
    std::string m_scoreText;
    int32_t m_wordNumber = 0;
    std::string m_answer;
    std::string m_status;
    bool m_randomize = false;
    bool m_correctMistakes = false;
    CheckKind m_lastCheck = CheckKind::None;
    std::string m_answerLine;
    // The verdict on the answer being corrected; the copy step's status starts with it.
    std::string m_verdict;
    bool m_secondAsk = false;
    std::deque<SecondAsk> m_secondAsks;
    std::vector<CWordMemory::Attempt> m_firstAttempts;
};
