#pragma once
#include <QProxyStyle>

// The desktop's style, with the Alt letter of a control (CFormBuilder::SetMnemonic)
// underlined in its caption or in its label's text, as the desktop underlines the
// letters of menus. The captions themselves keep their text.
class CMnemonicStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Wraps the style the application has now; the application takes it over.
    static void Install();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette, bool enabled,
                      const QString& text, QPalette::ColorRole role = QPalette::NoRole) const override;

    // text with "&" before the first letter (either case) of letter, and "&&" for every
    // "&" of its own; text as it is when it lacks the letter.
    static QString Marked(const QString& text, QChar letter);

private:
    using QProxyStyle::QProxyStyle;
};
