#include "words/CMicDlg.h"

#include "platform/CControlIds.h"

#include <QSlider>

namespace {
const CFormControl kTemplate[] = {
    {CFormControl::CenterLabel, CMicDlg::IDC_STATUS, "", 10, 8, 130, 12},
    {CFormControl::CenterLabel, 0, "-----------------------------", 10, 22, 130, 8},
    {CFormControl::CenterLabel, 0, "Recording Volume", 10, 34, 130, 10},
    {CFormControl::Label, 0, "-", 10, 48, 8, 10},
    {CFormControl::Slider, CMicDlg::IDC_SLIDER, nullptr, 20, 46, 110, 14},
    {CFormControl::Label, 0, "+", 134, 48, 8, 10},
    {CFormControl::CenterLabel, 0, "This window can be left open.", 10, 66, 130, 10},
    {CFormControl::Button, 1, "Close", 50, 80, 50, 14},
};
}

CMicDlg::CMicDlg(QWidget* parent, CMicDlg** ownerSlot)
    : CFormDialog(parent)
    , m_ownerSlot(ownerSlot)
{
    setWindowTitle(QStringLiteral("Mic. Settings"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    BuildForm(kTemplate, int(std::size(kTemplate)), 150, 100);
    // Only letting go of the slider with the mouse writes the volume.
    connect(Slider(), &QSlider::sliderReleased, this, [this] { m_mixer.SetMicVolume(uint32_t(Slider()->value())); });
    OnInitDialog();
}

CMicDlg::~CMicDlg()
{
    if (m_ownerSlot && *m_ownerSlot == this)
        *m_ownerSlot = nullptr;
}

QSlider* CMicDlg::Slider() const
{
    return FindControl<QSlider>(this, IDC_SLIDER);
}

bool CMicDlg::OnInitDialog()
{
    if (m_mixer.IsMicrophoneSelected() || m_mixer.SelectMicrophone()) {
        m_status = "Selected";
        Slider()->setRange(int(m_mixer.GetVolumeMinimum()), int(m_mixer.GetVolumeMaximum()));
        Slider()->setValue(int(m_mixer.GetMicVolume()));
        Slider()->setEnabled(true);
    } else {
        m_status = "Couldn't Access";
        Slider()->setEnabled(false);
    }
    SetDlgItemText(IDC_STATUS, m_status);
    return true;
}
