#pragma once
#include "model/CObject.h"

#include <string>

// One misspelled-word record: one wrong answer.
class CMissed : public CObject {
    KELTO4_DECLARE_SERIAL(CMissed)

    // The four texts in field order.
    void Serialize(CArchive& ar) override;

    void SetListName(const std::string& listName) { m_listName = listName; }
    void SetDate(const std::string& date) { m_date = date; }
    void SetWord(const std::string& word) { m_word = word; }
    void SetMisspelling(const std::string& misspelling) { m_misspelling = misspelling; }

    std::string m_listName;
    std::string m_date;
    std::string m_word;
    std::string m_misspelling;
};
