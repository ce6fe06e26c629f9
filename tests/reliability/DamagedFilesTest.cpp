// Every file the program reads, damaged every way a disk or a careless copy can: cut short
// at every early length and at random later ones, one byte changed, a foreign content, an
// empty file, a folder in its place. Each gives its usual message (or plays or draws
// nothing), never crashes or hangs, and stays on disk as it was.
#include "app/CKelto4View.h"
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "ReliabilityContent.h"
#include "users/CUserFile.h"
#include "WaveFiles.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

namespace fs = std::filesystem;
using namespace reliability;

namespace {
struct Damage {
    std::string name;
    std::string bytes;
    bool folder = false;
};

// The damaged forms of one valid file.
std::vector<Damage> DamagedForms(const std::string& valid, const std::string& foreign)
{
    std::vector<Damage> forms;
    std::mt19937 random(static_cast<unsigned>(valid.size()));
    const size_t early = std::min<size_t>(64, valid.size());
    for (size_t n = 0; n < early; ++n)
        forms.push_back({"cut at " + std::to_string(n), valid.substr(0, n)});
    for (int i = 0; i < 10 && valid.size() > 65; ++i) {
        const size_t n = 65 + random() % (valid.size() - 65);
        forms.push_back({"cut at " + std::to_string(n), valid.substr(0, n)});
    }
    for (int i = 0; i < 10; ++i) {
        std::string flipped = valid;
        const size_t at = random() % valid.size();
        flipped[at] = static_cast<char>(flipped[at] ^ (1 << (random() % 8)));
        forms.push_back({"byte " + std::to_string(at) + " changed", flipped});
    }
    forms.push_back({"foreign content", foreign});
    forms.push_back({"empty", std::string()});
    forms.push_back({"a folder", std::string(), true});
    return forms;
}

std::string ReadBytes(const fs::path& path)
{
    std::string bytes;
    CAtomicFile::ReadWholeFile(path.string(), bytes, nullptr);
    return bytes;
}

class DamagedFiles : public ::testing::Test {
protected:
    // Puts each damaged form at path in turn, runs open on it and checks that the messages
    // shown are among allowed and that the file on disk is unchanged.
    void ForEachForm(const std::string& valid, const std::string& foreign, const fs::path& path,
                     const std::function<void()>& open,
                     const std::function<bool(const std::string&)>& allowed)
    {
        for (const Damage& damage : DamagedForms(valid, foreign)) {
            SCOPED_TRACE(path.filename().string() + ": " + damage.name);
            fs::remove_all(path);
            if (damage.folder)
                fs::create_directory(path);
            else
                ASSERT_TRUE(CAtomicFile::WriteFileAtomically(path.string(), damage.bytes, nullptr));
            messages.Clear();
            open();
            for (const std::string& text : messages.Texts())
                EXPECT_TRUE(allowed(text)) << text;
            if (damage.folder)
                EXPECT_TRUE(fs::is_directory(path));
            else
                EXPECT_EQ(ReadBytes(path), damage.bytes) << "the damaged file was changed on disk";
            if (HasFailure())
                return;
        }
    }
    QTemporaryDir dir;
    fs::path folder = dir.path().toStdString();
    CTestAppCore app;
    CMessageLog messages;
};

bool Is(const std::string& text, std::initializer_list<const char*> texts)
{
    for (const char* t : texts)
        if (text == t)
            return true;
    return false;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
}

TEST_F(DamagedFiles, AListOpensWholeOrSaysItCanNot)
{
    CKelto4Doc doc(app);
    const fs::path path = folder / "week.ktr";
    ForEachForm(Encode(ListFor(8)), Encode(GradesFor(3)), path,
                [&] {
                    if (doc.OnOpenDocument(path.string())) {
                        for (const auto& entry : doc.m_wordList)
                            EXPECT_NE(entry, nullptr);
                    }
                },
                [](const std::string& text) { return Is(text, {"Unexpected file format.", "Failed to open document."}); });
}

TEST_F(DamagedFiles, RecordFilesReadSilentlyAndHoldOnlyRecords)
{
    app.m_userFolder = folder.string();
    CKelto4Doc doc(app);
    doc.m_userName = kLearner;
    const auto load = [&] {
        doc.m_gradeList.clear();
        doc.m_missedList.clear();
        doc.LoadUserRecords();
    };
    const auto none = [](const std::string&) { return false; };
    ForEachForm(Encode(GradesFor(4)), Encode(MissedFor(4)), folder / "learner.kt3", load, none);
    ForEachForm(Encode(MissedFor(6)), Encode(UsersFor(4)), folder / "learner.kt4", load, none);
}

TEST_F(DamagedFiles, TheUserFileReadsWholeOrSaysSoAndIsNotWritten)
{
    const CUserFileAccess quick(2, 1);
    ForEachForm(Encode(UsersFor(5)), Encode(ListFor(4)), folder / CUserFile::kFileName,
                [&] {
                    CUserFile file(quick);
                    file.Open(folder.string(), nullptr);
                },
                [](const std::string& text) { return !text.empty(); });
}

TEST_F(DamagedFiles, AWordsSoundPlaysOrSaysItCanNotBeOpened)
{
    // 20 ms of a tone, as the recorder writes its files.
    const fs::path wave = folder / "tone.wav";
    WriteTone(wave.string(), 0.02);
    const std::string valid = ReadBytes(wave);

    CKelto4Doc doc(app);
    const fs::path path = folder / "friend.wav";
    const std::string shown = CPath::FromNative(path.string());
    ForEachForm(valid, Encode(ListFor(2)), path, [&] { doc.m_recorder.Play(shown); },
                [&](const std::string& text) {
                    return EndsWith(text, "\r\nError opening device for waveaudio " + shown) ||
                           EndsWith(text, "Error trying to Play " + shown + ".");
                });
}

TEST_F(DamagedFiles, ABackgroundPictureDrawsOrLeavesThePagePlain)
{
    const fs::path png = folder / "logo.png";
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(QString::fromStdString(png.string())));
    const fs::path jpeg = folder / "logo.jpg";
    ASSERT_TRUE(image.save(QString::fromStdString(jpeg.string())));

    CKelto4Doc doc(app);
    CKelto4View page(&doc);
    page.resize(320, 200);
    for (const fs::path& valid : {png, jpeg}) {
        const fs::path path = folder / ("picture" + valid.extension().string());
        doc.m_picture = CPath::FromNative(path.string());
        for (int mode : {0, 1}) {
            doc.m_pictureMode = mode;
            ForEachForm(ReadBytes(valid), Encode(ListFor(1)), path, [&] { EXPECT_FALSE(page.grab().isNull()); },
                        [](const std::string&) { return false; });
        }
    }
}
