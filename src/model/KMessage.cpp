#include "model/KMessage.h"

#include <cstdio>
#include <utility>

namespace {
MessageHandler& handler()
{
    static MessageHandler h;
    return h;
}
}

int ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons)
{
    if (handler())
        return handler()(text, icon, buttons);
    std::fprintf(stderr, "Kelto4: %s\n", text.c_str());
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? IDYES : IDOK;
}

MessageHandler SetMessageHandler(MessageHandler h)
{
    return std::exchange(handler(), std::move(h));
}
