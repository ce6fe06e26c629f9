// The reports page's class view through its real controls: the teacher's password in front of
// it, the sortable learner table, a learner's progress on double-click, and its printout.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "model/CTeacherPassword.h"
#include "model/CUserRecordFiles.h"
#include "model/CWordMemory.h"
#include "model/CWordMemoryFile.h"
#include "PageTestSupport.h"
#include "RecordBuilders.h"
#include "reports/CClassPrinter.h"
#include "reports/CClassStats.h"
#include "reports/CClassUnlockDlg.h"
#include "reports/CClassView.h"
#include "reports/CLearnerProgressDlg.h"
#include "reports/CProgressView.h"
#include "reports/CReportPrinter.h"
#include "reports/CReports.h"

#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace {
enum { kGrades = 1000, kClass = 1003 };

// Runs whatever a modal dialog of type D asks, once it is open.
template <class D>
void WhenOpen(std::function<void(D*)> answer)
{
    QTimer::singleShot(10, [answer] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget()))
            answer(dialog);
        else
            WhenOpen(answer);
    });
}

class ClassView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        app.m_userFolder = folder;
        doc.m_userName = "Ann";
        // Ann 2 of 4 then 4 of 4; Bob 3 of 4 once; Cy 1 of 4 once.
        Save("Ann", {{"12/08/26, 09:00 AM", 4}, {"12/07/26, 09:00 AM", 2}}, {"friend", "freind"});
        Save("Bob", {{"12/08/26, 09:00 AM", 3}}, {"horses", "horss"});
        Save("Cy", {{"12/08/26, 09:00 AM", 1}}, {"stop", "stog"});
        page = std::make_unique<CReports>(&doc);
        page->show();
        page->OnInitialUpdate();
    }
    struct G {
        const char* date;
        int correct;
    };
    void Save(const std::string& name, std::initializer_list<G> grades, std::pair<const char*, const char*> miss)
    {
        COwnedList<CGrade> g;
        COwnedList<CMissed> m;
        for (const G& grade : grades)
            g.push_back(Grade("week", grade.date, grade.correct, 4));
        m.push_back(Missed("week", "12/08/26, 09:00 AM", miss.first, miss.second));
        ASSERT_TRUE(CUserRecordFiles::Save(folder, name, g, m, nullptr));
    }
    bool ClassShown() const { return page->GetClassView()->isVisibleTo(page.get()); }
    QTableView* Learners() const { return page->GetClassView()->Table(CClassTables::Learners); }
    QStringList Column(int column) const
    {
        QStringList texts;
        for (int r = 0; r < Learners()->model()->rowCount(); ++r)
            texts << Learners()->model()->index(r, column).data().toString();
        return texts;
    }
    void SetPassword(const char* password)
    {
        ASSERT_EQ(CTeacherPassword::ChangePassword(CTeacherPassword::Path(folder), "", password, password, nullptr),
                  CTeacherPassword::Change::set);
    }

    QTemporaryDir dir;
    std::string folder = dir.path().toStdString();
    CTestAppCore app;
    CKelto4Doc doc{app};
    CMessageLog log;
    std::unique_ptr<CReports> page;
};
}

