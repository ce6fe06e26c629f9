// "Keltora Loading..." while another copy holds the user file, with a short retry.
#include "users/CUserFile.h"
#include "users/CWaitDlg.h"
#include "users/CWaitUi.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct Seen {
    QPointer<CWaitDlg> dialog;
    QString title;
    QStringList texts;
    bool visible = false;
    int ticks = 0;
};

class WaitDialog : public ::testing::Test {
protected:
    // Watches for the wait dialog every 20 ms while the second copy waits.
    void Watch(std::function<void()> atThirdTick)
    {
        auto* timer = new QTimer(&owner);
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [this, atThirdTick] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* wait = qobject_cast<CWaitDlg*>(w);
                if (!wait || seen.dialog)
                    continue;
                seen.dialog = wait;
                seen.title = wait->windowTitle();
                seen.visible = wait->isVisible();
                for (QLabel* label : wait->findChildren<QLabel*>())
                    seen.texts << label->text();
                wait->installEventFilter(&counter);
                wait->update();
            }
            if (seen.dialog && ++seen.ticks == 3 && atThirdTick)
                atThirdTick();
        });
        timer->start();
    }

    // Another copy of the program, as far as the file lock can tell.
    void HoldTheFile() { ASSERT_TRUE(holder.Open(folder, nullptr)); }

    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    CUserFile holder;
    // Six attempts, 100 ms apart.
    const CUserFileAccess shortRetry{6, 100};
    Seen seen;
    PaintCounter counter;
    QObject owner;
};

TEST_F(WaitDialog, ShowsWhileTheFileIsBusyKeepsPaintingAndGoesWhenTheFileIsFree)
{
    HoldTheFile();
    Watch([this] { holder.Close(); });

    CWaitUi ui;
    CUserFile second(shortRetry);
    EXPECT_TRUE(second.Open(folder, &ui));
    ASSERT_FALSE(seen.title.isEmpty()) << "no wait dialog was shown";
    EXPECT_EQ(seen.title, "Keltora Loading...");
    EXPECT_TRUE(seen.visible);
    EXPECT_TRUE(seen.texts.contains(QString::fromLatin1(CWaitDlg::kText)));
    EXPECT_GT(counter.paints, 0) << "the wait dialog did not paint while waiting";
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen.dialog.isNull(); }, 1000)) << "the wait dialog stayed after the file was got";
}

TEST_F(WaitDialog, GivesUpAfterTheLastAttemptWithAnEmptyListAndNoDialogLeft)
{
    HoldTheFile();
    Watch({});
    QElapsedTimer clock;
    clock.start();
    CWaitUi ui;
    CUserFile second(shortRetry);
    EXPECT_FALSE(second.Open(folder, &ui));
    // Six attempts 100 ms apart: five pauses.
    EXPECT_GE(clock.elapsed(), 450);
    EXPECT_TRUE(second.Users().empty());
    EXPECT_EQ(seen.title, "Keltora Loading...");
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen.dialog.isNull(); }, 1000));
}
}
