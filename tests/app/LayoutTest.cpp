// Pages and dialogs laid out with Qt layouts: every text fits at every font size, a
// screen reader finds every control by a name, what holds data grows with the window,
// the keyboard alone reaches every control in reading order, and every page fits its
// window at a small and a large screen's size.
#include "app/CAboutDlg.h"
#include "app/CKelto4View.h"
#include "app/CMainFrame.h"
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "options/COptions.h"
#include "PageTestSupport.h"
#include "platform/CAccessibleTable.h"
#include "platform/CProfile.h"
#include "platform/CMnemonicStyle.h"
#include "platform/CFormBuilder.h"
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
#include <set>
#include <QScrollBar>
#include <QAbstractScrollArea>
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

bool TakesTab(const QWidget* w, const QWidget* form)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisibleTo(form) && w->isEnabled()
        && !w->focusProxy();
}

// The controls Tab visits, from the first one on, until it comes round again.
std::vector<QWidget*> TabWalk(QWidget* form)
{
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form));
    QWidget* first = form->nextInFocusChain();
    while (first != form && !TakesTab(first, form))
        first = first->nextInFocusChain();
    first->setFocus(Qt::TabFocusReason);
    std::vector<QWidget*> visited{first};
    for (int i = 0; i < 100; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || now == first)
            break;
        visited.push_back(now);
    }
    return visited;
}

// Reading order: each control is on the line of the one before it and further right,
// lower down, or at the top of a further column to the right of it.
bool ReadsAfter(const QRect& before, const QRect& after)
{
    const int slack = 4;
    const bool sameLine = after.top() < before.bottom() && before.top() < after.bottom();
    if (sameLine)
        return after.left() >= before.right() - slack;
    return after.top() >= before.bottom() - slack || after.left() >= before.right() - slack;
}

void ExpectKeyboardReachesEverything(QWidget* form, const char* name)
{
    form->show();
    QApplication::processEvents();
    const std::vector<QWidget*> visited = TabWalk(form);
    std::set<QWidget*> seen(visited.begin(), visited.end());
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (TakesTab(w, form)) {
            EXPECT_TRUE(seen.count(w)) << name << ": Tab never reaches " << Describe(w).toStdString();
        }
    }
    for (size_t i = 1; i < visited.size(); ++i) {
        const QRect a(visited[i - 1]->mapTo(form, QPoint()), visited[i - 1]->size());
        const QRect b(visited[i]->mapTo(form, QPoint()), visited[i]->size());
        EXPECT_TRUE(ReadsAfter(a, b)) << name << ": " << Describe(visited[i]).toStdString() << " comes after "
                                      << Describe(visited[i - 1]).toStdString();
    }
    // Each Alt letter leads to one control only.
    std::map<QChar, QString> letters;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const QChar letter = CFormBuilder::Mnemonic(w);
        if (letter.isNull() || qobject_cast<QLabel*>(w))
            continue;
        EXPECT_FALSE(letters.count(letter)) << name << ": Alt+" << QString(letter).toStdString() << " for "
                                            << Describe(w).toStdString() << " and " << letters[letter].toStdString();
        letters[letter] = Describe(w);
    }
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

    template <class Page>
    std::unique_ptr<Page> Made()
    {
        auto page = std::make_unique<Page>(&doc);
        page->OnInitialUpdate();
        return page;
    }

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

