// Pages and dialogs laid out with Qt layouts: every text fits at every font size, a
// screen reader finds every control by a name, and what holds data grows with the window.
#include "app/CAboutDlg.h"
#include "app/CKelto4View.h"
#include "app/CMainFrame.h"
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "options/COptions.h"
#include "PageTestSupport.h"
#include "platform/CAccessibleTable.h"
#include "platform/CommandIds.h"
#include "RecordBuilders.h"
#include "reports/CReports.h"
#include "spelltest/CLineListBox.h"
#include "spelltest/CTest.h"
#include "users/CChangePWDlg.h"
#include "users/CLogInDlg.h"
#include "users/CWaitDlg.h"
#include "spelling/CWordBank.h"
#include "words/CMicDlg.h"
#include "words/CRuleListDlg.h"
#include "words/CWords.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

struct Form {
    const char* name;
    std::function<QWidget*(CKelto4Doc&)> make;
};

template <class Page>
QWidget* MakePage(CKelto4Doc& doc)
{
    auto* page = new Page(&doc);
    page->OnInitialUpdate();
    return page;
}

const std::vector<Form>& Forms()
{
    static const std::vector<Form> forms = {
        {"start page", MakePage<CKelto4View>},
        {"words page", MakePage<CWords>},
        {"test page", MakePage<CTest>},
        {"reports page", MakePage<CReports>},
        {"options page", MakePage<COptions>},
        {"log-in dialog", [](CKelto4Doc&) -> QWidget* { return new CLogInDlg; }},
        {"change-password dialog", [](CKelto4Doc&) -> QWidget* { return new CChangePWDlg; }},
        {"wait dialog", [](CKelto4Doc&) -> QWidget* { return new CWaitDlg; }},
        {"microphone dialog", [](CKelto4Doc&) -> QWidget* { return new CMicDlg(nullptr, nullptr); }},
        {"about dialog", [](CKelto4Doc&) -> QWidget* { return new CAboutDlg; }},
        {"new list from a rule dialog",
         [](CKelto4Doc&) -> QWidget* {
             static CWordBank bank;
             bank.Load(CWordBank::Find(), nullptr);
             return new CRuleListDlg(bank);
         }},
    };
    return forms;
}

QString Describe(const QWidget* w)
{
    QString text;
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        text = button->text();
    else if (auto* label = qobject_cast<const QLabel*>(w))
        text = label->text();
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + QString::number(GetControlId(w))
        + QStringLiteral(" \"") + text + QLatin1Char('"');
}

// The controls of form whose text or frame is cut, or which lie outside the form.
std::vector<std::string> Clipped(QWidget* form)
{
    std::vector<std::string> clipped;
    for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isVisibleTo(form) || w->isWindow())
            continue;
        const QSize size = w->size();
        bool cut = !form->rect().contains(w->geometry());
        if (auto* push = qobject_cast<QPushButton*>(w))
            cut = cut || size.width() < push->fontMetrics().horizontalAdvance(push->text()) + 6
                || size.height() < push->fontMetrics().height() + 4;
        else if (qobject_cast<QAbstractButton*>(w))
            cut = cut || size.width() < w->sizeHint().width() || size.height() < w->sizeHint().height();
        else if (auto* label = qobject_cast<QLabel*>(w))
            cut = cut
                || (label->wordWrap() ? size.height() < label->heightForWidth(size.width())
                                      : size.width() < label->sizeHint().width());
        else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w))
            cut = cut || size.height() < w->minimumSizeHint().height();
        else if (qobject_cast<QGroupBox*>(w))
            cut = cut || size.width() < w->minimumSizeHint().width();
        if (cut)
            clipped.push_back(Describe(w).toStdString());
    }
    return clipped;
}

bool Interactive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Slider:
    case QAccessible::ButtonMenu:
        return true;
    default:
        return false;
    }
}

// Every interface under root, depth first; a combo box's own popup list is its business.
void Walk(QAccessibleInterface* root, const std::function<void(QAccessibleInterface*)>& visit)
{
    visit(root);
    if (root->role() == QAccessible::ComboBox)
        return;
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface* child = root->child(i))
            Walk(child, visit);
}

QString NameOf(QWidget* w)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

