#include "reports/CReports.h"

#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"
#include "model/KMessage.h"
#include "platform/CControlIds.h"
#include "platform/CDialogService.h"
#include "platform/CFeedbackPanel.h"
#include "platform/CommandIds.h"
#include "platform/CQtText.h"
#include "platform/CTableView.h"
#include "reports/CClassPrinter.h"
#include "reports/CClassStats.h"
#include "reports/CClassUnlockDlg.h"
#include "reports/CClassView.h"
#include "reports/CLearnerProgressDlg.h"
#include "reports/CProgressPrinter.h"
#include "reports/CProgressView.h"
#include "reports/CReportExport.h"
#include "reports/CReportModel.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

static void initReportResources()
{
    Q_INIT_RESOURCE(kelto4reports);
}

namespace {
enum : int {
    IDC_GRADES = 1000,
    IDC_MISSED = 1001,
    IDC_LIST = 1033,
    IDC_DELETE_ALL = 1037,
    IDC_DELETE_SELECTION = 1038,
    IDC_PRINT = 1039,
    IDC_PROGRESS = 1002,
    IDC_CLASS = 1003,
    IDC_EXPORT = 1050,
    IDC_PROGRESS_VIEW = 1051,
    IDC_CLASS_VIEW = 1052,
    IDC_PRACTISE = 1061,
};

// Auto-sizing looks only at the widest few rows: a long history costs one pass of
// additions per column, not a layout of every row.
constexpr std::size_t kMeasuredRows = 8;
}

CReports::CReports(CKelto4Doc* document, QWidget* parent)
    : CFormView(document, parent)
    , m_model(nullptr)
    , m_listView(new CTableView(this))
    , m_progressView(new CProgressView(this))
    , m_classView(new CClassView(this))
    , m_feedback(new CFeedbackPanel)
{
    initReportResources();
    // Made in reading order, which Tab follows: the choice of view, what it shows,
    // then the commands for the rows.
    CFormBuilder& c = Controls();
    QLabel* title = c.Title("Reports Page");
    QFrame* rule = c.Rule();
    QRadioButton* grades = c.Radio(IDC_GRADES, "Grades");
    QRadioButton* missed = c.Radio(IDC_MISSED, "Misspelled Words");
    QRadioButton* progress = c.Radio(IDC_PROGRESS, "Progress");
    QRadioButton* classRadio = c.Radio(IDC_CLASS, "Class");
    QPushButton* print = c.Button(IDC_PRINT, "Print");
    QPushButton* exportButton = c.Button(IDC_EXPORT, "Export...");
    c.Own(m_listView, IDC_LIST);
    c.Own(m_progressView, IDC_PROGRESS_VIEW);
    c.Own(m_classView, IDC_CLASS_VIEW);
    c.Own(m_feedback, CFeedbackPanel::kControlId);
    QPushButton* deleteSelection = c.Button(IDC_DELETE_SELECTION, "Delete Selection");
    QPushButton* deleteAll = c.Button(IDC_DELETE_ALL, "Delete All");
    QPushButton* save = c.Button(1, "Save Changes");
    QPushButton* cancel = c.Button(2, "Cancel");
    QPushButton* practise = c.Button(IDC_PRACTISE, "Practise Missed Words");
    SetDefaultButton(1);
    const std::pair<QWidget*, char> mnemonics[] = {
        {grades, 'G'}, {missed, 'M'}, {progress, 'R'}, {classRadio, 'L'}, {exportButton, 'E'}, {deleteSelection, 'D'},
        {deleteAll, 'A'}, {save, 'S'}, {print, 'P'}, {cancel, 'C'}, {practise, 'W'}};
    for (const auto& [control, letter] : mnemonics)
        CFormBuilder::SetMnemonic(control, QLatin1Char(letter));

    auto* views = new QHBoxLayout;
    for (QRadioButton* radio : {grades, missed, progress, classRadio})
        views->addWidget(radio);
    views->addStretch();
    // Print and Export both put out the view shown, so they stand with its choice.
    views->addWidget(print);
    views->addWidget(exportButton);
    // The buttons that change the rows in one row; practice, which leaves the page, apart.
    auto* commands = new QHBoxLayout;
    for (QPushButton* button : {deleteSelection, deleteAll, save, cancel})
        commands->addWidget(button);
    commands->addStretch();
    commands->addWidget(practise);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(rule);
    layout->addLayout(views);
    // The table or the charts take the room; the feedback keeps its own height.
    layout->addWidget(m_listView, 1);
    layout->addWidget(m_progressView, 1);
    layout->addWidget(m_classView, 1);
    layout->addWidget(m_feedback);
    layout->addLayout(commands);

    m_model = new CReportModel(m_rows, this);
    m_listView->setModel(m_model);
    m_listView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listView->setShowGrid(false);
    m_listView->verticalHeader()->hide();
    m_listView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_listView->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 4);
    m_listView->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_listView->horizontalHeader()->setStretchLastSection(false);
    m_listView->setIconSize(QSize(16, 16));
    m_listView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the next control; the arrow keys move within it.
    m_listView->setTabKeyNavigation(false);
    m_progressView->hide();
    m_classView->hide();
    connect(m_classView, &CClassView::learnerActivated, this, &CReports::OnShowLearnerProgress);
    connect(m_listView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CReports::ShowSelectedFeedback);
    connect(m_listView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CReports::ShowSelectedFeedback);
    // A refill clears the selection without a signal of its own.
    connect(m_model, &QAbstractItemModel::modelReset, this, &CReports::ShowSelectedFeedback);
}

