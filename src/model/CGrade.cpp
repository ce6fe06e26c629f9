#include "model/CGrade.h"

#include "model/CArchive.h"

KELTO4_IMPLEMENT_SERIAL(CGrade, 0)

void CGrade::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_correct << m_words << m_date << m_listName;
    else
        ar >> m_correct >> m_words >> m_date >> m_listName;
}
