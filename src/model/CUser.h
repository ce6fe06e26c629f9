#pragma once
#include "model/CObject.h"

#include <cstdint>
#include <string>

// A user account. Name and password are plain text in memory and scrambled in the user file.
class CUser : public CObject {
    KELTO4_DECLARE_SERIAL(CUser)

    // Stores scrambled copies of name and password; loading unscrambles them.
    void Serialize(CArchive& ar) override;

    // The password to compare a typed one with: a stored single blank means no password.
    std::string EffectivePassword() const { return m_password == " " ? std::string() : m_password; }

    // Every byte moves by this offset, modulo 256; the same for all files and all runs.
    static constexpr uint8_t kScrambleOffset = 0x4B;
    static std::string Scramble(std::string text);
    static std::string Unscramble(std::string text);

    std::string m_name;
    // An empty password is kept as a single blank.
    std::string m_password;
};
