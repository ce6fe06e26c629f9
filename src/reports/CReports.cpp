#include "reports/CReports.h"

namespace {
const CFormControl kTemplate[] = {
    {CFormControl::CenterLabel, 0, "Reports Page", 7, 7, 306, 11},
    {CFormControl::HLine, 0, nullptr, 8, 18, 306, 1},
};
}

CReports::CReports(CKelto4Doc* document, QWidget* parent)
    : CFormView(document, parent)
{
    BuildForm(kTemplate, int(std::size(kTemplate)), 320, 200);
}

void CReports::OnInitialUpdate()
{
    OnUpdate(nullptr, 0);
}

void CReports::OnUpdate(CDocView*, long)
{
}
