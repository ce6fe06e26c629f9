// The test PulseAudio server stops answering (SIGSTOP; SIGCONT afterwards): every
// wait of the recorder and the mixer ends within its bound and says why. The server
// is stopped for everyone, so CTest runs these cases alone.
#include "CMessageLog.h"
#include "sound/CMixer.h"
#include "sound/CSoundRecorder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include "WaveFiles.h"
#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

namespace {
const std::string kNoAnswer = "The sound server did not answer.";

pid_t serverPid()
{
    const char* runtime = std::getenv("PULSE_RUNTIME_PATH");
    long pid = 0;
    if (runtime)
        std::ifstream(std::string(runtime) + "/pid") >> pid;
    return pid_t(pid);
}

struct Case {
    const char* name;
    // What the step is given to do, and how long it may take at most.
    std::function<int(CSoundRecorder&, const std::string& folder, std::function<void()> stopServer)> step;
    const char* message; // the step's own message after the error text
    int boundMs;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class ServerStops : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        pid = serverPid();
        ASSERT_GT(pid, 0) << "no test server (PULSE_RUNTIME_PATH/pid)";
        recorder.SetFolder(dir.path().toStdString());
    }
    void TearDown() override { Resume(); }
    void Stop()
    {
        stopped = kill(pid, SIGSTOP) == 0;
    }
    void Resume()
    {
        if (stopped)
            kill(pid, SIGCONT);
        stopped = false;
    }
    pid_t pid = 0;
    bool stopped = false;
    QTemporaryDir dir;
    CMessageLog log;
    CSoundRecorder recorder;
};

TEST_P(ServerStops, TheStepEndsWithinItsBoundAndSaysTheServerDidNotAnswer)
{
    const Case& c = GetParam();
    QElapsedTimer timer;
    timer.start();
    const int result = c.step(recorder, dir.path().toStdString(), [this] { Stop(); });
    const qint64 ms = timer.elapsed();
    Resume();
    EXPECT_EQ(result, 0);
    EXPECT_LT(ms, c.boundMs);
    ASSERT_FALSE(log.entries.empty());
    EXPECT_EQ(log.entries[0].text.substr(0, kNoAnswer.size()), kNoAnswer) << log.entries[0].text;
    EXPECT_NE(log.entries[0].text.find(c.message), std::string::npos) << log.entries[0].text;
    EXPECT_FALSE(recorder.IsOpen());
    // The server answers again, and so does the recorder.
    EXPECT_EQ(recorder.Record(), 1);
    recorder.Close();
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ServerStops,
    ::testing::Values(
        Case{"Record",
             [](CSoundRecorder& r, const std::string&, auto stop) {
                 stop();
                 return r.Record();
             },
             "\r\nError recording word.", 6000},
        Case{"Stop",
             [](CSoundRecorder& r, const std::string& folder, auto stop) {
                 if (!r.Record())
                     return -1;
                 std::this_thread::sleep_for(std::chrono::milliseconds(200));
                 stop();
                 const int result = r.Stop();
                 // What was recorded is still kept.
                 return QFile::exists(QString::fromStdString(folder + "/TempWord.wav")) ? result : -1;
             },
             "\r\nError trying to Stop.", 6000},
        Case{"Play",
             [](CSoundRecorder& r, const std::string& folder, auto stop) {
                 WriteTone(folder + "/cat.wav", 0.5);
                 stop();
                 return r.Play(folder + "/cat.wav");
             },
             "Error trying to Play ", 6000},
        Case{"Drain",
             [](CSoundRecorder& r, const std::string& folder, auto stop) {
                 WriteTone(folder + "/cat.wav", 1.0);
                 std::thread stopper([stop] {
                     std::this_thread::sleep_for(std::chrono::milliseconds(300));
                     stop();
                 });
                 const int result = r.Play(folder + "/cat.wav");
                 stopper.join();
                 return result;
             },
             "Error trying to Play ", 7000}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

TEST(MixerServerStops, EveryQueryEndsWithinAFewSecondsAndFails)
{
    const pid_t pid = serverPid();
    ASSERT_GT(pid, 0);
    CMixer opened;
    ASSERT_TRUE(opened.IsMicrophoneFound());
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    QElapsedTimer timer;
    timer.start();
    const uint32_t volume = opened.GetMicVolume();
    const qint64 queryMs = timer.elapsed();
    timer.restart();
    CMixer fresh;
    const qint64 openMs = timer.elapsed();
    kill(pid, SIGCONT);
    EXPECT_EQ(volume, 0u);
    EXPECT_LT(queryMs, 6000);
    EXPECT_FALSE(fresh.IsMicrophoneFound());
    EXPECT_LT(openMs, 6000);
}
}
