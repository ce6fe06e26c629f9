#include "words/CMicDlg.h"

#include "platform/CControlIds.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

CMicDlg::CMicDlg(QWidget* parent, CMicDlg** ownerSlot)
    : CFormDialog(parent)
    , m_ownerSlot(ownerSlot)
{
    setWindowTitle(QStringLiteral("Mic. Settings"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    CFormBuilder& c = Controls();
    QLabel* status = c.Label("");
    SetControlId(status, IDC_STATUS);
    QLabel* dashes = c.Label("-----------------------------");
    QSlider* slider = c.Slider(IDC_SLIDER);
    QLabel* volume = c.Label("Recording Volume", slider);
    QLabel* minus = c.Label("-");
    QLabel* plus = c.Label("+");
    QLabel* note = c.Label("This window can be left open.");
    QPushButton* close = c.Button(1, "Close");
    SetDefaultButton(IDOK);
    CFormBuilder::SetMnemonic(slider, QLatin1Char('R'));
    for (QLabel* label : {status, dashes, volume, note}) {
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(false);
    }
    slider->setMinimumWidth(fontMetrics().averageCharWidth() * 24);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(minus);
    sliderRow->addWidget(slider, 1);
    sliderRow->addWidget(plus);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status);
    layout->addWidget(dashes);
    layout->addWidget(volume);
    layout->addLayout(sliderRow);
    layout->addWidget(note);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    // Only letting go of the slider with the mouse writes the volume: after dragging
    // the handle and after a click on the track alike (the keyboard writes nothing).
    Slider()->installEventFilter(this);
    OnInitDialog();
}

CMicDlg::~CMicDlg()
{
    if (m_ownerSlot && *m_ownerSlot == this)
        *m_ownerSlot = nullptr;
}

bool CMicDlg::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    if ((press || event->type() == QEvent::MouseButtonRelease)
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && watched == Slider()) {
        // The slider has already moved, by the drag or by the click on the track.
        if (!press && m_sliderPressed)
            m_mixer.SetMicVolume(uint32_t(Slider()->value()));
        m_sliderPressed = press;
    }
    return CFormDialog::eventFilter(watched, event);
}

QSlider* CMicDlg::Slider() const
{
    return FindControl<QSlider>(this, IDC_SLIDER);
}

bool CMicDlg::OnInitDialog()
{
    if (m_mixer.IsMicrophoneSelected() || m_mixer.SelectMicrophone()) {
        m_status = "Selected";
        // A volume above normal is shown as it is, so that a click that moves nothing
        // does not lower it.
        const uint32_t volume = m_mixer.GetMicVolume();
        const uint32_t minimum = m_mixer.GetVolumeMinimum();
        const uint32_t maximum = std::max(m_mixer.GetVolumeMaximum(), volume);
        Slider()->setRange(int(minimum), int(maximum));
        // A click on the track moves the volume by a step that can be seen.
        Slider()->setPageStep(std::max(1, int((m_mixer.GetVolumeMaximum() - minimum) / 10)));
        Slider()->setValue(int(volume));
        Slider()->setEnabled(true);
    } else {
        m_status = "Couldn't Access";
        Slider()->setEnabled(false);
    }
    SetDlgItemText(IDC_STATUS, m_status);
    return true;
}
