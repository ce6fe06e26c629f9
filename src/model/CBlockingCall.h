#pragma once

// Marks a call that blocks the user-interface thread while it keeps the windows
// painted (playing a word, waiting for the sound server or for the user file). While
// one runs, work that the event loop would start meanwhile (a list handed over by the
// file manager, a posted command) waits until it has returned, so that nothing resets
// a page or closes the sound device under the blocked call.
class CBlockingCall {
public:
    CBlockingCall();
    ~CBlockingCall();
    CBlockingCall(const CBlockingCall&) = delete;
    CBlockingCall& operator=(const CBlockingCall&) = delete;

    static bool IsRunning();
};
