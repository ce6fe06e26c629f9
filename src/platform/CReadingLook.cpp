#include "platform/CReadingLook.h"

#include "platform/CQtText.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QWidget>

namespace {
// The size a widget had before a reading style first changed it.
const char* const kBaseSize = "kelto4ReadingBase";
}

QFont CReadingLook::Font(const CReadingStyle& style, const QFont& base, double times)
{
    QFont font = base;
    if (style.font.empty()) {
        font.setFamilies({QStringLiteral("Sans Serif")});
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamilies({ToQt(style.font)});
    }
    const double points = base.pointSizeF() > 0 ? base.pointSizeF() : 12.0;
    font.setPointSizeF(points * style.Scale() * times);
    font.setLetterSpacing(QFont::PercentageSpacing, style.LetterSpacingPercent());
    const double space = QFontMetricsF(font).horizontalAdvance(QLatin1Char(' '));
    font.setWordSpacing(space * style.WordSpacingSpaces());
    return font;
}

bool CReadingLook::IsDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

bool CReadingLook::DesktopIsDark()
{
    return IsDark(QGuiApplication::palette());
}

QColor CReadingLook::ToQColor(CReadingStyle::Rgb colour)
{
    return QColor(colour.r, colour.g, colour.b);
}

void CReadingLook::Apply(QWidget* widget, const CReadingStyle& style, double times)
{
    QVariant base = widget->property(kBaseSize);
    if (!base.isValid()) {
        base = widget->font().pointSizeF();
        widget->setProperty(kBaseSize, base);
    }
    QFont sized = widget->font();
    sized.setPointSizeF(base.toDouble());
    widget->setFont(Font(style, sized, times));
    const CReadingStyle::Colours colours = style.GetColours(DesktopIsDark());
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, ToQColor(colours.paper));
        palette.setColor(group, QPalette::Text, ToQColor(colours.text));
    }
    widget->setPalette(palette);
}