CReports::~CReports() = default;

void CReports::OnInitialUpdate()
{
    OnUpdate(nullptr, 0);
    m_listView->setSelectionBehavior(QAbstractItemView::SelectRows);
    CreateImageLists();
    m_rows.Update();
    m_model->Reload();
    ShowNewColumns();
}

void CReports::CreateImageLists()
{
    if (m_imageListsCreated)
        return;
    QIcon even(QStringLiteral(":/reports/row0_16.png"));
    even.addFile(QStringLiteral(":/reports/row0_32.png"));
    QIcon odd(QStringLiteral(":/reports/row1_16.png"));
    odd.addFile(QStringLiteral(":/reports/row1_32.png"));
    m_model->SetRowImages(even, odd);
    m_imageListsCreated = true;
}

void CReports::OnUpdate(CDocView*, long)
{
    CKelto4Doc* doc = GetDocument();
    m_feedback->SetReadingStyle(doc->GetApp().GetReadingStyle());
    m_rows.Attach(doc->m_gradeList, doc->m_missedList, doc->m_recordsChanged);
    m_rows.Update();
    m_radio = 0;
    m_model->Reload();
    ShowNewColumns();
    ShowViewMode();
    UpdateData();
}

void CReports::UpdateData()
{
    if (auto* grades = FindControl<QRadioButton>(this, IDC_GRADES))
        grades->setChecked(m_radio == 0);
    if (auto* missed = FindControl<QRadioButton>(this, IDC_MISSED))
        missed->setChecked(m_radio == 1);
    if (auto* progress = FindControl<QRadioButton>(this, IDC_PROGRESS))
        progress->setChecked(m_radio == 2);
    if (auto* classRadio = FindControl<QRadioButton>(this, IDC_CLASS))
        classRadio->setChecked(m_radio == 3);
}

void CReports::ShowViewMode()
{
    const bool rows = m_rows.ShowsRows();
    m_listView->setVisible(rows);
    m_progressView->setVisible(m_rows.GetViewMode() == CReportRows::Progress);
    m_classView->setVisible(m_rows.GetViewMode() == CReportRows::Class);
    // The charts and the class have no rows to delete.
    EnableDlgItem(IDC_DELETE_SELECTION, rows);
    EnableDlgItem(IDC_DELETE_ALL, rows);
    ShowSelectedFeedback();
}

void CReports::OnCommand(int id)
{
    switch (id) {
    case IDC_GRADES: OnGrades(); break;
    case IDC_MISSED: OnMisspelled(); break;
    case IDC_DELETE_SELECTION: OnDeleteSelection(); break;
    case IDC_DELETE_ALL: OnDeleteAll(); break;
    case 1: OnSaveChanges(); break;
    case IDC_PRINT: OnPrintButton(); break;
    case IDC_PROGRESS: OnProgress(); break;
    case IDC_CLASS: OnClass(); break;
    case IDC_EXPORT: OnExport(); break;
    case IDC_PRACTISE: OnPractiseMissedWords(); break;
    default: break; // Cancel is bound to nothing.
    }
}

void CReports::OnGrades()
{
    if (m_rows.ShowGrades()) {
        m_model->Reload();
        ShowNewColumns();
    }
    m_radio = 0;
    ShowViewMode();
    UpdateData();
}

void CReports::OnMisspelled()
{
    if (m_rows.ShowMisspelled()) {
        m_model->Reload();
        ShowNewColumns();
    }
    m_radio = 1;
    ShowViewMode();
    UpdateData();
}

