#include "model/CUser.h"

#include "model/CArchive.h"

#include <utility>

KELTO4_IMPLEMENT_SERIAL(CUser, 0)

std::string CUser::Scramble(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(static_cast<uint8_t>(static_cast<uint8_t>(c) + kScrambleOffset));
    return text;
}

std::string CUser::Unscramble(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(static_cast<uint8_t>(static_cast<uint8_t>(c) - kScrambleOffset));
    return text;
}

void CUser::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << Scramble(m_name) << Scramble(m_password);
    } else {
        ar >> m_name >> m_password;
        m_name = Unscramble(std::move(m_name));
        m_password = Unscramble(std::move(m_password));
    }
}
