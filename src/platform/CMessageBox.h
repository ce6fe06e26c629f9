#pragma once
#include "model/KMessage.h"

class QWidget;

// Shows the program's messages as modal boxes titled "Kelto4". Install() makes it
// the handler of ShowMessage; tests replace the handler to answer boxes themselves.
class CMessageBox {
public:
    static void Install();
    static int Show(QWidget* parent, const std::string& text, MsgIcon icon, MsgButtons buttons);
};
