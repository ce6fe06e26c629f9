#include "model/CMissed.h"

#include "model/CArchive.h"

KELTO4_IMPLEMENT_SERIAL(CMissed, 0)

void CMissed::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_listName << m_date << m_word << m_misspelling;
    else
        ar >> m_listName >> m_date >> m_word >> m_misspelling;
}
