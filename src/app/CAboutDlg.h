#pragma once
#include <QDialog>

// "About Kelto4": the program icon and its version.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