class Layout : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings(QStringLiteral("Tarvel"), QStringLiteral("Kelto4")).clear();
        doc.m_userName = "Ann";
        AddWords(doc, {"cat", "dog"});
        doc.m_gradeList.push_back(Grade("week1", "12/06/26, 06:02 PM", 1, 2));
        doc.m_missedList.push_back(Missed("week1", "12/06/26, 06:02 PM", "friend", "freind"));
    }
    void TearDown() override { QApplication::setFont(m_desktopFont); }

    // Makes every form, shows it at the size it asks for, and hands it to check.
    void ForEachForm(const std::function<void(const Form&, QWidget*)>& check)
    {
        for (const Form& form : Forms()) {
            std::unique_ptr<QWidget> w(form.make(doc));
            w->show();
            QApplication::processEvents();
            check(form, w.get());
        }
    }

    CTestAppCore app;
    CMessageLog log;
    CKelto4Doc doc{app};
    QFont m_desktopFont = QApplication::font();
};

} // namespace

// Under QT_SCALE_FACTOR=2 too (registered a second time with it).
TEST_F(Layout, EveryTextFitsItsControlAndFormsGrowWithTheDesktopFont)
{
    std::map<std::string, QSize> normal;
    ForEachForm([&](const Form& form, QWidget* w) {
        EXPECT_EQ(Clipped(w), std::vector<std::string>{}) << form.name;
        normal[form.name] = w->size();
    });
    QFont large = QApplication::font();
    large.setPointSize(16);
    QApplication::setFont(large);
    ForEachForm([&](const Form& form, QWidget* w) {
        EXPECT_EQ(Clipped(w), std::vector<std::string>{}) << form.name << " at 16 points";
        EXPECT_GT(w->width(), normal[form.name].width()) << form.name;
        EXPECT_GE(w->height(), normal[form.name].height()) << form.name;
    });
}

TEST_F(Layout, ScreenReadersFindEveryControlByNameAndChooseEveryChoice)
{
    ForEachForm([&](const Form& form, QWidget* w) {
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(root, nullptr) << form.name;
        std::vector<std::string> unnamed;
        std::vector<QAccessibleInterface*> choices;
        Walk(root, [&](QAccessibleInterface* iface) {
            if (!Interactive(iface->role()) || iface->state().invisible)
                return;
            if (iface->text(QAccessible::Name).trimmed().isEmpty())
                unnamed.push_back(Describe(static_cast<QWidget*>(iface->object())).toStdString());
            if ((iface->role() == QAccessible::CheckBox || iface->role() == QAccessible::RadioButton)
                && !iface->state().disabled)
                choices.push_back(iface);
        });
        EXPECT_EQ(unnamed, std::vector<std::string>{}) << form.name;
        // Choosing through the accessibility action is a click: the form hears of it.
        for (QAccessibleInterface* choice : choices) {
            auto* button = static_cast<QAbstractButton*>(choice->object());
            const bool radio = choice->role() == QAccessible::RadioButton;
            const bool was = button->isChecked();
            QSignalSpy clicked(button, &QAbstractButton::clicked);
            ASSERT_TRUE(choice->actionInterface()) << form.name;
            choice->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            EXPECT_EQ(clicked.count(), 1) << form.name << " " << Describe(button).toStdString();
            EXPECT_EQ(button->isChecked(), radio ? true : !was) << form.name << " " << Describe(button).toStdString();
        }
    });
}

TEST_F(Layout, FieldsAreNamedByTheirLabelsAndAnswersSayRightOrWrong)
{
    CWords words(&doc);
    CTest test(&doc);
    CReports reports(&doc);
    CLogInDlg logIn;
    CChangePWDlg password;
    reports.OnInitialUpdate();
    const std::vector<std::tuple<QWidget*, int, const char*>> expected = {
        {&words, 1008, "Enter Word"},     {&words, 1010, "Sound Folder"},    {&words, 1001, "Current List"},
        {&test, 1008, "Word #"},          {&test, 1009, "# Correct"},        {&test, 1010, "# Words"},
        {&test, 1011, "Score"},           {&test, 1013, "Spell it"},         {&test, 1014, "Status"},
        {&test, 1023, "Answers"},         {&reports, 1033, "Grades"},        {&logIn, 1030, "User Name"},
        {&logIn, 1048, "Password"},       {&password, 1049, "New Password"}, {&password, 1050, "Retyped Password"},
    };
    for (const auto& [form, id, name] : expected)
        EXPECT_EQ(NameOf(FindControl<QWidget>(form, id)).toStdString(), name) << id;

    // The table is named after the view; the radio button switches it, however chosen.
    QAccessibleInterface* missed = QAccessible::queryAccessibleInterface(FindControl<QRadioButton>(&reports, 1001));
    missed->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(NameOf(FindControl<QWidget>(&reports, 1033)), QStringLiteral("Misspelled Words"));
    EXPECT_EQ(FindControl<QTableView>(&reports, 1033)->model()->headerData(2, Qt::Horizontal).toString().trimmed(),
              QStringLiteral("Word"));

    test.show();
    test.OnInitialUpdate();
    Click(&test, 1018);
    const QString first = QString::fromStdString(test.GetSession().GetCurrentWord());
    TypeInto(&test, 1013, first);
    Click(&test, 1015);
    Click(&test, 1016);
    TypeInto(&test, 1013, QStringLiteral("x"));
    Click(&test, 1015);
    QAccessibleInterface* answers = QAccessible::queryAccessibleInterface(FindControl<QWidget>(&test, 1023));
    std::vector<QString> items;
    Walk(answers, [&](QAccessibleInterface* iface) {
        if (iface->role() == QAccessible::ListItem)
            items.push_back(iface->text(QAccessible::Name));
    });
    EXPECT_EQ(items, (std::vector<QString>{first + QStringLiteral(", right"), QStringLiteral("x, wrong")}));
}