void CReports::OnProgress()
{
    // Switching commits the deletions of the list shown, so the charts count what is kept.
    if (m_rows.ShowProgress()) {
        m_model->Reload();
        CKelto4Doc* doc = GetDocument();
        m_progress.Compute(doc->m_gradeList, doc->m_missedList, &doc->GetSoundComparison(), &doc->m_memory);
        m_progressView->ShowStats(m_progress);
    }
    m_radio = 2;
    ShowViewMode();
    UpdateData();
}

void CReports::OnClass()
{
    if (m_rows.GetViewMode() != CReportRows::Class) {
        const std::string folder = GetDocument()->GetApp().m_userFolder;
        // The class's results are for the teacher: the radio goes back when the password isn't given.
        if (!CClassUnlockDlg::Unlock(folder, this)) {
            UpdateData();
            return;
        }
        m_rows.ShowClass();
        m_model->Reload();
        m_classView->ShowFolder(folder, GetDocument()->Today(), &GetDocument()->GetSoundComparison());
    }
    m_radio = 3;
    ShowViewMode();
    UpdateData();
}

void CReports::hideEvent(QHideEvent* event)
{
    // The class's results are for the teacher: leaving the page locks them again.
    if (m_rows.GetViewMode() == CReportRows::Class)
        OnGrades();
    CFormView::hideEvent(event);
}

void CReports::OnShowLearnerProgress(const QString& learner)
{
    CLearnerProgressDlg::Show(m_classView->Stats().GetFolder(), FromQt(learner), &GetDocument()->GetSoundComparison(),
                              this);
}

std::string CReports::ClassTitle() const
{
    // The user folder's own name stands for the class.
    std::string folder = m_classView->Stats().GetFolder();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return "Class -- " + folder.substr(folder.rfind('/') == std::string::npos ? 0 : folder.rfind('/') + 1);
}

void CReports::OnDeleteSelection()
{
    std::vector<std::size_t> selected;
    for (const QModelIndex& index : m_listView->selectionModel()->selectedRows())
        selected.push_back(std::size_t(index.row()));
    if (m_rows.DeleteSelection(std::move(selected)))
        ShowRemainingRows();
}

void CReports::OnDeleteAll()
{
    m_rows.DeleteAll();
    ShowRemainingRows();
}

void CReports::OnSaveChanges()
{
    m_rows.Commit();
}

void CReports::ShowRemainingRows()
{
    std::vector<int> widths;
    for (int c = 0; c < m_model->columnCount(); ++c)
        widths.push_back(m_listView->columnWidth(c));
    m_model->Reload();
    for (int c = 0; c < int(widths.size()); ++c)
        m_listView->setColumnWidth(c, widths[std::size_t(c)]);
    ApplyHiddenColumns();
}

void CReports::ShowNewColumns()
{
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_listView->setColumnWidth(c, AutoSizeWidth(c));
    ApplyHiddenColumns();
}

void CReports::ApplyHiddenColumns()
{
    const bool missed = m_rows.GetViewMode() == CReportRows::Misspelled;
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_listView->setColumnHidden(c, missed && c < 2);
    // A screen reader names the table after the view it shows.
    m_listView->setAccessibleName(missed ? QStringLiteral("Misspelled Words") : QStringLiteral("Grades"));
}

int CReports::AutoSizeWidth(int column) const
{
    const QFontMetrics fm(m_listView->font());
    const QFontMetrics headerFm(m_listView->horizontalHeader()->font());
    const int padding = 16;
    int widest = headerFm.horizontalAdvance(m_model->headerData(column, Qt::Horizontal).toString()) + padding;
    for (int row : m_model->WidestRows(column, m_listView->font(), kMeasuredRows)) {
        const QString text = m_model->data(m_model->index(row, column)).toString();
        const int iconWidth = column == 0 ? m_listView->iconSize().width() + 6 : 0;
        widest = std::max(widest, fm.horizontalAdvance(text) + padding + iconWidth);
    }
    return widest;
}

