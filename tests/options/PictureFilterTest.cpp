#include "options/COptionsEditor.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace {
// What Qt's file dialogs do with a filter: the patterns in the last parentheses, each a
// wildcard matched against the whole file name.
bool QtFilterMatches(const std::string& filter, const QString& fileName)
{
    const QString f = QString::fromStdString(filter);
    const qsizetype open = f.lastIndexOf(QLatin1Char('('));
    const QStringList patterns = f.mid(open + 1, f.size() - open - 2).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& pattern : patterns) {
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern));
        if (re.match(fileName).hasMatch())
            return true;
    }
    return false;
}

TEST(PictureFilter, KeepsTheNameWithItsTrailingBlankAndListsEveryExtension)
{
    EXPECT_EQ(COptionsEditor::QtFilterFromWindows(COptionsEditor::kPictureFilter),
              "Pictures (*.[Bb][Mm][Pp] *.[Jj][Pp][Ee][Gg] *.[Jj][Pp][Gg] *.[Jj][Pp][Ee] "
              "*.[Jj][Ff][Ii][Ff] *.[Gg][Ii][Ff] *.[Pp][Nn][Gg])");
}

struct Match {
    const char* fileName;
    bool matches;
};

class PictureFilterMatch : public ::testing::TestWithParam<Match> {};

TEST_P(PictureFilterMatch, FindsPicturesInAnyLetterCase)
{
    const std::string filter = COptionsEditor::QtFilterFromWindows(COptionsEditor::kPictureFilter);
    EXPECT_EQ(QtFilterMatches(filter, QString::fromLatin1(GetParam().fileName)), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(Names, PictureFilterMatch,
                         ::testing::Values(Match{"LOGO.BMP", true}, Match{"logo.bmp", true}, Match{"Photo.Jpg", true},
                                           Match{"a.jpeg", true}, Match{"a.JPE", true}, Match{"scan.jfif", true},
                                           Match{"anim.Gif", true}, Match{"KTRlogo.png", true},
                                           Match{"notes.txt", false}, Match{"picture.png.bak", false},
                                           Match{"jpg", false}, Match{"list.ktr", false}));

TEST(PictureFilter, SeveralEntriesBecomeSeveralQtFilters)
{
    EXPECT_EQ(COptionsEditor::QtFilterFromWindows("Lists |*.ktr|All Files (*.*)|*.*||"),
              "Lists (*.[Kk][Tt][Rr]);;All Files (*.*)(*.*)");
    EXPECT_EQ(COptionsEditor::QtFilterFromWindows(""), "");
}
}
