#pragma once
#include <functional>
#include <string>

// The one way any part of the program shows a message box. Widget-free code calls
// ShowMessage; the GUI installs a handler that shows a modal box titled "Kelto4"
// (tests install one that answers). Texts are Windows-1252 bytes.
enum class MsgIcon { None, Exclamation, Information, Question, Stop };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum MsgResult { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

using MessageHandler = std::function<int(const std::string& text, MsgIcon icon, MsgButtons buttons)>;

int ShowMessage(const std::string& text, MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);
// Returns the previous handler. With no handler set, messages go to standard error
// and the answer is OK (or Yes).
MessageHandler SetMessageHandler(MessageHandler handler);
