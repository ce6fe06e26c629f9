#include "platform/CControlIds.h"

#include <QVariant>

static const char* const kIdProperty = "kelto4ControlId";

void SetControlId(QWidget* widget, int id)
{
    widget->setProperty(kIdProperty, id);
}

int GetControlId(const QWidget* widget)
{
    const QVariant v = widget ? widget->property(kIdProperty) : QVariant();
    return v.isValid() ? v.toInt() : 0;
}
