// main() of the tests that make the real application object themselves: a fresh home
// and the offscreen platform, but no QApplication of its own.
#include "TestEnvironment.h"

#include <QByteArray>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    UseFreshHome();
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
