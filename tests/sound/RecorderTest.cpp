// The recorder against the private PulseAudio server that scripts/test starts: its
// default source is a 900 Hz tone standing in for the microphone, its sink a null sink.
#include "CMessageLog.h"
#include "sound/CPulseConnection.h"
#include "sound/CSoundRecorder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include "WaveFiles.h"
#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <csignal>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::string folderOf(const QTemporaryDir& dir)
{
    return dir.path().toStdString();
}

struct WaveInfo {
    SF_INFO info{};
    std::vector<short> samples;
};

WaveInfo readWave(const std::string& path)
{
    WaveInfo w;
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &w.info);
    if (!f)
        return w;
    w.samples.resize(size_t(w.info.frames * w.info.channels));
    sf_readf_short(f, w.samples.data(), w.info.frames);
    sf_close(f);
    return w;
}

class Recorder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        recorder.SetFolder(folderOf(dir));
    }
    QTemporaryDir dir;
    CMessageLog log;
    CSoundRecorder recorder;
};
}

TEST_F(Recorder, RecordsOneSecondIntoTempWordWithTheSignalFromTheStart)
{
    ASSERT_EQ(recorder.Record(), 1) << (log.entries.empty() ? "" : log.entries[0].text);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(recorder.Stop(), 1);
    EXPECT_TRUE(log.entries.empty());
    EXPECT_FALSE(recorder.IsOpen());

    const std::string path = folderOf(dir) + "/TempWord.wav";
    std::ifstream raw(path, std::ios::binary);
    char riff[4] = {};
    raw.read(riff, 4);
    EXPECT_EQ(std::string(riff, 4), "RIFF");
    const WaveInfo w = readWave(path);
    EXPECT_EQ(w.info.samplerate, 44100);
    EXPECT_EQ(w.info.channels, 2);
    EXPECT_EQ(w.info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_16);
    // The test server's microphone delivers its tone in 10 ms blocks as it happens, so
    // a second's recording is a second, give or take a few blocks.
    EXPECT_GE(double(w.info.frames) / 44100.0, 0.95);
    EXPECT_LE(double(w.info.frames) / 44100.0, 1.15);
    // The sine is there within the first 50 ms.
    int loud = 0;
    for (size_t i = 0; i < std::min<size_t>(w.samples.size(), 2 * 2205); ++i)
        if (std::abs(w.samples[i]) > 1000)
            ++loud;
    EXPECT_GT(loud, 100);
}

TEST_F(Recorder, PlayReturnsAfterTheSoundsLengthAndNotMuchLater)
{
    const std::string path = folderOf(dir) + "/cat.wav";
    WriteWave(path, 44100, 2, SF_FORMAT_PCM_16, 0.8);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(recorder.Play(path), 1);
    const qint64 ms = timer.elapsed();
    EXPECT_TRUE(log.entries.empty());
    EXPECT_GE(ms, 700);
    // The test server's null sink drains in blocks of up to two seconds.
    EXPECT_LT(ms, 3500);
}

struct Format {
    const char* name;
    int rate;
    int channels;
    int format;
};

class PlayFormats : public ::testing::TestWithParam<Format> {};

