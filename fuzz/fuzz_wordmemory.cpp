// Any bytes as a learner's word memory (.kt5): reading must refuse them whole or take
// them, never crash; what it took must write back to the very same bytes, and the review
// lists and a test's moves must work on it.
#include "model/CWordMemoryFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CWordMemory memory;
    if (CWordMemoryFile::Decode(bytes, memory) != CWordMemoryFile::ReadResult::ok) {
        if (!memory.empty())
            __builtin_trap();
        return 0;
    }
    if (CWordMemoryFile::Encode(memory) != bytes)
        __builtin_trap();
    const CCalendarDay today(20600);
    const auto due = memory.DueWords(today, CWordMemory::kReviewWords);
    if (due.size() > CWordMemory::kReviewWords || memory.DueCount(today) < due.size())
        __builtin_trap();
    memory.StubbornWords();
    memory.NextDueDay(today);
    std::vector<CWordMemory::Attempt> test;
    for (const CWordMemory::Entry* entry : due)
        test.push_back({entry->word, entry->word.size() % 2 == 0});
    memory.RecordTest(test, today);
    CWordMemory again;
    if (CWordMemoryFile::Decode(CWordMemoryFile::Encode(memory), again) != CWordMemoryFile::ReadResult::ok)
        __builtin_trap();
    return 0;
}
