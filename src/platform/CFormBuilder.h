#pragma once
#include <QFont>
#include <QRect>

#include <functional>
#include <string>

class CFormLayout;
class QWidget;

// One control of a page or dialog template: kind, numeric id (0 = none), text, and
// its place in dialog units. The place only describes the arrangement: the form is
// laid out with Qt layouts (see CFormLayout), so what holds data grows with the form.
struct CFormControl {
    enum Kind {
        Label,         // static text, left-aligned
        CenterLabel,   // static text, centred
        HLine,         // horizontal rule
        GroupBox,
        Button,
        HiddenDefault, // invisible push button that receives the Enter key
        Edit,
        ReadOnlyEdit,
        MultiLineEdit, // read-only, multi-line
        CenterMultiLineEdit, // the same with centred lines
        PasswordEdit,
        CheckBox,
        Radio,
        ComboBox,      // editable, sorted
        ListBox,
        Slider,
    };
    // Which way the control grows when the form is larger than its template.
    // GrowAuto decides from the kind: lists and multi-line fields both ways, one-line
    // fields and sliders sideways, buttons and labels not at all.
    enum Grow : unsigned char { GrowNone = 0, GrowWidth = 1, GrowHeight = 2, GrowBoth = 3, GrowAuto = 4 };
    Kind kind;
    int id;
    const char* text;
    int x, y, cx, cy;
    Grow grow = GrowAuto;
    // What a screen reader calls a field that has no label beside it.
    const char* name = nullptr;
};

// Lays a template out as real widgets; shared by the pages (CFormView) and the
// dialogs (CFormDialog). Positions are dialog units of the form's font:
// x * average character width / 4, y * character height / 8.
class CFormBuilder {
public:
    using CommandHandler = std::function<void(int id)>;

    // Creates the controls as children of parent, each carrying its id, and hands
    // their places to layout. Clicks of buttons, check boxes and radio buttons call
    // onCommand with the control's id. Returns the id of the template's hidden default
    // button, or 0.
    static int Build(QWidget* parent, const CFormControl* controls, int count, CFormLayout& layout,
                     const CommandHandler& onCommand);

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
};
