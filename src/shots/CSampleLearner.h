#pragma once
#include "model/CCalendarDay.h"

#include <string>

// A learner with three weeks of practice behind them, as a parent would see it after a
// while: results of two lists getting better, the words missed, a word memory with words
// due today and two stubborn words. The user guide's pictures are taken of it.
class CSampleLearner {
public:
    static constexpr const char* kName = "Sam";

    // Writes the account (no password) into the user file of userFolder, and the learner's
    // results, misspelled words and word memory, dated in the weeks before today. False,
    // with the reason in error, when a file can't be written.
    static bool Write(const std::string& userFolder, CCalendarDay today, std::string& error);
};
