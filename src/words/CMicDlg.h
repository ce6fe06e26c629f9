#pragma once
#include "platform/CFormDialog.h"
#include "sound/CMixer.h"

class QSlider;

// "Mic. Settings": makes the microphone the recording source and sets its volume.
// Modeless; it deletes itself when closed and then clears the owner's pointer to it.
class CMicDlg : public CFormDialog {
    Q_OBJECT
public:
    enum ControlId : int { IDC_SLIDER = 1042, IDC_STATUS = 1043 };
    CMicDlg(QWidget* parent, CMicDlg** ownerSlot);
    ~CMicDlg() override;

    CMixer& Mixer() { return m_mixer; }
    const std::string& Status() const { return m_status; }

protected:
    bool OnInitDialog() override;
    // Letting go of the slider with the mouse, after a drag or a click on its track.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Ending the dialog closes it, and a closed dialog deletes itself.
    void OnOK() override { EndDialog(IDOK); }
    void OnCancel() override { EndDialog(IDCANCEL); }

private:
    QSlider* Slider() const;

    CMicDlg** m_ownerSlot;
    CMixer m_mixer;
    bool m_sliderPressed = false;
    std::string m_status;
};
