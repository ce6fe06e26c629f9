#pragma once
#include "platform/CReadingStyle.h"

#include <QColor>
#include <QFont>
#include <QPalette>

class QWidget;

// A reading style (CReadingStyle) as Qt draws it: the font and the colours of the
// controls a learner reads.
class CReadingLook {
public:
    // The style's font: its family (or the plain sans-serif), base's size times the
    // style's scale and times, and the wider letters and spaces.
    static QFont Font(const CReadingStyle& style, const QFont& base, double times = 1.0);
    // Does the desktop's theme draw light text on dark windows?
    static bool IsDark(const QPalette& palette);
    static bool DesktopIsDark();
    static QColor ToQColor(CReadingStyle::Rgb colour);
    // Gives widget the style's font (times its own size before any style was applied)
    // and the paper and text colours of the desktop's theme.
    static void Apply(QWidget* widget, const CReadingStyle& style, double times = 1.0);
};
