#include "model/CWordMemory.h"

#include "model/Cp1252.h"

#include <algorithm>
#include <unordered_set>

namespace {
bool ReviewsBefore(const CWordMemory::Entry* a, const CWordMemory::Entry* b)
{
    if (a->due != b->due)
        return a->due < b->due;
    if (a->box != b->box)
        return a->box < b->box;
    return CWordMemory::AlphabeticallyBefore(a->word, b->word);
}

uint32_t CountUp(uint32_t count)
{
    return count == std::numeric_limits<uint32_t>::max() ? count : count + 1;
}
}

int32_t CWordMemory::IntervalDays(int box)
{
    return int32_t(1) << (std::clamp(box, 1, kBoxes) - 1);
}

bool CWordMemory::AlphabeticallyBefore(std::string_view a, std::string_view b)
{
    const int order = Cp1252CompareIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;
}

void CWordMemory::RecordTest(const std::vector<Attempt>& firstAttempts, CCalendarDay today)
{
    std::unordered_set<std::string_view> seen;
    for (const Attempt& attempt : firstAttempts) {
        if (attempt.word.empty() || attempt.word.size() > kMaxWordBytes || !seen.insert(attempt.word).second)
            continue;
        bool added = false;
        Entry& entry = *FindOrAdd(attempt.word, added);
        // Only the first attempt of the day moves a word: a list taken again at once
        // must not climb the boxes in one sitting.
        const bool moves = added || entry.lastAsked != today;
        entry.asked = CountUp(entry.asked);
        if (!attempt.right)
            entry.missed = CountUp(entry.missed);
        entry.lastAsked = today;
        if (!moves)
            continue;
        entry.box = attempt.right ? std::min(entry.box + 1, kBoxes) : 1;
        entry.highestBox = std::max(entry.highestBox, entry.box);
        entry.due = today.AddDays(IntervalDays(entry.box));
    }
}

std::vector<const CWordMemory::Entry*> CWordMemory::DueWords(CCalendarDay today, std::size_t maxWords) const
{
    std::vector<const Entry*> due;
    for (const Entry& entry : m_entries)
        if (entry.due <= today)
            due.push_back(&entry);
    if (maxWords < due.size()) {
        std::partial_sort(due.begin(), due.begin() + std::ptrdiff_t(maxWords), due.end(), ReviewsBefore);
        due.resize(maxWords);
    } else {
        std::sort(due.begin(), due.end(), ReviewsBefore);
    }
    return due;
}

std::size_t CWordMemory::DueCount(CCalendarDay today) const
{
    return std::size_t(std::count_if(m_entries.begin(), m_entries.end(),
                                     [today](const Entry& entry) { return entry.due <= today; }));
}

std::optional<CCalendarDay> CWordMemory::NextDueDay(CCalendarDay today) const
{
    std::optional<CCalendarDay> next;
    for (const Entry& entry : m_entries)
        if (entry.due > today && (!next || entry.due < *next))
            next = entry.due;
    return next;
}

bool CWordMemory::IsStubborn(const Entry& entry)
{
    return entry.missed >= kStubbornMisses && entry.highestBox < kLearnedBox;
}

std::vector<const CWordMemory::Entry*> CWordMemory::StubbornWords() const
{
    std::vector<const Entry*> words;
    for (const Entry& entry : m_entries)
        if (IsStubborn(entry))
            words.push_back(&entry);
    std::sort(words.begin(), words.end(), [](const Entry* a, const Entry* b) {
        return a->missed != b->missed ? a->missed > b->missed : AlphabeticallyBefore(a->word, b->word);
    });
    return words;
}

const CWordMemory::Entry* CWordMemory::Find(std::string_view word) const
{
    const auto it = m_index.find(std::string(word));
    return it == m_index.end() ? nullptr : &m_entries[it->second];
}

void CWordMemory::clear()
{
    m_entries.clear();
    m_index.clear();
}

bool CWordMemory::IsValid(const Entry& entry)
{
    return !entry.word.empty() && entry.word.size() <= kMaxWordBytes && entry.box >= 1 && entry.box <= kBoxes && entry.highestBox >= entry.box &&
        entry.highestBox <= kBoxes && entry.missed <= entry.asked;
}

bool CWordMemory::Add(Entry entry)
{
    if (!IsValid(entry) || m_index.count(entry.word) != 0)
        return false;
    m_index.emplace(entry.word, m_entries.size());
    m_entries.push_back(std::move(entry));
    return true;
}

CWordMemory::Entry* CWordMemory::FindOrAdd(const std::string& word, bool& added)
{
    const auto [it, isNew] = m_index.try_emplace(word, m_entries.size());
    added = isNew;
    if (isNew) {
        Entry entry;
        entry.word = word;
        m_entries.push_back(std::move(entry));
    }
    return &m_entries[it->second];
}
