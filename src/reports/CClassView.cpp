#include "reports/CClassView.h"

#include "model/CCalendarDay.h"
#include "platform/CControlIds.h"
#include "platform/CQtText.h"
#include "platform/CReadingLook.h"
#include "reports/CClassStats.h"
#include "reports/CClassTableModel.h"
#include "spelling/CSoundComparison.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QTableView* NewTable(int id, const QString& name)
{
    auto* table = new QTableView;
    // A line of text a row, as the reports list has it.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    SetControlId(table, id);
    table->setAccessibleName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->horizontalHeader()->setStretchLastSection(false);
    return table;
}
}

CClassView::CClassView(QWidget* parent)
    : QWidget(parent)
    , m_stats(std::make_unique<CClassStats>())
    , m_sorted(new QSortFilterProxyModel(this))
    , m_status(new QLabel)
    , m_sections(new QTabWidget)
    , m_soundsTimer(new QTimer(this))
{
    const int ids[] = {IDC_LEARNERS, IDC_MISSED, IDC_GRID, IDC_GROUPS};
    for (int t = 0; t < CClassTables::kTables; ++t) {
        const QString title = QString::fromLatin1(CClassTables::Title(CClassTables::Table(t)));
        m_models[std::size_t(t)] = new CClassTableModel(this);
        m_tables[std::size_t(t)] = NewTable(ids[t], title);
    }
    m_sorted->setSourceModel(m_models[CClassTables::Learners]);
    m_sorted->setSortRole(CClassTableModel::kSortRole);
    m_sorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_sorted->setSortLocaleAware(true);
    QTableView* learners = m_tables[CClassTables::Learners];
    learners->setModel(m_sorted);
    learners->setSortingEnabled(true);
    learners->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    learners->setToolTip(QStringLiteral("Double-click a learner to see their progress."));
    for (int t = CClassTables::MostMissed; t < CClassTables::kTables; ++t)
        m_tables[std::size_t(t)]->setModel(m_models[std::size_t(t)]);
    // The groups' last column lists learners: it takes the room that is left.
    m_tables[CClassTables::Groups]->horizontalHeader()->setStretchLastSection(true);

    SetControlId(m_status, IDC_STATUS);
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);
    SetControlId(m_sections, IDC_SECTIONS);
    for (int t = CClassTables::MostMissed; t < CClassTables::kTables; ++t)
        m_sections->addTab(m_tables[std::size_t(t)],
                           QString::fromLatin1(CClassTables::Title(CClassTables::Table(t))));

    auto* split = new QSplitter(Qt::Vertical);
    split->setChildrenCollapsible(false);
    split->addWidget(learners);
    split->addWidget(m_sections);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(m_status);
    layout->addWidget(split, 1);

    connect(learners, &QAbstractItemView::activated, this, &CClassView::ActivateRow);
    connect(m_tables[CClassTables::Grid], &QAbstractItemView::activated, this, &CClassView::ActivateRow);
    connect(m_soundsTimer, &QTimer::timeout, this, &CClassView::CompareSoundsStep);
    m_soundsTimer->setInterval(0);
}

CClassView::~CClassView() = default;

QSize CClassView::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {12 * line, 8 * line};
}

void CClassView::ShowFolder(const std::string& folder, CCalendarDay today, CSoundComparison* sounds)
{
    CClassStats stats;
    stats.Compute(folder, today);
    ShowStats(std::move(stats), sounds);
}

void CClassView::ShowStats(CClassStats&& stats, CSoundComparison* sounds)
{
    *m_stats = std::move(stats);
    m_sounds = sounds;
    const bool dark = CReadingLook::IsDark(palette());
    for (int t = 0; t < CClassTables::kTables; ++t) {
        m_models[std::size_t(t)]->SetDark(dark);
        Fill(CClassTables::Table(t));
    }
    ShowStatus();
    if (m_sounds && !m_stats->SoundsDone() && isVisible())
        m_soundsTimer->start();
}

void CClassView::Fill(CClassTables::Table table)
{
    QTableView* view = m_tables[table];
    m_models[table]->SetData(CClassTables::Make(*m_stats, table));
    view->resizeColumnsToContents();
    if (table == CClassTables::Grid || table == CClassTables::Learners)
        WrapHeaders(table);
}

