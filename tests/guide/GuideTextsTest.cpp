// Every text the guide quotes in bold is a text of the program's pages, dialogs or menus.
#include "app/CMainFrame.h"
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "GuideSource.h"
#include "PageTestSupport.h"
#include "platform/CommandIds.h"
#include "spelling/CWordBank.h"
#include "users/CChangePWDlg.h"
#include "users/CLogInDlg.h"
#include "words/CMicDlg.h"
#include "words/CRuleListDlg.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <set>

namespace {
// A text as the guide quotes it: without the key letter's "&", a colon at its end, the
// number of a step ("1) "), a key after a tab, and with single blanks.
QString Quoted(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    text = text.section(QLatin1Char('\t'), 0, 0).simplified();
    text.remove(QRegularExpression(QStringLiteral("^\\d+\\) ")));
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

QString FromHtml(QString text)
{
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">")).replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\"")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.simplified();
}
}

TEST(GuideTexts, EveryBoldTextOfTheGuideIsOnAPageADialogOrAMenu)
{
    CMessageLog log;
    CTestAppCore app;
    CKelto4Doc doc(app);
    doc.m_userName = "Sam";
    CMainFrame frame(&doc);
    doc.OnNewDocument();
    AddWords(doc, {"said"});
    doc.SendInitialUpdate();
    for (int page = PAGE_START; page <= PAGE_OPTIONS; ++page)
        frame.SwitchToPage(page);
    const CWordBank bank;
    CLogInDlg logIn(&frame);
    CChangePWDlg changePassword(&frame);
    CRuleListDlg ruleList(bank, &frame);
    auto* mic = new CMicDlg(&frame, nullptr);

    std::set<QString> texts;
    for (QWidget* w : QApplication::allWidgets()) {
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts.insert(Quoted(button->text()));
        else if (auto* label = qobject_cast<QLabel*>(w))
            texts.insert(Quoted(label->text()));
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            texts.insert(Quoted(group->title()));
        else if (auto* menu = qobject_cast<QMenu*>(w))
            texts.insert(Quoted(menu->title()));
        for (QAction* action : w->actions()) {
            texts.insert(Quoted(action->text()));
            texts.insert(Quoted(action->iconText()));
        }
    }
    delete mic;

    const QString guide = QString::fromStdString(ReadSourceFile("docs/userguide.html"));
    ASSERT_FALSE(guide.isEmpty());
    QStringList missing;
    const QRegularExpression bold(QStringLiteral("<b>(.*?)</b>"), QRegularExpression::DotMatchesEverythingOption);
    for (auto it = bold.globalMatch(guide); it.hasNext();) {
        const QString quoted = FromHtml(it.next().captured(1));
        if (!texts.count(quoted))
            missing << quoted;
    }
    EXPECT_TRUE(missing.isEmpty()) << "the guide quotes in bold, but the program no longer shows: \""
                                   << missing.join(QStringLiteral("\", \"")).toStdString() << "\"";
}
