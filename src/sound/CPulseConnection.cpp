#include "sound/CPulseConnection.h"

#include "model/Cp1252.h"

#include <pulse/pulseaudio.h>

namespace {
struct Alarm {
    CPulseConnection* pulse;
    bool rang = false;
};

void ring(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* user)
{
    auto* alarm = static_cast<Alarm*>(user);
    alarm->rang = true;
    alarm->pulse->Signal();
}

void signalOnContext(pa_context*, void* connection)
{
    static_cast<CPulseConnection*>(connection)->Signal();
}

void signalOnOperation(pa_operation*, void* connection)
{
    static_cast<CPulseConnection*>(connection)->Signal();
}
}

CPulseConnection::~CPulseConnection()
{
    if (m_loop)
        pa_threaded_mainloop_stop(m_loop);
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    if (m_loop)
        pa_threaded_mainloop_free(m_loop);
}

CPulseConnection::Lock::Lock(CPulseConnection& pulse)
    : m_loop(pulse.m_loop)
{
    pa_threaded_mainloop_lock(m_loop);
}

CPulseConnection::Lock::~Lock()
{
    pa_threaded_mainloop_unlock(m_loop);
}

void CPulseConnection::Signal()
{
    pa_threaded_mainloop_signal(m_loop, 0);
}

void CPulseConnection::SignalOnStream(pa_stream*, void* connection)
{
    static_cast<CPulseConnection*>(connection)->Signal();
}

void CPulseConnection::SignalOnSuccess(pa_stream*, int, void* connection)
{
    static_cast<CPulseConnection*>(connection)->Signal();
}

// libpulse speaks the desktop's language in UTF-8; messages are Windows-1252.
std::string CPulseConnection::ServerErrorText() const
{
    return Utf8ToCp1252(pa_strerror(m_context ? pa_context_errno(m_context) : PA_ERR_INTERNAL)) + ".";
}

bool CPulseConnection::Connect(const char* appName)
{
    m_loop = pa_threaded_mainloop_new();
    if (m_loop)
        m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), appName);
    if (!m_context || pa_threaded_mainloop_start(m_loop) < 0) {
        m_error = Utf8ToCp1252(pa_strerror(PA_ERR_INTERNAL)) + ".";
        return false;
    }
    pa_context_set_state_callback(m_context, &signalOnContext, this);
    Lock lock(*this);
    const bool connected =
        pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0
        && WaitUntil([this] { return pa_context_get_state(m_context) == PA_CONTEXT_READY; }, Clock::now() + kAnswerTime);
    if (connected)
        return true;
    if (m_error.empty())
        m_error = ServerErrorText();
    if (pa_context_errno(m_context) == PA_ERR_CONNECTIONREFUSED)
        m_error += kNoServer;
    return false;
}

bool CPulseConnection::WaitUntil(const std::function<bool()>& done, Clock::time_point deadline)
{
    // pa_threaded_mainloop_wait has no time limit: an alarm on the event thread
    // wakes the wait when the deadline comes.
    Alarm alarm{this};
    pa_time_event* timer = nullptr;
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
    if (left > 0)
        timer = pa_context_rttime_new(m_context, pa_rtclock_now() + pa_usec_t(left), &ring, &alarm);
    bool result = false;
    for (;;) {
        if (done()) {
            result = true;
            break;
        }
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context))) {
            m_error = ServerErrorText();
            break;
        }
        if (!timer || alarm.rang) {
            m_error = kNoAnswer;
            break;
        }
        pa_threaded_mainloop_wait(m_loop);
    }
    if (timer)
        pa_threaded_mainloop_get_api(m_loop)->time_free(timer);
    return result;
}

bool CPulseConnection::Wait(pa_operation* op)
{
    if (!op) {
        m_error = ServerErrorText();
        return false;
    }
    pa_operation_set_state_callback(op, &signalOnOperation, this);
    WaitUntil([op] { return pa_operation_get_state(op) != PA_OPERATION_RUNNING; }, Clock::now() + kAnswerTime);
    const pa_operation_state_t state = pa_operation_get_state(op);
    if (state == PA_OPERATION_RUNNING)
        pa_operation_cancel(op);
    else if (state == PA_OPERATION_CANCELLED)
        m_error = ServerErrorText();
    pa_operation_set_state_callback(op, nullptr, nullptr);
    pa_operation_unref(op);
    return state == PA_OPERATION_DONE;
}

bool CPulseConnection::WaitReady(pa_stream* stream)
{
    const bool settled = WaitUntil(
        [stream] {
            const pa_stream_state_t state = pa_stream_get_state(stream);
            return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
        },
        Clock::now() + kAnswerTime);
    if (settled && pa_stream_get_state(stream) != PA_STREAM_READY) {
        m_error = ServerErrorText();
        return false;
    }
    return settled;
}