TEST_F(Layout, PageBarButtonsAreNamedAndTheWindowGrowsTheTableAndTheWordList)
{
    CMainFrame frame(&doc);
    doc.SendInitialUpdate();
    frame.show();
    std::vector<QString> names;
    Walk(QAccessible::queryAccessibleInterface(frame.PageBar()), [&](QAccessibleInterface* iface) {
        if (iface->role() == QAccessible::PushButton || iface->role() == QAccessible::ButtonMenu)
            names.push_back(iface->text(QAccessible::Name));
    });
    EXPECT_EQ(names, (std::vector<QString>{QStringLiteral("Start"), QStringLiteral("Words"), QStringLiteral("Test"),
                                           QStringLiteral("Reports"), QStringLiteral("Options"), QStringLiteral("Exit")}));

    frame.SwitchToPage(PAGE_WORDS);
    frame.SwitchToPage(PAGE_REPORTS);
    QApplication::processEvents();
    QWidget* list = FindControl<QWidget>(frame.Page(PAGE_WORDS), 1001);
    QWidget* table = FindControl<QWidget>(frame.Page(PAGE_REPORTS), 1033);
    QWidget* print = FindControl<QWidget>(frame.Page(PAGE_REPORTS), 1039);
    const QSize listBefore = list->size();
    const QSize tableBefore = table->size();
    const QSize printBefore = print->size();
    frame.resize(frame.size() + QSize(300, 200));
    QApplication::processEvents();
    EXPECT_GE(table->width(), tableBefore.width() + 250);
    EXPECT_GE(table->height(), tableBefore.height() + 150);
    EXPECT_EQ(print->size(), printBefore); // buttons keep their size
    frame.SwitchToPage(PAGE_WORDS);
    QApplication::processEvents();
    EXPECT_GE(list->width(), listBefore.width() + 150);
    EXPECT_GE(list->height(), listBefore.height() + 150);
}

TEST_F(Layout, ScreenReadersSeeOnlyTheReportColumnsShown)
{
    CReports reports(&doc);
    reports.show();
    reports.OnInitialUpdate();
    auto* view = FindControl<QTableView>(&reports, 1033);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(view);
    ASSERT_TRUE(table->tableInterface());
    EXPECT_EQ(table->tableInterface()->columnCount(), 5);

    Click(&reports, 1001); // Misspelled Words hides the list name and the date
    QApplication::processEvents();
    ASSERT_EQ(table->tableInterface()->columnCount(), 3);
    ASSERT_EQ(table->childCount(), 2 * 3);
    std::vector<QString> names;
    for (int i = 0; i < table->childCount(); ++i) {
        QAccessibleInterface* cell = table->child(i);
        names.push_back(cell->text(QAccessible::Name));
        EXPECT_FALSE(cell->state().invisible) << i;
        EXPECT_EQ(table->indexOfChild(cell), i);
    }
    EXPECT_EQ(names, (std::vector<QString>{QStringLiteral("Word"), QStringLiteral("Misspelling"),
                                           QStringLiteral("Spelling Errors"), QStringLiteral("friend"),
                                           QStringLiteral("freind"), QStringLiteral("change ei to ie")}));
    EXPECT_EQ(table->tableInterface()->cellAt(0, 1)->text(QAccessible::Name), QStringLiteral("freind"));

    // Focus and selection news name the cell clicked, not one shifted by the hidden
    // columns; a row chosen by a hidden column names its first shown cell.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(0, 3)).center());
    EXPECT_EQ(table->child(CAccessibleTable::ChildIndex(view, view->currentIndex()))->text(QAccessible::Name),
              QStringLiteral("freind"));
    EXPECT_EQ(table->child(CAccessibleTable::ChildIndex(view, view->model()->index(0, 0)))->text(QAccessible::Name),
              QStringLiteral("friend"));
    EXPECT_TRUE(table->tableInterface()->isRowSelected(0));
}
