#include "platform/CAccessibleChoice.h"

#include <QAbstractButton>
#include <QRadioButton>

namespace {
const char* const kMarked = "kelto4Choice";

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    auto* button = qobject_cast<QAbstractButton*>(object);
    if (button && button->property(kMarked).toBool())
        return new CAccessibleChoice(button);
    return nullptr;
}
}

CAccessibleChoice::CAccessibleChoice(QAbstractButton* button)
    : QAccessibleWidget(button, qobject_cast<QRadioButton*>(button) ? QAccessible::RadioButton : QAccessible::CheckBox)
{
}

void CAccessibleChoice::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

void CAccessibleChoice::Mark(QAbstractButton* button)
{
    button->setProperty(kMarked, true);
}

QAbstractButton* CAccessibleChoice::Button() const
{
    return static_cast<QAbstractButton*>(widget());
}

QString CAccessibleChoice::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
        QString caption = Button()->text();
        caption.remove(QLatin1Char('&'));
        return caption;
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State CAccessibleChoice::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = Button()->isChecked();
    return s;
}

QStringList CAccessibleChoice::actionNames() const
{
    if (!widget()->isEnabled())
        return QAccessibleWidget::actionNames();
    return QStringList{toggleAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void CAccessibleChoice::doAction(const QString& actionName)
{
    if (actionName == toggleAction() || actionName == pressAction()) {
        if (widget()->isEnabled())
            Button()->click();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}