TEST_F(Layout, TabReachesEveryEnabledControlOfEveryPageAndDialogInReadingOrder)
{
    ExpectKeyboardReachesEverything(Made<CKelto4View>().get(), "start page");
    ExpectKeyboardReachesEverything(Made<CWords>().get(), "words page");
    ExpectKeyboardReachesEverything(Made<CReports>().get(), "reports page");
    ExpectKeyboardReachesEverything(Made<COptions>().get(), "options page");
    CLogInDlg logIn;
    ExpectKeyboardReachesEverything(&logIn, "log-in dialog");
    CChangePWDlg password;
    ExpectKeyboardReachesEverything(&password, "change-password dialog");
    CMicDlg mic(nullptr, nullptr);
    ExpectKeyboardReachesEverything(&mic, "microphone dialog");

    // The test page before and during a test: the steps of a word in the order taken.
    auto test = Made<CTest>();
    ExpectKeyboardReachesEverything(test.get(), "test page");
    Click(test.get(), 1018);
    ExpectKeyboardReachesEverything(test.get(), "test page in a test");
    std::vector<int> ids;
    for (QWidget* w : TabWalk(test.get()))
        ids.push_back(GetControlId(w));
    EXPECT_EQ(ids, (std::vector<int>{1004, 1012, 1013, 1015, 1023}));
}

TEST_F(Layout, AltLettersWorkWithoutChangingTheCaptions)
{
    auto test = Made<CTest>();
    test->show();
    test->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(test.get()));
    auto* randomize = FindControl<QCheckBox>(test.get(), 1046);
    const bool was = randomize->isChecked();
    // A button pressed by its letter shows itself pressed for a moment, then clicks.
    QTest::keyClick(test.get(), Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(randomize->isChecked(), !was);
    EXPECT_EQ(randomize->text(), QStringLiteral("Randomize list"));
    QTest::keyClick(test.get(), Qt::Key_S, Qt::AltModifier); // Start
    QTRY_VERIFY(doc.m_testRunning);
    QTest::keyClick(test.get(), Qt::Key_I, Qt::AltModifier); // "Spell it"
    EXPECT_EQ(GetControlId(QApplication::focusWidget()), 1013);
}

// The main window at a small and a large screen's size: no page needs to scroll, every
// control lies inside its page, and the answer box stays at least twice the page's text
// whatever the reading text size.
TEST_F(Layout, EveryPageFitsItsWindowAtBothScreenSizesAndTheAnswerBoxStaysLarge)
{
    for (int textSize : {0, 2}) {
        CProfile::WriteProfileInt("Settings", "Reading Text Size", textSize);
        CMainFrame frame(&doc);
        doc.SendInitialUpdate();
        frame.show();
        for (const QSize size : {QSize(800, 600), QSize(1920, 1200)}) {
            frame.resize(size);
            for (int n = PAGE_START; n <= PAGE_OPTIONS; ++n) {
                frame.SwitchToPage(n);
                QApplication::processEvents();
                QWidget* page = frame.Page(n);
                auto* area = qobject_cast<QAbstractScrollArea*>(frame.centralWidget());
                ASSERT_NE(area, nullptr);
                if (textSize == 0) {
                    EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << n << " at " << size.width();
                    EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << n << " at " << size.width();
                }
                const QRect inside = page->rect();
                for (QWidget* w : page->findChildren<QWidget*>()) {
                    if (!w->isVisibleTo(page) || w->isWindow())
                        continue;
                    const QRect r(w->mapTo(page, QPoint()), w->size());
                    EXPECT_TRUE(inside.contains(r)) << Describe(w).toStdString() << " on page " << n << " at "
                                                    << size.width();
                }
            }
            auto* answer = FindControl<QWidget>(frame.Page(PAGE_TEST), 1013);
            EXPECT_GE(answer->font().pointSizeF(), 2 * frame.Page(PAGE_TEST)->font().pointSizeF());
        }
    }
}

TEST(MnemonicStyle, TheLetterIsMarkedOnceAndTheCaptionsOwnAmpersandsStayText)
{
    const struct {
        const char* text;
        char letter;
        const char* marked;
    } cases[] = {
        {"Start", 'S', "&Start"},   {"Stop", 'P', "Sto&p"},       {"Spell it", 'I', "Spell &it"},
        {"A..Z", 'Z', "A..&Z"},     {"Cats & Dogs", 'D', "Cats && &Dogs"}, {"...", 'X', "..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CMnemonicStyle::Marked(QString::fromLatin1(c.text), QLatin1Char(c.letter)).toStdString(), c.marked)
            << c.text;
}
