// Every page and dialog by keyboard alone: Tab reaches every enabled control, in the
// order the page reads; the Alt letters are each used once; the window's size keeps
// every control in sight and the answer box large.
#include "app/CKelto4View.h"
#include "app/CMainFrame.h"
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "options/COptions.h"
#include "PageTestSupport.h"
#include "platform/CFormBuilder.h"
#include "platform/CMnemonicStyle.h"
#include "platform/CProfile.h"
#include "platform/CommandIds.h"
#include "RecordBuilders.h"
#include "reports/CReports.h"
#include "spelltest/CTest.h"
#include "users/CChangePWDlg.h"
#include "users/CLogInDlg.h"
#include "words/CMicDlg.h"
#include "words/CWords.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

QString Describe(const QWidget* w)
{
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + QString::number(GetControlId(w))
        + QLatin1Char(' ') + w->accessibleName();
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

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings(QStringLiteral("Tarvel"), QStringLiteral("Kelto4")).clear();
        doc.m_userName = "Ann";
        AddWords(doc, {"cat", "dog"});
        doc.m_gradeList.push_back(Grade("week1", "12/06/26, 06:02 PM", 1, 2));
        doc.m_missedList.push_back(Missed("week1", "12/06/26, 06:02 PM", "friend", "freind"));
    }
    template <class Page>
    std::unique_ptr<Page> MakePage()
    {
        auto page = std::make_unique<Page>(&doc);
        page->OnInitialUpdate();
        return page;
    }
    CTestAppCore app;
    CMessageLog log;
    CKelto4Doc doc{app};
};

} // namespace

TEST_F(Keyboard, TabReachesEveryEnabledControlOfEveryPageAndDialogInReadingOrder)
{
    ExpectKeyboardReachesEverything(MakePage<CKelto4View>().get(), "start page");
    ExpectKeyboardReachesEverything(MakePage<CWords>().get(), "words page");
    ExpectKeyboardReachesEverything(MakePage<CReports>().get(), "reports page");
    ExpectKeyboardReachesEverything(MakePage<COptions>().get(), "options page");
    CLogInDlg logIn;
    ExpectKeyboardReachesEverything(&logIn, "log-in dialog");
    CChangePWDlg password;
    ExpectKeyboardReachesEverything(&password, "change-password dialog");
    CMicDlg mic(nullptr, nullptr);
    ExpectKeyboardReachesEverything(&mic, "microphone dialog");

    // The test page before and during a test: the steps of a word in the order taken.
    auto test = MakePage<CTest>();
    ExpectKeyboardReachesEverything(test.get(), "test page");
    Click(test.get(), 1018);
    ExpectKeyboardReachesEverything(test.get(), "test page in a test");
    std::vector<int> ids;
    for (QWidget* w : TabWalk(test.get()))
        ids.push_back(GetControlId(w));
    EXPECT_EQ(ids, (std::vector<int>{1004, 1012, 1013, 1015, 1023}));
}

TEST_F(Keyboard, AltLettersWorkWithoutChangingTheCaptions)
{
    auto test = MakePage<CTest>();
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
TEST_F(Keyboard, EveryPageFitsItsWindowAtBothScreenSizesAndTheAnswerBoxStaysLarge)
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
