#pragma once
#include "model/KMessage.h"

#include <deque>
#include <string>
#include <vector>

// Records every message box while it lives and answers each with the next queued
// answer (OK, or Yes, when none is queued).
class CMessageLog {
public:
    struct Entry {
        std::string text;
        MsgIcon icon;
        MsgButtons buttons;
    };
    CMessageLog();
    ~CMessageLog();
    CMessageLog(const CMessageLog&) = delete;
    CMessageLog& operator=(const CMessageLog&) = delete;

    std::vector<Entry> entries;
    std::deque<int> answers;

    std::vector<std::string> Texts() const;
    void Clear() { entries.clear(); }

private:
    MessageHandler m_previous;
};
