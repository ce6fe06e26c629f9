#pragma once
#include <QAccessibleWidget>

class QAbstractButton;

// What a screen reader sees of a form's check box or radio button. Choosing it
// through its accessibility action clicks it, so the form reacts exactly as it does
// to the mouse and the keyboard (Qt's own interface only toggles the state, which
// the form's handlers never hear of).
class CAccessibleChoice : public QAccessibleWidget {
public:
    explicit CAccessibleChoice(QAbstractButton* button);

    // Registers the interface with Qt's accessibility once per program.
    static void Install();
    // Gives button this interface instead of Qt's; before the button has a parent.
    static void Mark(QAbstractButton* button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QAbstractButton* Button() const;
};
