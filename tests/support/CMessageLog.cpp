#include "CMessageLog.h"

CMessageLog::CMessageLog()
{
    m_previous = SetMessageHandler([this](const std::string& text, MsgIcon icon, MsgButtons buttons) {
        entries.push_back({text, icon, buttons});
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? int(IDYES) : int(IDOK);
    });
}

CMessageLog::~CMessageLog()
{
    SetMessageHandler(m_previous);
}

std::vector<std::string> CMessageLog::Texts() const
{
    std::vector<std::string> texts;
    for (const Entry& e : entries)
        texts.push_back(e.text);
    return texts;
}
