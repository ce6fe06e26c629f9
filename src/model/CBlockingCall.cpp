#include "model/CBlockingCall.h"

#include <atomic>

namespace {
std::atomic<int> s_running{0};
}

CBlockingCall::CBlockingCall()
{
    ++s_running;
}

CBlockingCall::~CBlockingCall()
{
    --s_running;
}

bool CBlockingCall::IsRunning()
{
    return s_running.load() > 0;
}
