#pragma once
#include "model/CCalendarDay.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// What one learner's reviews remember of every word they were ever asked: the word's box
// (1 to 5), the day it comes back, and how often its first attempt was right. Each test
// moves the words it asked: a right first attempt one box up, a wrong one back to box 1.
// Words are Windows-1252 text and are told apart exactly, letter case included.
class CWordMemory {
public:
    static constexpr int kBoxes = 5;
    // Today's Review asks at most this many words.
    static constexpr std::size_t kReviewWords = 20;
    // A word missed this often that never reached kLearnedBox needs another way of teaching.
    static constexpr uint32_t kStubbornMisses = 4;
    static constexpr int kLearnedBox = 3;
    // Longer "words" (a pasted text) are not remembered.
    static constexpr std::size_t kMaxWordBytes = 1000;

    struct Entry {
        std::string word; // never empty
        int box = 1;      // 1 to kBoxes
        int highestBox = 1; // the highest box the word ever reached: box to kBoxes
        CCalendarDay due;   // the day the word comes back
        uint32_t asked = 0;  // first attempts at the word, one per test
        uint32_t missed = 0; // the wrong ones among them, at most asked
        CCalendarDay lastAsked;
    };
    // The first answer to a word in one test.
    struct Attempt {
        std::string word;
        bool right = false;
    };

    // Days until a word in box comes back: 1, 2, 4, 8, 16 for boxes 1 to 5.
    static int32_t IntervalDays(int box);

    // Moves the words of one test, finished or stopped, by their first attempts in it:
    // right one box up (at most 5), wrong to box 1, each due again after its box's
    // interval. A word new to the memory comes from box 1. A word already asked on today
    // moves no more that day, but its counts still grow. A word that comes twice in the
    // list counts once, by its first attempt; empty words and words longer than
    // kMaxWordBytes are left out.
    void RecordTest(const std::vector<Attempt>& firstAttempts, CCalendarDay today);

    // The words due on today or earlier in the order a review asks them: the most overdue
    // first, then the lowest box, then alphabetically. At most maxWords.
    std::vector<const Entry*> DueWords(CCalendarDay today,
                                       std::size_t maxWords = std::numeric_limits<std::size_t>::max()) const;
    std::size_t DueCount(CCalendarDay today) const;
    // The first day after today on which a word comes back; nothing when none is waiting.
    std::optional<CCalendarDay> NextDueDay(CCalendarDay today) const;
    // Words missed at least kStubbornMisses times that never reached kLearnedBox: the
    // most missed first, then alphabetically.
    std::vector<const Entry*> StubbornWords() const;
    static bool IsStubborn(const Entry& entry);

    // The order of words in every list this class gives: letters compared without regard to
    // case (Windows-1252 letters too), then byte by byte so that no two words tie.
    static bool AlphabeticallyBefore(std::string_view a, std::string_view b);

    const Entry* Find(std::string_view word) const;
    const std::vector<Entry>& Entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    void clear();
    // Adds a word read from a file. False (and nothing added) when its word is empty or
    // already known, or a field is out of range.
    bool Add(Entry entry);
    static bool IsValid(const Entry& entry);

private:
    Entry* FindOrAdd(const std::string& word, bool& added);

    std::vector<Entry> m_entries;
    std::unordered_map<std::string, std::size_t> m_index;
};
