#include "model/CSpellingList.h"

#include "model/CArchive.h"

KELTO4_IMPLEMENT_SERIAL(CSpellingList, 0)

void CSpellingList::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_author << m_soundFolder << m_word;
    else
        ar >> m_author >> m_soundFolder >> m_word;
}
