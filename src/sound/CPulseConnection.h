#pragma once
#include <chrono>
#include <functional>
#include <string>

struct pa_context;
struct pa_operation;
struct pa_stream;
struct pa_threaded_mainloop;

// One connection to the PulseAudio server, served by its own event thread. Every
// wait for the server has a deadline, so a server that stops answering makes the
// waiting call fail with kNoAnswer instead of hanging the program.
class CPulseConnection {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr const char* kNoAnswer = "The sound server did not answer.";
    // How long the server may take over one answer (connecting, a query, a stop).
    static constexpr std::chrono::milliseconds kAnswerTime{3000};

    CPulseConnection() = default;
    // Disconnects without waiting for the server.
    ~CPulseConnection();
    CPulseConnection(const CPulseConnection&) = delete;
    CPulseConnection& operator=(const CPulseConnection&) = delete;

    // Connects to a running server, never starting one: libpulse would wait for a server
    // it starts inside the connect call, beyond any bound. Without a server it fails
    // with kNoServer after the library's reason.
    bool Connect(const char* appName);
    static constexpr const char* kNoServer =
        " No sound server is running, so no sound can be played or recorded now. Logging out and in again"
        " usually starts it.";

    // Holds the event thread's lock. Everything that touches the context or its
    // streams does so under it; callbacks already run with it held.
    class Lock {
    public:
        explicit Lock(CPulseConnection& pulse);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* m_loop;
    };

    // Under the lock: waits until done() holds, the connection fails or the deadline
    // passes; false (and ErrorText set) unless done() held.
    bool WaitUntil(const std::function<bool()>& done, Clock::time_point deadline);
    // Under the lock: waits up to kAnswerTime for op to finish and releases it. A
    // late operation is cancelled, so its callback never runs afterwards.
    bool Wait(pa_operation* op);
    // Under the lock: waits up to kAnswerTime for a stream being connected to be ready.
    bool WaitReady(pa_stream* stream);
    // Wakes a caller in WaitUntil; callbacks call it when something it may wait for happened.
    void Signal();

    pa_context* Context() const { return m_context; }
    const std::string& ErrorText() const { return m_error; }
    // The server's last error as a sentence.
    std::string ServerErrorText() const;

    // Callbacks that only wake the waiting caller; userdata is the connection.
    static void SignalOnStream(pa_stream* stream, void* connection);
    static void SignalOnSuccess(pa_stream* stream, int success, void* connection);

private:
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    std::string m_error;
};
