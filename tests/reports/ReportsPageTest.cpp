// The reports page through its real controls, and its printed report as PDF text.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "PageTestSupport.h"
#include "RecordBuilders.h"
#include "platform/CFeedbackPanel.h"
#include "platform/CommandIds.h"
#include "reports/CProgressCharts.h"
#include "reports/CProgressStats.h"
#include "reports/CProgressView.h"
#include "reports/CReportPrinter.h"
#include "reports/CReports.h"

#include <QAbstractBarSeries>
#include <QAccessible>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QScatterSeries>
#include <QTableView>
#include <QTemporaryDir>
#include <QXYSeries>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {
enum { kGrades = 1000, kMissed = 1001, kProgress = 1002, kList = 1033, kDeleteAll = 1037, kDeleteSelection = 1038, kPrint = 1039,
       kFeedback = 1060, kPractise = 1061 };

class ReportsPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.m_userName = "Ann";
        for (int i = 1; i <= 5; ++i) {
            auto g = std::make_unique<CGrade>();
            g->m_listName = "list" + std::to_string(i);
            g->m_date = "12/06/26, 06:02 PM";
            g->m_correct = 2;
            g->m_words = 3;
            doc.m_gradeList.push_back(std::move(g));
            auto m = std::make_unique<CMissed>();
            m->m_listName = "list" + std::to_string(i);
            m->m_word = "friend";
            m->m_misspelling = "freind";
            doc.m_missedList.push_back(std::move(m));
        }
        page = std::make_unique<CReports>(&doc);
        page->show();
        page->OnInitialUpdate();
    }
    QTableView* View() { return FindControl<QTableView>(page.get(), kList); }
    QString Cell(int row, int column) { return View()->model()->index(row, column).data().toString(); }
    void Select(std::initializer_list<int> rows)
    {
        View()->clearSelection();
        for (int r : rows)
            View()->selectionModel()->select(View()->model()->index(r, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    CTestAppCore app;
    CKelto4Doc doc{app};
    CMessageLog log;
    std::unique_ptr<CReports> page;
};
}

TEST_F(ReportsPage, GradesShowTheirColumnsAndTwoOfThreeAsSixtySevenPercent)
{
    ASSERT_EQ(View()->model()->rowCount(), 5);
    EXPECT_EQ(View()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Spelling List"));
    EXPECT_EQ(View()->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Grade"));
    EXPECT_EQ(Cell(0, 2), QStringLiteral("2"));
    EXPECT_EQ(Cell(0, 4), QStringLiteral(" 67 %"));
}

TEST_F(ReportsPage, DeletingRowsTwoAndFourThenSavingKeepsTheOthersInOrder)
{
    Select({1, 3});
    Click(page.get(), kDeleteSelection);
    EXPECT_EQ(doc.m_gradeList.size(), 5u); // not yet committed
    Click(page.get(), 1);
    ASSERT_EQ(doc.m_gradeList.size(), 3u);
    EXPECT_EQ(doc.m_gradeList[0]->m_listName, "list1");
    EXPECT_EQ(doc.m_gradeList[1]->m_listName, "list3");
    EXPECT_EQ(doc.m_gradeList[2]->m_listName, "list5");
    EXPECT_EQ(doc.m_gradeList[2]->m_correct, 2);
    EXPECT_TRUE(doc.m_recordsChanged);
}

TEST_F(ReportsPage, SwitchingViewsCommitsAndTheMisspelledViewNamesTheRules)
{
    Select({0});
    Click(page.get(), kDeleteSelection);
    FindControl<QRadioButton>(page.get(), kMissed)->click();
    EXPECT_EQ(doc.m_gradeList.size(), 4u);
    EXPECT_EQ(View()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Word           "));
    EXPECT_EQ(View()->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Misspelling    "));
    EXPECT_TRUE(View()->isColumnHidden(0));
    EXPECT_TRUE(View()->isColumnHidden(1));
    EXPECT_EQ(Cell(0, 4), QStringLiteral("change ei to ie"));
}

TEST_F(ReportsPage, ADocumentUpdateDropsPendingDeletionsAndCancelDoesNothing)
{
    Click(page.get(), kDeleteAll);
    EXPECT_EQ(View()->model()->rowCount(), 0);
    Click(page.get(), 2);
    EXPECT_EQ(View()->model()->rowCount(), 0);
    doc.UpdateAllViews(nullptr, 0);
    EXPECT_EQ(View()->model()->rowCount(), 5);
    EXPECT_EQ(doc.m_gradeList.size(), 5u);
}

TEST_F(ReportsPage, PrintingAnEmptyListSaysNoData)
{
    doc.m_gradeList.clear();
    doc.UpdateAllViews(nullptr, 0);
    EXPECT_EQ(View()->model()->rowCount(), 0);
    EXPECT_EQ(View()->model()->columnCount(), 5);
    Click(page.get(), kPrint);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].text, "No data.");
    EXPECT_EQ(log.entries[0].icon, MsgIcon::Exclamation);
}

TEST(ReportPagination, ThirtyThreeRecordsAtThreeHundredEightyTwipsMakeThreePages)
{
    EXPECT_EQ(CReportPrinter::RecordsPerPage(380), 16);
    EXPECT_EQ(CReportPrinter::PageCount(33, 16), 3);
    EXPECT_EQ(CReportPrinter::PageCount(16, 16), 1);
    EXPECT_EQ(CReportPrinter::RecordsPerPage(100000), 1);
}

TEST(ReportMargins, APrinterOffsetOfAQuarterInchGivesTheHalfInchMargin)
{
    const CReportPrinter::Rect r = CReportPrinter::MarginRect(360, 360, 12240, 15840, 203, 266);
    EXPECT_EQ(r.left, 360);
    EXPECT_EQ(r.top, -360);
}

TEST_F(ReportsPage, ThePrintedReportHasTitlePageNumbersColumnsAndRecordsInOrder)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    for (int i = 6; i <= 33; ++i) {
        auto g = std::make_unique<CGrade>();
        g->m_listName = "list" + std::to_string(i);
        g->m_date = "d";
        g->m_correct = 1;
        g->m_words = 2;
        doc.m_gradeList.push_back(std::move(g));
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    page->GetReportPrinter().SetLineHeight(380);
    ASSERT_TRUE(page->PrintReport(&printer));
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Grades -- Ann")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of 3")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 3 of 3")));
    EXPECT_TRUE(text.contains(QStringLiteral(" 67%")));
    EXPECT_LT(text.indexOf(QStringLiteral("list1 ")), text.indexOf(QStringLiteral("list2 ")));
    EXPECT_EQ(text.count(QChar(u'\f')), 3);

    QProcess bbox;
    bbox.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(bbox.waitForFinished(20000));
    const QString boxes = QString::fromUtf8(bbox.readAllStandardOutput());
    // "Page" at 6 inches (432 pt) from the left margin, which is half an inch (36 pt) in.
    const QRegularExpression pageWord(QStringLiteral("xMin=\"([0-9.]+)\"[^>]*>Page<"));
    const QRegularExpressionMatch m = pageWord.match(boxes);
    ASSERT_TRUE(m.hasMatch());
    EXPECT_NEAR(m.captured(1).toDouble(), 36 + 432, 3.0);
}

TEST_F(ReportsPage, ASelectedMisspelledWordShowsItsFeedbackAndPractiseAsksTheMainWindow)
{
    auto* panel = FindControl<CFeedbackPanel>(page.get(), kFeedback);
    ASSERT_NE(panel, nullptr);
    Select({0});
    EXPECT_FALSE(panel->isVisible()); // a grade has nothing to explain
    Click(page.get(), kMissed);
    EXPECT_FALSE(panel->isVisible());
    Select({2});
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->GetText(), "freind\r\nfriend\r\n  ^^  \r\n"
                                "It sounds close: listen again to the sounds.\r\n"
                                "change ei to ie: i comes before e here: i before e, except after c \x97 friend, believe, piece");
    Click(page.get(), kDeleteSelection);
    EXPECT_FALSE(panel->isVisible());
    Click(page.get(), kPractise);
    EXPECT_EQ(app.posted, std::vector<int>{ID_PRACTISE_MISSED_WORDS});
}

TEST_F(ReportsPage, ProgressShowsThreeChartsForRecordsAndNoDataWithout)
{
    const auto shown = [this](QWidget* w) { return w->isVisibleTo(page.get()); };
    CProgressView* progress = page->GetProgressView();
    Select({0});
    Click(page.get(), kDeleteSelection);
    FindControl<QRadioButton>(page.get(), kProgress)->click();
    EXPECT_EQ(doc.m_gradeList.size(), 4u); // switching committed the deletion
    EXPECT_FALSE(shown(View()));
    EXPECT_TRUE(shown(progress));
    EXPECT_FALSE(IsEnabled(page.get(), kDeleteAll));
    for (auto chart : {CProgressView::Grades, CProgressView::Rules, CProgressView::Missed}) {
        EXPECT_TRUE(shown(progress->GetChartView(chart))) << chart;
        EXPECT_FALSE(progress->GetChartView(chart)->chart()->series().isEmpty()) << chart;
    }
    EXPECT_FALSE(shown(progress->GetNoDataLabel()));

    doc.m_gradeList.clear();
    doc.m_missedList.clear();
    doc.UpdateAllViews(nullptr, 0);
    EXPECT_TRUE(shown(View()));
    FindControl<QRadioButton>(page.get(), kProgress)->click();
    EXPECT_TRUE(shown(progress->GetNoDataLabel()));
    EXPECT_EQ(progress->GetNoDataLabel()->text(), QStringLiteral("No data."));
    for (auto chart : {CProgressView::Grades, CProgressView::Rules, CProgressView::Missed})
        EXPECT_FALSE(shown(progress->GetChartView(chart))) << chart;
}

// The lower row's last panel: the learner's stubborn words, or plain words when there are none.
TEST_F(ReportsPage, ProgressShowsTheStubbornWordsOrSaysThereAreNone)
{
    CProgressView* progress = page->GetProgressView();
    const auto noneShown = [&] {
        for (QLabel* label : progress->findChildren<QLabel*>())
            if (label->isVisibleTo(page.get()) && label->text() == QStringLiteral("No stubborn words."))
                return true;
        return false;
    };
    FindControl<QRadioButton>(page.get(), kProgress)->click();
    EXPECT_TRUE(noneShown());
    EXPECT_FALSE(progress->GetChartView(CProgressView::Stubborn)->isVisibleTo(page.get()));

    for (int i = 0; i < 12; ++i) {
        CWordMemory::Entry entry;
        entry.word = "word" + std::to_string(i);
        entry.missed = 4;
        entry.asked = 4 + std::uint32_t(i);
        doc.m_memory.Add(entry);
    }
    FindControl<QRadioButton>(page.get(), kGrades)->click();
    FindControl<QRadioButton>(page.get(), kProgress)->click();
    EXPECT_FALSE(noneShown());
    QChart* chart = progress->GetChartView(CProgressView::Stubborn)->chart();
    EXPECT_TRUE(progress->GetChartView(CProgressView::Stubborn)->isVisibleTo(page.get()));
    EXPECT_EQ(chart->title(), QStringLiteral("Stubborn words (10 of 12)"));
    ASSERT_EQ(chart->series().size(), 1);
    EXPECT_EQ(static_cast<QAbstractBarSeries*>(chart->series().front())->barSets().front()->count(), 10);
    const QAbstractItemModel* table = progress->GetTableView(CProgressView::Stubborn)->model();
    ASSERT_EQ(table->rowCount(), 12);
    EXPECT_EQ(table->index(0, 0).data().toString(), QStringLiteral("word0"));
    EXPECT_EQ(table->index(0, 2).data().toString(), QStringLiteral("4"));
}

// Beside the grades, a dashed line (and a table column) of the share of each test's
// misspellings that sound right.
TEST_F(ReportsPage, ProgressShowsTheShareOfEachTestsMisspellingsThatSoundRight)
{
    // Two tests of week1: friend as "frend" (right) on the 8th, as "freind" (close) on the 1st.
    doc.m_gradeList.clear();
    doc.m_gradeList.push_back(Grade("week1", "12/08/26, 09:00 AM", 3, 5));
    doc.m_gradeList.push_back(Grade("week1", "12/01/26, 09:00 AM", 2, 5));
    for (int i = 0; i < 5; ++i) {
        CMissed& record = *doc.m_missedList[std::size_t(i)];
        record.m_listName = "week1";
        record.m_date = i < 2 ? "12/08/26, 09:00 AM" : "12/01/26, 09:00 AM";
        record.m_word = "friend";
        record.m_misspelling = i < 2 ? "frend" : "freind";
    }
    doc.UpdateAllViews(nullptr, 0);
    FindControl<QRadioButton>(page.get(), kProgress)->click();
    CProgressView* progress = page->GetProgressView();
    QXYSeries* line = nullptr;
    for (QAbstractSeries* series : progress->GetChartView(CProgressView::Grades)->chart()->series())
        if (series->name() == CProgressCharts::SoundsSeriesName())
            line = qobject_cast<QXYSeries*>(series);
    ASSERT_NE(line, nullptr);
    ASSERT_EQ(line->count(), 2);
    EXPECT_EQ(line->pen().style(), Qt::DashLine);
    EXPECT_DOUBLE_EQ(line->at(0).y(), 0.0);
    EXPECT_DOUBLE_EQ(line->at(1).y(), 100.0);
    EXPECT_LT(line->at(0).x(), line->at(1).x());
    const QAbstractItemModel* table = progress->GetTableView(CProgressView::Grades)->model();
    ASSERT_EQ(table->columnCount(), 6);
    EXPECT_EQ(table->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Sound Right (%)"));
    EXPECT_EQ(table->index(0, 5).data().toString(), QStringLiteral("0"));
    EXPECT_EQ(table->index(1, 5).data().toString(), QStringLiteral("100"));
}

// "Show as Table" puts each chart's figures in a table that a screen reader reads cell
// by cell; the charts come back when it is cleared.
TEST_F(ReportsPage, ShowAsTableGivesScreenReadersEachChartsFigures)
{
    FindControl<QRadioButton>(page.get(), kProgress)->click();
    CProgressView* progress = page->GetProgressView();
    auto* toggle = FindControl<QCheckBox>(page.get(), CProgressView::kShowTableId);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->text(), QStringLiteral("Show as Table"));
    toggle->click();
    for (auto chart : {CProgressView::Grades, CProgressView::Rules, CProgressView::Missed}) {
        QTableView* table = progress->GetTableView(chart);
        EXPECT_TRUE(table->isVisibleTo(page.get())) << chart;
        EXPECT_FALSE(progress->GetChartView(chart)->isVisibleTo(page.get())) << chart;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(table);
        ASSERT_TRUE(iface && iface->tableInterface()) << chart;
        EXPECT_EQ(iface->text(QAccessible::Name), progress->GetChartView(chart)->accessibleName());
        EXPECT_EQ(iface->tableInterface()->rowCount(), table->model()->rowCount()) << chart;
        ASSERT_GT(table->model()->rowCount(), 0) << chart;
        for (int c = 0; c < table->model()->columnCount(); ++c)
            EXPECT_EQ(iface->tableInterface()->cellAt(0, c)->text(QAccessible::Name),
                      table->model()->index(0, c).data().toString())
                << chart << " " << c;
    }
    EXPECT_EQ(progress->GetTableView(CProgressView::Grades)->model()->rowCount(), int(doc.m_gradeList.size()));
    toggle->click();
    for (auto chart : {CProgressView::Grades, CProgressView::Rules, CProgressView::Missed})
        EXPECT_TRUE(progress->GetChartView(chart)->isVisibleTo(page.get())) << chart;
}

// Texts too long to be lined up letter by letter (a paste, a damaged record file) get
// the rules alone, at once.
TEST(FeedbackPanelOfLongTexts, ShowsTheRulesOnly)
{
    std::string word, answer;
    for (int i = 0; i < 3000; ++i) {
        word += "friend";
        answer += "freind";
    }
    CFeedbackPanel panel;
    panel.resize(600, 300);
    panel.ShowFeedback(word, answer);
    EXPECT_TRUE(panel.GetSteps().empty());
    EXPECT_EQ(panel.GetText(), "change ei to ie: i comes before e here: i before e, except after c \x97 friend, believe, piece");
    panel.grab(); // paints without the letter rows
}

// The note under the grades chart speaks of hollow points only where the chart draws
// them: a series of more than a thousand tests is drawn as its line alone.
TEST(ProgressNote, SpeaksOfHollowPointsOnlyWhereTheyAreDrawn)
{
    const struct {
        const char* name;
        int week1Tests; // the first stopped
        int week2Tests; // the first stopped, if any
        bool week1Stopped;
        bool hollow;
    } cases[] = {
        {"a few tests, one stopped", 10, 0, true, true},
        {"a few tests, none stopped", 10, 0, false, false},
        {"many tests, one stopped", 1001, 0, true, false},
        {"many tests, and a few with one stopped", 1001, 3, false, true},
    };
    for (const auto& c : cases) {
        COwnedList<CGrade> grades;
        int day = 0;
        const auto take = [&](const std::string& list, int tests, bool firstStopped) {
            for (int i = 0; i < tests; ++i, ++day) {
                char stamp[32];
                std::snprintf(stamp, sizeof stamp, "%02d/%02d/%02d, 09:00 AM", 1 + day / 28 % 12, 1 + day % 28,
                              20 + day / (28 * 12));
                grades.push_back(Grade(list + (i == 0 && firstStopped ? "--Stopped Test" : ""), stamp, 5, 10));
            }
        };
        take("week1", c.week1Tests, c.week1Stopped);
        take("week2", c.week2Tests, true);
        CProgressStats stats;
        stats.Compute(grades, {});
        const QString note = CProgressCharts::LeftOutNote(stats);
        EXPECT_EQ(note.contains(QStringLiteral("hollow")), c.hollow) << c.name << ": " << note.toStdString();
        std::unique_ptr<QChart> chart(CProgressCharts::GradesChart(stats, false));
        bool drawn = false;
        for (QAbstractSeries* series : chart->series())
            if (auto* scatter = qobject_cast<QScatterSeries*>(series))
                drawn = drawn || scatter->count() > 0;
        EXPECT_EQ(drawn, c.hollow) << c.name;
    }
}
