// Lists made without typing, through the real window: New List from a Rule (menu, start
// page and dialog), File > Import Words and a file dropped on the words page, File >
// Export Words.
#include "app/CKelto4View.h"
#include "app/CMainFrame.h"
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "document/CWordFile.h"
#include "PageTestSupport.h"
#include "platform/CCommandManager.h"
#include "platform/CDialogService.h"
#include "platform/CommandIds.h"
#include "spelling/CWordBank.h"
#include "words/CRuleListDlg.h"
#include "words/CWords.h"

#include <QComboBox>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <set>

namespace {
const CWordBank& Bank()
{
    static const CWordBank bank = [] {
        CWordBank b;
        EXPECT_TRUE(b.Load(KELTO4_BANK_FILE, nullptr));
        return b;
    }();
    return bank;
}

std::vector<std::string> ListedWords(const CKelto4Doc& doc)
{
    std::vector<std::string> words;
    for (const auto& entry : doc.m_wordList)
        words.push_back(entry->m_word);
    return words;
}

// Picks rule, level and number in the dialog's own controls and clicks OK.
void Fill(QWidget* dialog, const char* rule, int level, int number)
{
    auto* rules = FindControl<QComboBox>(dialog, CRuleListDlg::IDC_RULE);
    ASSERT_NE(rules, nullptr);
    rules->setCurrentIndex(rules->findText(QString::fromLatin1(rule)));
    ASSERT_GE(rules->currentIndex(), 0) << rule;
    FindControl<QComboBox>(dialog, CRuleListDlg::IDC_LEVEL)->setCurrentIndex(level - 1);
    FindControl<QSpinBox>(dialog, CRuleListDlg::IDC_NUMBER)->setValue(number);
    Click(dialog, IDOK);
}

struct RuleCase {
    const char* rule;
    int level;
    int asked;
    std::size_t made;
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.rule << " " << c.level << " " << c.asked; }

class RuleDialog : public ::testing::TestWithParam<RuleCase> {};

TEST_P(RuleDialog, MakesAListOfTheAskedSizeFromTheRulesBank)
{
    const RuleCase& c = GetParam();
    CRuleListDlg dialog(Bank(), nullptr, 1234);
    EXPECT_EQ(FindControl<QSpinBox>(&dialog, CRuleListDlg::IDC_NUMBER)->value(), 12);
    Fill(&dialog, c.rule, c.level, c.asked);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(dialog.Words().size(), c.made);
    // The level's own words first; a small level is made up from the nearest levels.
    const CRuleGroups::Rule rule = CWordBank::FindTopic(c.rule)->rule;
    const auto& level = Bank().Words(rule, c.level);
    for (std::size_t i = 0; i < dialog.Words().size(); ++i) {
        const std::string& word = dialog.Words()[i];
        const bool ofLevel = std::find(level.begin(), level.end(), word) != level.end();
        EXPECT_EQ(ofLevel, i < level.size()) << word;
        bool inBank = false;
        for (int l = 1; l <= CWordBank::kLevels; ++l)
            for (const std::string& w : Bank().Words(rule, l))
                inBank = inBank || w == word;
        EXPECT_TRUE(inBank) << word;
    }
    EXPECT_EQ(std::set<std::string>(dialog.Words().begin(), dialog.Words().end()).size(), c.made);
    EXPECT_EQ(dialog.Title(), std::string(c.rule) + ", level " + std::to_string(c.level));
}

INSTANTIATE_TEST_SUITE_P(Sizes, RuleDialog,
                         ::testing::Values(RuleCase{"ie and ei", 1, 12, 12}, RuleCase{"doubled letters", 3, 40, 40},
                                           RuleCase{"plurals", 2, 5, 5}, RuleCase{"ze", 1, 12, 12},
                                           RuleCase{"suffixes", 1, 99, 40}));

class ListsWithoutTyping : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.SetDefaultSoundFolder(dir.path().toStdString());
        frame = std::make_unique<CMainFrame>(&doc);
        doc.OnNewDocument();
        doc.SendInitialUpdate();
        frame->show();
    }
    void TearDown() override
    {
        CDialogService::SetAnswerer({});
        app.SetDefaultSoundFolder("");
    }
    void Answer(const QString& path)
    {
        CDialogService::SetAnswerer([path](const CDialogService::Request&) -> std::optional<QVariant> {
            return QVariant(path);
        });
    }
    QListWidget* WordsList() const { return FindControl<QListWidget>(frame->Page(PAGE_WORDS), 1001); }

    CTestAppCore app;
    CKelto4Doc doc{app};
    CMessageLog log;
    QTemporaryDir dir;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ListsWithoutTyping, NewListFromARuleAsksToSaveChangesThenShowsTheWordsTitledAfterTheRule)
{
    AddWords(doc, {"cat"});
    doc.SetModifiedFlag(true);
    log.answers.push_back(IDNO);
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<CRuleListDlg*>(w); dialog && dialog->isVisible())
                Fill(dialog, "ie and ei", 1, 12);
    });
    EXPECT_TRUE(frame->Commands().Execute(ID_FILE_NEW_FROM_RULE));
    EXPECT_EQ(log.Texts(), std::vector<std::string>{"Save changes to Untitled?"});
    EXPECT_EQ(doc.m_wordList.size(), 12u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "ie and ei, level 1");
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("ie and ei, level 1 - Keltora 3"));
    EXPECT_EQ(frame->m_currentPage, PAGE_WORDS);
    EXPECT_EQ(WordsList()->count(), 12);
    EXPECT_TRUE(doc.m_wordList.front()->m_soundFolder.empty());
}