void CReports::OnExport()
{
    const CReportRows::ViewMode mode = m_rows.GetViewMode();
    const bool progress = mode == CReportRows::Progress;
    const bool isClass = mode == CReportRows::Class;
    if (isClass ? !m_classView->Stats().HasLearners() : progress ? !m_progress.HasRecords() : m_rows.GetCount() == 0) {
        ShowMessage("No data.", MsgIcon::Exclamation);
        return;
    }
    const char* const names[] = {" - Grades.csv", " - Misspelled Words.csv", " - Progress.csv", ".csv"};
    // The suggested name stays one file name, whatever the user's name holds.
    QString suggested = ToQt((isClass ? ClassTitle() : GetDocument()->m_userName) + names[int(mode)]);
    suggested.replace(QLatin1Char('/'), QLatin1Char('_'));
    const std::optional<QString> chosen =
        CDialogService::GetSaveFileName(this, QStringLiteral("Export"),
                                        QStringLiteral("CSV files (*.csv);;All files (*)"), QStringLiteral("csv"), suggested);
    if (!chosen)
        return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    if (isClass)
        m_classView->FinishSounds();
    const std::string bytes = isClass    ? CReportExport::FromClass(m_classView->Stats())
                              : progress ? CReportExport::FromProgress(m_progress)
                                         : CReportExport::FromRows(m_rows, GetDocument()->GetSoundComparison());
    std::string why;
    if (!CReportExport::Save(PathFromQt(path), bytes, why))
        ShowMessage(why, MsgIcon::Exclamation);
}

void CReports::OnPrintButton()
{
    const CKelto4Doc* doc = GetDocument();
    const CReportRows::ViewMode mode = m_rows.GetViewMode();
    const bool empty = mode == CReportRows::Class      ? !m_classView->Stats().HasLearners()
                       : mode == CReportRows::Progress ? !m_progress.HasRecords()
                       : mode == CReportRows::Grades   ? doc->m_gradeList.empty()
                                                       : doc->m_missedList.empty();
    if (empty) {
        ShowMessage("No data.", MsgIcon::Exclamation);
        return;
    }
    m_printer.ChooseFont(this);
    QMetaObject::invokeMethod(this, &CReports::OnFilePrintPreview, Qt::QueuedConnection);
}

// The main window makes the list, since it owns File New's question about unsaved changes.
void CReports::OnPractiseMissedWords()
{
    GetDocument()->PostCommand(ID_PRACTISE_MISSED_WORDS);
}

void CReports::ShowSelectedFeedback()
{
    const QItemSelectionModel* selection = m_listView->selectionModel();
    int row = -1;
    if (m_rows.GetViewMode() == CReportRows::Misspelled && selection) {
        const QModelIndex current = selection->currentIndex();
        if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
            row = current.row();
        else if (const QModelIndexList rows = selection->selectedRows(); !rows.isEmpty())
            row = rows.front().row();
    }
    if (row < 0 || std::size_t(row) >= m_rows.GetCount()) {
        m_feedback->Clear();
        return;
    }
    const std::string& word = m_rows.GetText(std::size_t(row), 2);
    const std::string& misspelling = m_rows.GetText(std::size_t(row), 3);
    m_feedback->ShowFeedback(word, misspelling, GetDocument()->GetSoundComparison().Compare(word, misspelling));
}

bool CReports::PrintReport(QPrinter* printer)
{
    if (m_rows.GetViewMode() == CReportRows::Class) {
        m_classView->FinishSounds();
        return CClassPrinter::Print(*printer, m_classView->Stats(), ClassTitle(), m_printer);
    }
    if (m_rows.GetViewMode() == CReportRows::Progress)
        return CProgressPrinter::Print(*printer, m_progress, GetDocument()->m_userName, m_printer);
    return m_printer.Print(*printer, *GetDocument(), int(m_rows.GetViewMode()));
}

void CReports::OnFilePrint()
{
    std::unique_ptr<QPrinter> printer = CReportPrinter::CreateDefaultPrinter();
    // The progress charts always fit on one page.
    const CReportRows::ViewMode mode = m_rows.GetViewMode();
    // The printout counts its pages with every figure in place.
    if (mode == CReportRows::Class)
        m_classView->FinishSounds();
    const int maxPage = mode == CReportRows::Class
                            ? int(CClassPrinter::Paginate(*printer, m_classView->Stats(), m_printer).size())
                        : mode == CReportRows::Progress ? 1
                                                        : m_printer.OnPreparePrinting(*GetDocument(), int(mode));
    printer->setFromTo(1, maxPage);
    QPrintDialog dialog(printer.get(), this);
    dialog.setMinMax(1, maxPage);
    if (dialog.exec() == QDialog::Accepted)
        PrintReport(printer.get());
}

void CReports::OnFilePrintDirect()
{
    std::unique_ptr<QPrinter> printer = CReportPrinter::CreateDefaultPrinter();
    PrintReport(printer.get());
}

void CReports::OnFilePrintPreview()
{
    std::unique_ptr<QPrinter> printer = CReportPrinter::CreateDefaultPrinter();
    QPrintPreviewDialog preview(printer.get(), this);
    preview.setWindowTitle(QStringLiteral("Print Preview"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PrintReport(p); });
    preview.exec();
}