TEST_F(ClassView, TheClassOpensOnlyAfterTheTeachersPassword)
{
    struct Case {
        const char* name;
        const char* password;            // set before; nullptr: none
        std::vector<QString> typed;      // tried in turn; then Cancel if still open
        bool opens;
        std::vector<std::string> said;
    };
    const Case cases[] = {
        {"no password set", nullptr, {}, true, {}},
        {"right password", "apple", {QStringLiteral("apple")}, true, {}},
        {"wrong, then cancel", "apple", {QStringLiteral("Apple")}, false, {CTeacherPassword::kWrongPasswordText}},
        {"damaged file", "", {}, false, {CTeacherPassword::kDamagedText}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(CTeacherPassword::Path(folder).c_str());
        if (c.password && *c.password)
            SetPassword(c.password);
        else if (c.password)
            std::ofstream(CTeacherPassword::Path(folder)) << "not a hash\n";
        log.Clear();
        if (c.password && *c.password) {
            WhenOpen<CClassUnlockDlg>([c](CClassUnlockDlg* dialog) {
                for (const QString& typed : c.typed) {
                    FindControl<QLineEdit>(dialog, CClassUnlockDlg::IDC_PASSWORD)->setText(typed);
                    FindControl<QPushButton>(dialog, 1)->click();
                }
                if (dialog->isVisible())
                    FindControl<QPushButton>(dialog, 2)->click();
            });
        }
        FindControl<QRadioButton>(page.get(), kClass)->click();
        EXPECT_EQ(ClassShown(), c.opens);
        EXPECT_EQ(FindControl<QRadioButton>(page.get(), kClass)->isChecked(), c.opens);
        EXPECT_EQ(FindControl<QRadioButton>(page.get(), kGrades)->isChecked(), !c.opens);
        EXPECT_EQ(log.Texts(), c.said);
        // Leaving the page locks the class again.
        page->hide();
        EXPECT_TRUE(FindControl<QRadioButton>(page.get(), kGrades)->isChecked());
        page->show();
        EXPECT_FALSE(ClassShown());
    }
}

TEST_F(ClassView, LearnersSortByAnyColumnAndDoubleClickShowsTheirProgress)
{
    page->resize(800, 600);
    FindControl<QRadioButton>(page.get(), kClass)->click();
    ASSERT_TRUE(ClassShown());
    EXPECT_EQ(Column(0), (QStringList{"Ann", "Bob", "Cy"}));
    EXPECT_EQ(Column(2), (QStringList{"75 %", "75 %", "25 %"}));
    // The names wrap in the header, so every column shows on a small screen.
    QApplication::processEvents();
    EXPECT_FALSE(Learners()->horizontalScrollBar()->isVisible());
    Learners()->sortByColumn(2, Qt::AscendingOrder); // average grade
    EXPECT_EQ(Column(0), (QStringList{"Cy", "Ann", "Bob"}));
    Learners()->sortByColumn(3, Qt::DescendingOrder); // last grade: 100, 75, 25
    EXPECT_EQ(Column(0), (QStringList{"Ann", "Bob", "Cy"}));
    Learners()->sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(Column(0), (QStringList{"Cy", "Bob", "Ann"}));

    // Bob's own Progress view, from his files, his stubborn words too.
    CWordMemory memory;
    const CCalendarDay today = CCalendarDay::FromIso("2026-12-09").value();
    ASSERT_TRUE(memory.Add({"horses", 1, 1, today, 5, 5, today}));
    ASSERT_TRUE(CWordMemoryFile::Write(CWordMemoryFile::Path(folder, "Bob"), memory, nullptr));
    QString title;
    bool charted = false;
    std::size_t stubborn = 0;
    WhenOpen<CLearnerProgressDlg>([&](CLearnerProgressDlg* dialog) {
        title = dialog->windowTitle();
        charted = !dialog->GetProgressView()->GetNoDataLabel()->isVisibleTo(dialog);
        stubborn = dialog->GetStats().GetStubbornWords().size();
        dialog->reject();
    });
    const QRect bob = Learners()->visualRect(Learners()->model()->index(1, 0));
    QTest::mouseClick(Learners()->viewport(), Qt::LeftButton, {}, bob.center());
    QTest::mouseDClick(Learners()->viewport(), Qt::LeftButton, {}, bob.center());
    EXPECT_EQ(title, QStringLiteral("Progress -- Bob"));
    EXPECT_TRUE(charted);
    EXPECT_EQ(stubborn, 1u);
}

TEST_F(ClassView, ThePrintPreviewHasAPageForEachSectionAndMoreForALongClass)
{
    struct Case {
        int moreLearners;
        int pages;
    };
    // Four sections on a page each; 60 more learners need a second page for the table and the grid.
    const Case cases[] = {{0, 4}, {60, 6}};
    for (const Case& c : cases) {
        for (int i = 0; i < c.moreLearners; ++i)
            Save("Learner" + std::to_string(i), {{"12/08/26, 09:00 AM", 2}}, {"friend", "freind"});
        CClassStats stats;
        ASSERT_TRUE(stats.Compute(folder, CCalendarDay::FromIso("2026-12-09").value()));
        page->GetReportPrinter().SetLineHeight(300);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const std::vector<CClassPrinter::Page> plan = CClassPrinter::Paginate(printer, stats, page->GetReportPrinter());
        QPrintPreviewWidget preview(&printer);
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, [&](QPrinter* p) {
            CClassPrinter::Print(*p, stats, "Class -- test", page->GetReportPrinter());
        });
        preview.updatePreview();
        EXPECT_EQ(preview.pageCount(), c.pages) << c.moreLearners;
        EXPECT_EQ(int(plan.size()), c.pages) << c.moreLearners;
        std::vector<CClassTables::Table> tables;
        for (const CClassPrinter::Page& p : plan)
            if (tables.empty() || tables.back() != p.table)
                tables.push_back(p.table);
        EXPECT_EQ(tables, (std::vector<CClassTables::Table>{CClassTables::Learners, CClassTables::MostMissed,
                                                            CClassTables::Grid, CClassTables::Groups}));
    }
}