TEST_F(ListsWithoutTyping, StartPageButtonAsksForANewListFromARule)
{
    Click(frame->Page(PAGE_START), CKelto4View::IDC_NEW_FROM_RULE);
    EXPECT_EQ(app.posted, std::vector<int>{ID_FILE_NEW_FROM_RULE});
}

TEST_F(ListsWithoutTyping, ImportAppendsTheFilesWordsAsIfTypedAndSumsUp)
{
    AddWords(doc, {"piece"}, dir.path().toStdString());
    doc.SendInitialUpdate();
    Answer(QStringLiteral(KELTO4_WORDS_DATA "/quoted.csv"));
    EXPECT_TRUE(frame->Commands().Execute(ID_FILE_IMPORT_WORDS));
    EXPECT_EQ(ListedWords(doc), (std::vector<std::string>{"piece", "friend", "ice cream"}));
    EXPECT_EQ(doc.m_wordList.back()->m_soundFolder, dir.path().toStdString());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(frame->m_currentPage, PAGE_WORDS);
    EXPECT_EQ(WordsList()->count(), 3);
    EXPECT_EQ(log.Texts(), std::vector<std::string>{"Imported 2 words; 1 skipped: already in the list."});
}

TEST_F(ListsWithoutTyping, AFileThatCanNotBeReadSaysWhyAndChangesNothing)
{
    AddWords(doc, {"piece"});
    doc.SendInitialUpdate();
    Answer(dir.path());
    EXPECT_TRUE(frame->Commands().Execute(ID_FILE_IMPORT_WORDS));
    EXPECT_EQ(ListedWords(doc), std::vector<std::string>{"piece"});
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(frame->m_currentPage, PAGE_START);
    ASSERT_EQ(log.Texts().size(), 1u);
    EXPECT_NE(log.Texts()[0].find("is not a file"), std::string::npos);
}

TEST_F(ListsWithoutTyping, AFileDroppedOnTheWordsPageIsImported)
{
    ASSERT_TRUE(frame->Commands().Execute(ID_VIEW_WORDS));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral(KELTO4_WORDS_DATA "/week1.kvtml"))});
    QWidget* page = frame->Page(PAGE_WORDS);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page, &drop);
    EXPECT_EQ(ListedWords(doc), (std::vector<std::string>{"friend", "na\xEFve"}));
    EXPECT_EQ(WordsList()->count(), 2);
}

TEST_F(ListsWithoutTyping, ExportWritesTextOrKvtmlThatImportsAsTheSameWords)
{
    const std::vector<std::string> words = {"friend", "na\xEFve", "ice cream"};
    AddWords(doc, words);
    doc.SendInitialUpdate();
    for (const char* name : {"week1", "week1.kvtml"}) {
        Answer(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(frame->Commands().Execute(ID_FILE_EXPORT_WORDS));
    }
    for (const char* name : {"week1.txt", "week1.kvtml"}) {
        std::vector<std::string> entries;
        std::string error;
        ASSERT_TRUE(CWordFile::Read(dir.filePath(QString::fromLatin1(name)).toStdString(), entries, error)) << error;
        EXPECT_EQ(entries, (std::vector<std::string>{"friend", "na\xC3\xAFve", "ice cream"})) << name;
    }
    EXPECT_TRUE(log.Texts().empty());
}
}
