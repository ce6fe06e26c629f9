#pragma once
#include <QList>
#include <QWidget>

// Numeric control ids on widgets, so that code and tests address controls the way
// the page templates number them.
void SetControlId(QWidget* widget, int id);
int GetControlId(const QWidget* widget);

template <class T = QWidget>
T* FindControl(const QWidget* parent, int id)
{
    if (!parent)
        return nullptr;
    const auto children = parent->findChildren<T*>();
    for (T* child : children)
        if (GetControlId(child) == id)
            return child;
    return nullptr;
}
