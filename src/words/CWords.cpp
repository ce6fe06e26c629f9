#include "words/CWords.h"

namespace {
const CFormControl kTemplate[] = {
    {CFormControl::CenterLabel, 0, "Words Page", 7, 7, 306, 11},
    {CFormControl::HLine, 0, nullptr, 8, 18, 306, 1},
};
}

CWords::CWords(CKelto4Doc* document, QWidget* parent)
    : CFormView(document, parent)
{
    BuildForm(kTemplate, int(std::size(kTemplate)), 320, 200);
}

void CWords::OnInitialUpdate()
{
    OnUpdate(nullptr, 0);
}

void CWords::OnUpdate(CDocView*, long)
{
}
