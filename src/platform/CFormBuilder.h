#pragma once
#include <QFont>
#include <QRect>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTextEdit;
class QWidget;

// Makes the controls of a page or dialog, each carrying its numeric control id, as
// children of one form. The form arranges them with Qt layouts of its own; the order
// of the calls is the order Tab visits them in. Clicks of buttons, check boxes and
// radio buttons call the form's command handler with the control's id.
class CFormBuilder {
public:
    using CommandHandler = std::function<void(int id)>;

    CFormBuilder(QWidget* form, CommandHandler onCommand);

    // The page's title line, centred and a little larger than the page's text.
    QLabel* Title(const char* text);
    QFrame* Rule();
    // Static text that wraps; "\n\r" shows as one line break but the label still
    // answers its text as written. A label with a field names it for screen readers
    // and moves the focus to it.
    QLabel* Label(const char* text, QWidget* field = nullptr);
    QGroupBox* Group(const char* title);
    QPushButton* Button(int id, const char* text);
    // An invisible push button that receives the Enter key.
    QPushButton* HiddenDefault(int id, const char* text);
    QLineEdit* Edit(int id);
    QLineEdit* ReadOnlyEdit(int id);
    QLineEdit* PasswordEdit(int id);
    // Read-only, multi-line; centred lines when centred.
    QTextEdit* MultiLineEdit(int id, bool centred = false);
    QCheckBox* CheckBox(int id, const char* text);
    QRadioButton* Radio(int id, const char* text);
    // Editable and sorted, as the user-name boxes want it.
    QComboBox* ComboBox(int id);
    QSlider* Slider(int id);
    // A widget of the form's own, given its id.
    template <class W>
    W* Own(W* widget, int id)
    {
        Adopt(widget, id);
        return widget;
    }

    // The id of the hidden default button, or 0.
    int DefaultButton() const { return m_defaultButton; }

    // What a screen reader calls a field that has no label of its own.
    static void Name(QWidget* field, const QString& name);
    // Alt with letter presses button (or ticks the box) or, for any other control,
    // puts the focus on it; the caption keeps its text and the letter is underlined.
    static void SetMnemonic(QWidget* control, QChar letter);
    static QChar Mnemonic(const QWidget* control);

    // The dialog base units of font: the average width of the Latin letters (halved,
    // rounded) and the font's height. A dialog unit is a quarter of the first across
    // and an eighth of the second down.
    static QSize BaseUnits(const QFont& font);
    static QRect DluToPixels(const QFont& font, int x, int y, int cx, int cy);

    // The text of an edit, combo box, button or label, as Windows-1252 text.
    static std::string GetText(const QWidget* control);
    // Sets it; a multi-line field shows "\r\n" as a line break. An edit whose text is
    // already equal keeps its cursor.
    static void SetText(QWidget* control, const std::string& text);

private:
    void Adopt(QWidget* widget, int id);
    void Connect(QWidget* button, int id);

    QWidget* m_form;
    CommandHandler m_onCommand;
    int m_defaultButton = 0;
};
