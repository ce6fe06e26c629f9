#pragma once
#include "model/CObject.h"

#include <cstdint>
#include <string>

// One result record: one test taken.
class CGrade : public CObject {
    KELTO4_DECLARE_SERIAL(CGrade)

    // The two numbers come first in the file, then the date, then the list name.
    void Serialize(CArchive& ar) override;

    void SetListName(const std::string& listName) { m_listName = listName; }
    void SetDate(const std::string& date) { m_date = date; }
    void SetCorrect(int32_t correct) { m_correct = correct; }
    void SetWords(int32_t words) { m_words = words; }

    // The grade in per cent, in single precision as it has always been worked out;
    // words must not be 0.
    static float Percent(int32_t correct, int32_t words)
    {
        return static_cast<float>(correct) / static_cast<float>(words) * 100.0f;
    }

    // Ends the list name of a result whose test was stopped before its last word.
    static constexpr const char* kStoppedSuffix = "--Stopped Test";

    std::string m_listName;
    std::string m_date;
    int32_t m_correct = 0;
    int32_t m_words = 0;
};
