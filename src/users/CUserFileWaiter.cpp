#include "users/CUserFileWaiter.h"

#include <chrono>
#include <thread>

void CUserFileWaiter::Pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
