#include "platform/CMnemonicStyle.h"

#include "platform/CFormBuilder.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QWidget>

void CMnemonicStyle::Install()
{
    QApplication::setStyle(new CMnemonicStyle(QStyleFactory::create(QApplication::style()->name())));
}

QString CMnemonicStyle::Marked(const QString& text, QChar letter)
{
    const qsizetype at = text.indexOf(letter, 0, Qt::CaseInsensitive);
    if (at < 0)
        return text;
    QString marked = text;
    marked.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const qsizetype shifted = at + text.left(at).count(QLatin1Char('&'));
    marked.insert(shifted, QLatin1Char('&'));
    return marked;
}

void CMnemonicStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const
{
    const QChar letter = CFormBuilder::Mnemonic(widget);
    const bool label = element == CE_PushButtonLabel || element == CE_CheckBoxLabel || element == CE_RadioButtonLabel;
    if (label && !letter.isNull()) {
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
            QStyleOptionButton marked = *button;
            marked.text = Marked(button->text, letter);
            QProxyStyle::drawControl(element, &marked, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void CMnemonicStyle::drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                                  bool enabled, const QString& text, QPalette::ColorRole role) const
{
    // A label paints itself: the widget is the painter's device.
    const auto* widget = dynamic_cast<const QWidget*>(painter->device());
    const QChar letter = widget && widget->inherits("QLabel") ? CFormBuilder::Mnemonic(widget) : QChar();
    if (!letter.isNull() && !(flags & Qt::TextHideMnemonic)) {
        QProxyStyle::drawItemText(painter, rect, flags | Qt::TextShowMnemonic, palette, enabled,
                                  Marked(text, letter), role);
        return;
    }
    QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, role);
}
