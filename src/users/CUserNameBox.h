#pragma once
#include "model/COwnedList.h"
#include "model/CUser.h"

class QComboBox;

// The user-name combo box of the log-in and change-password dialogs.
class CUserNameBox {
public:
    // The user-name box's control id in every dialog that has one.
    static constexpr int kControlId = 1030;

    // The names in list order, each put where a sorted combo box puts it (ignoring
    // case); nothing selected and the edit field empty.
    static void Fill(QComboBox* combo, const COwnedList<CUser>& users);
};
