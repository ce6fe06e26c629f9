#pragma once
#include "model/CObject.h"

#include <string>

// One entry of a spelling list: one word with the folder that holds its sound.
class CSpellingList : public CObject {
    KELTO4_DECLARE_SERIAL(CSpellingList)

    // Stores or loads author, sound folder and word, in that order.
    void Serialize(CArchive& ar) override;

    // Whoever was logged in when the list was last saved from the words page.
    std::string m_author;
    std::string m_soundFolder;
    std::string m_word;
};
