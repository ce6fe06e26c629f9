#pragma once

// What CUserFile does while the user file is busy in another copy of the program:
// the GUI shows the wait dialog and keeps its windows painted; a widget-free caller
// simply sleeps. BeginWait comes once before the first attempt on an existing file,
// Pause between attempts, EndWait once at the end, whatever the outcome.
class CUserFileWaiter {
public:
    virtual ~CUserFileWaiter() = default;
    virtual void BeginWait() {}
    virtual void Pause(int milliseconds);
    virtual void EndWait() {}
};