// Names wrap in the header rather than widen their columns, so the learner table's ten
// columns fit a laptop's screen: the header grows to the most lines a name takes.
void CClassView::WrapHeaders(CClassTables::Table table)
{
    QTableView* view = m_tables[table];
    const QFontMetrics metrics = view->horizontalHeader()->fontMetrics();
    const int padding = 12;
    // The grid's columns are all as wide as a count or a short rule name; the learner
    // table's are as wide as their figures or the longest word of their name.
    const int gridWidth = std::max(metrics.horizontalAdvance(QStringLiteral("0000")), metrics.averageCharWidth() * 12);
    int lines = 1;
    for (int c = table == CClassTables::Grid ? 1 : 0; c < m_models[table]->columnCount(); ++c) {
        const QString name = m_models[table]->headerData(c, Qt::Horizontal).toString();
        int width = gridWidth;
        if (table != CClassTables::Grid) {
            width = 0;
            const QFontMetrics cells = view->fontMetrics();
            const QAbstractItemModel* model = view->model();
            for (int r = 0; r < model->rowCount(); ++r)
                width = std::max(width, cells.horizontalAdvance(model->index(r, c).data().toString()));
            for (const QString& word : name.split(QLatin1Char(' ')))
                width = std::max(width, metrics.horizontalAdvance(word));
        }
        view->setColumnWidth(c, width + padding);
        const QRect box = metrics.boundingRect(QRect(0, 0, width, 1000), Qt::TextWordWrap, name);
        lines = std::max(lines, (box.height() + metrics.lineSpacing() - 1) / metrics.lineSpacing());
    }
    view->horizontalHeader()->setDefaultAlignment(
        Qt::Alignment((table == CClassTables::Grid ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter) |
                      Qt::TextWordWrap));
    view->horizontalHeader()->setMinimumHeight(lines * metrics.lineSpacing() + 8);
}

void CClassView::FinishSounds()
{
    if (!m_sounds || m_stats->SoundsDone())
        return;
    m_stats->CompareSounds(*m_sounds);
    ShowSounds();
}

void CClassView::CompareSoundsStep()
{
    if (!m_sounds || m_stats->CompareSounds(*m_sounds, kPairsPerStep))
        ShowSounds();
}

void CClassView::ShowSounds()
{
    m_soundsTimer->stop();
    // Only the one column changes; the rows keep their order and selection.
    m_models[CClassTables::Learners]->UpdateData(CClassTables::Make(*m_stats, CClassTables::Learners));
    WrapHeaders(CClassTables::Learners);
    ShowStatus();
}

void CClassView::ShowStatus()
{
    QStringList lines;
    if (!m_stats->FolderError().empty())
        lines << QStringLiteral("The user folder can't be read: ") + ToQt(m_stats->FolderError());
    else if (!m_stats->HasLearners())
        lines << QStringLiteral("No learners in this user folder yet.");
    for (const CClassStats::Problem& problem : m_stats->Problems())
        lines << ToQt(problem.text);
    if (m_stats->SoundsUnavailable() && m_sounds)
        lines << QStringLiteral("\"Sounds Right\" stays empty: ") + ToQt(m_sounds->UnavailableText());
    else if (!m_stats->SoundsDone() && m_sounds)
        lines << QStringLiteral("Comparing the misspellings by sound for \"Sounds Right\"...");
    m_status->setText(lines.join(QLatin1Char('\n')));
    m_status->setVisible(!lines.isEmpty());
}

void CClassView::ActivateRow(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const QModelIndex first = index.model()->index(index.row(), 0);
    emit learnerActivated(first.data().toString());
}

void CClassView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_sounds && !m_stats->SoundsDone())
        m_soundsTimer->start();
}

void CClassView::hideEvent(QHideEvent* event)
{
    // The speech engine may then be speaking for another page: it takes one task at a time.
    m_soundsTimer->stop();
    QWidget::hideEvent(event);
}

void CClassView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        const bool dark = CReadingLook::IsDark(palette());
        for (CClassTableModel* model : m_models)
            model->SetDark(dark);
    }
}
