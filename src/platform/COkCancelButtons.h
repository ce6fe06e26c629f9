#pragma once
#include <QDialogButtonBox>

class QDialog;

// OK and Cancel for a dialog laid out with Qt layouts: they carry the control ids 1 and 2 that
// the program's other dialogs give them (so tests and screen readers find them alike), and
// end the dialog through its accept() and reject().
class COkCancelButtons : public QDialogButtonBox {
    Q_OBJECT
public:
    explicit COkCancelButtons(QDialog* dialog);
};
