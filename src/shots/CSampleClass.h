#pragma once
#include "model/CCalendarDay.h"

#include <string>

// A small class with three weeks of practice behind it, as a parent or teacher would see
// it after a while. Sam, the learner the pictures follow, has results of two lists getting
// better, the words missed, a word memory with words due today and two stubborn words;
// four classmates have fewer tests. The user guide's pictures are taken of it.
class CSampleClass {
public:
    static constexpr const char* kName = "Sam";

    // Writes the accounts (no passwords) into the user file of userFolder, and each
    // learner's results, misspelled words and word memory, dated in the weeks before
    // today. False, with the reason in error, when a file can't be written.
    static bool Write(const std::string& userFolder, CCalendarDay today, std::string& error);
};