TEST_P(PlayFormats, PlaysAnyWaveFileAtItsOwnRate)
{
    QTemporaryDir dir;
    CMessageLog log;
    CSoundRecorder recorder;
    const std::string path = dir.path().toStdString() + "/word.wav";
    WriteWave(path, GetParam().rate, GetParam().channels, GetParam().format, 0.3);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(recorder.Play(path), 1);
    EXPECT_GE(timer.elapsed(), 250);
    EXPECT_TRUE(log.entries.empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, PlayFormats,
                         ::testing::Values(Format{"Mono8k", 8000, 1, SF_FORMAT_PCM_U8},
                                           Format{"Stereo22k24", 22050, 2, SF_FORMAT_PCM_24},
                                           Format{"MonoFloat48k", 48000, 1, SF_FORMAT_FLOAT}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(Recorder, SaveCopiesTheTemporaryRecordingUnderTheWordsName)
{
    ASSERT_EQ(recorder.Record(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(recorder.Stop(), 1);
    const std::string word = folderOf(dir) + "/dog.wav";
    EXPECT_EQ(recorder.Save(word), 1);
    EXPECT_GT(readWave(word).info.frames, 0);
    EXPECT_FALSE(recorder.IsOpen());
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(Recorder, PlayingAMissingFileNamesTheFullPathOnly)
{
    const std::string path = folderOf(dir) + "/missing.wav";
    EXPECT_EQ(recorder.Play(path), 0);
    ASSERT_EQ(log.entries.size(), 1u);
    const std::string& text = log.entries[0].text;
    EXPECT_NE(text.find("\r\nError opening device for waveaudio " + path), std::string::npos) << text;
    EXPECT_GT(text.find("\r\nError opening"), 0u); // the sound layer's own text comes first
}

TEST_F(Recorder, PlayWithNoNameAndNoRecordingNamesTheTemporaryFile)
{
    EXPECT_EQ(recorder.Play(""), 0);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_NE(log.entries[0].text.find("Error opening device for waveaudio " + folderOf(dir) + "/TempWord.wav"),
              std::string::npos);
}

TEST_F(Recorder, StopWithoutARecordingShowsStopThenOpenThenSave)
{
    EXPECT_EQ(recorder.Stop(), 0);
    ASSERT_EQ(log.entries.size(), 3u);
    EXPECT_NE(log.entries[0].text.find("\r\nError trying to Stop."), std::string::npos);
    EXPECT_NE(log.entries[1].text.find("\r\nError opening device for waveaudio "), std::string::npos);
    EXPECT_NE(log.entries[2].text.find("\r\nError trying to Save sound."), std::string::npos);
    EXPECT_FALSE(recorder.IsOpen());
}

TEST_F(Recorder, SaveIntoAFolderThatIsNoFolderFailsWithTheSaveMessage)
{
    ASSERT_EQ(recorder.Record(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_EQ(recorder.Stop(), 1);
    std::ofstream(folderOf(dir) + "/plain-file") << "x";
    EXPECT_EQ(recorder.Save(folderOf(dir) + "/plain-file/word.wav"), 0);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_NE(log.entries[0].text.find("\r\nError trying to Save sound."), std::string::npos);
}

TEST_F(Recorder, AWordWithASlashFailsToSaveInsteadOfWritingElsewhere)
{
    ASSERT_EQ(recorder.Record(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_EQ(recorder.Stop(), 1);
    EXPECT_EQ(recorder.Save(folderOf(dir) + "/up/down.wav"), 0);
    EXPECT_FALSE(QDir(dir.path() + "/up").exists());
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_NE(log.entries[0].text.find("Error trying to Save sound."), std::string::npos);
}

TEST_F(Recorder, SetFolderMovesWhereTheNextTemporaryRecordingGoes)
{
    QTemporaryDir other;
    recorder.SetFolder(other.path().toStdString());
    ASSERT_EQ(recorder.Record(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_EQ(recorder.Stop(), 1);
    EXPECT_TRUE(QFile::exists(other.path() + "/TempWord.wav"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/TempWord.wav"));
}

TEST(RecorderWithoutServer, RecordShowsTheOpenOrRecordMessagesWithThePulseAudioText)
{
    const QByteArray saved = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:/nonexistent/kelto4-no-server");
    {
        CMessageLog log;
        CSoundRecorder recorder;
        EXPECT_EQ(recorder.Record(), 0);
        ASSERT_FALSE(log.entries.empty());
        EXPECT_NE(log.entries.back().text.find("\r\nError recording word."), std::string::npos);
        EXPECT_NE(log.entries.back().text.find("Connection refused"), std::string::npos) << log.entries.back().text;
        EXPECT_FALSE(recorder.IsOpen());
    }
    qputenv("PULSE_SERVER", saved);
}

// libpulse starts a missing server inside its connect call and waits for it there,
// beyond any bound of the program's. Here the "server" it would start takes half a
// minute to come up: Record must still fail within its bound and say no server runs.
// libpulse never starts a server for root, so the probe runs as "nobody" then.
TEST(RecorderWithoutServer, NeverStartsAServerAndSaysNoneIsRunning)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string probe = folder + "/probe";
    ASSERT_TRUE(QFile::copy(QStringLiteral(CONNECT_PROBE), QString::fromStdString(probe)));
    std::ofstream(folder + "/slow-server") << "#!/bin/sh\nsleep 30\n";
    std::ofstream(folder + "/client.conf") << "autospawn = yes\ndaemon-binary = " << folder
                                           << "/slow-server\nauto-connect-localhost = no\n"
                                              "auto-connect-display = no\n";
    const std::string run = folder + "/run";
    ASSERT_EQ(::mkdir(run.c_str(), 0700), 0);
    const bool root = ::geteuid() == 0;
    const uid_t nobody = 65534;
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    for (const std::string& file : {probe, folder + "/slow-server"})
        ASSERT_EQ(::chmod(file.c_str(), 0755), 0);
    if (root) {
        ASSERT_EQ(::chown(run.c_str(), nobody, nobody), 0);
    }
    const std::string err = folder + "/err";

    QElapsedTimer timer;
    timer.start();
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        ::dup2(fd, 2);
        if (root && (::setgid(nobody) != 0 || ::setuid(nobody) != 0))
            ::_exit(4);
        ::setenv("PULSE_CLIENTCONFIG", (folder + "/client.conf").c_str(), 1);
        ::setenv("PULSE_RUNTIME_PATH", run.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
        ::setenv("HOME", folder.c_str(), 1);
        ::unsetenv("PULSE_SERVER");
        ::unsetenv("DISPLAY");
        ::execl(probe.c_str(), probe.c_str(), folder.c_str(), static_cast<char*>(nullptr));
        ::_exit(5);
    }
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0 && timer.elapsed() < 20000)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const qint64 ms = timer.elapsed();
    if (ms >= 20000) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    EXPECT_LT(ms, CPulseConnection::kAnswerTime.count() + 2000) << "Record waited for a server to start";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    std::ifstream in(err);
    const std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(message.find("No sound server is running"), std::string::npos) << message;
}
