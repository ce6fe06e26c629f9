#include "reports/CLearnerProgressDlg.h"

#include "model/CPath.h"
#include "model/CWordMemory.h"
#include "model/CWordMemoryFile.h"
#include "model/KMessage.h"
#include "platform/CQtText.h"
#include "reports/CClassStats.h"
#include "reports/CProgressView.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

CLearnerProgressDlg::CLearnerProgressDlg(const std::string& folder, const std::string& learner,
                                         CSoundComparison* sounds, QWidget* parent)
    : QDialog(parent)
    , m_folder(folder)
    , m_learner(learner)
    , m_sounds(sounds)
    , m_view(new CProgressView)
{
    setWindowTitle(QStringLiteral("Progress -- ") + ToQt(learner));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addWidget(buttons);
    // Room for the charts with their labels, but never more than the screen holds.
    const int line = fontMetrics().height();
    QSize size(48 * line, 40 * line);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size);
}

bool CLearnerProgressDlg::Load()
{
    COwnedList<CGrade> grades;
    COwnedList<CMissed> missed;
    CClassStats::Problem problem;
    if (!CClassStats::LoadRecords(m_folder, m_learner, grades, missed, problem)) {
        ShowMessage(problem.text, MsgIcon::Exclamation);
        return false;
    }
    // The stubborn words come from the learner's word memory, as on the learner's own page;
    // without a readable one the charts are shown without them.
    CWordMemory memory;
    const bool remembered = CWordMemoryFile::Read(CPath::ToNative(CWordMemoryFile::Path(m_folder, m_learner)), memory,
                                                  nullptr) == CWordMemoryFile::ReadResult::ok;
    m_stats.Compute(grades, missed, m_sounds, remembered ? &memory : nullptr);
    m_view->ShowStats(m_stats);
    return true;
}

void CLearnerProgressDlg::Show(const std::string& folder, const std::string& learner, CSoundComparison* sounds,
                               QWidget* parent)
{
    CLearnerProgressDlg dialog(folder, learner, sounds, parent);
    if (dialog.Load())
        dialog.exec();
}
