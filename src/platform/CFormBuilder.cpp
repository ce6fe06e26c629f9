#include "platform/CFormBuilder.h"

#include "platform/CAccessibleChoice.h"
#include "platform/CControlIds.h"
#include "platform/CQtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QTextEdit>

namespace {
const char* const kRawText = "kelto4RawText";
const char* const kMnemonic = "kelto4Mnemonic";

QString SpokenName(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.remove(QLatin1Char('\r'));
    text = text.simplified();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}
} // namespace

CFormBuilder::CFormBuilder(QWidget* form, CommandHandler onCommand)
    : m_form(form)
    , m_onCommand(std::move(onCommand))
{
    CAccessibleChoice::Install();
}

void CFormBuilder::Adopt(QWidget* widget, int id)
{
    // Joined to the form in order, which is the Tab order: a widget the form made
    // earlier leaves and joins again at the end; a later move into a group box of the
    // same window keeps its place.
    if (widget->parentWidget())
        widget->setParent(nullptr);
    widget->setParent(m_form);
    if (id)
        SetControlId(widget, id);
}

void CFormBuilder::Connect(QWidget* button, int id)
{
    QObject::connect(static_cast<QAbstractButton*>(button), &QAbstractButton::clicked, m_form, [handler = m_onCommand, id] {
        if (handler)
            handler(id);
    });
}

QLabel* CFormBuilder::Title(const char* text)
{
    QLabel* label = Label(text);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QFrame* CFormBuilder::Rule()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    Adopt(line, 0);
    return line;
}

QLabel* CFormBuilder::Label(const char* text, QWidget* field)
{
    auto* label = new QLabel(ToQtDisplay(text ? text : ""));
    label->setProperty(kRawText, QByteArray(text ? text : ""));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setWordWrap(true);
    Adopt(label, 0);
    if (field) {
        label->setBuddy(field);
        Name(field, SpokenName(label->text()));
    }
    return label;
}

QGroupBox* CFormBuilder::Group(const char* title)
{
    auto* box = new QGroupBox(ToQt(title));
    Adopt(box, 0);
    return box;
}

QPushButton* CFormBuilder::Button(int id, const char* text)
{
    auto* button = new QPushButton(ToQt(text));
    button->setAutoDefault(false);
    Adopt(button, id);
    Connect(button, id);
    return button;
}

QPushButton* CFormBuilder::HiddenDefault(int id, const char* text)
{
    QPushButton* button = Button(id, text);
    button->setVisible(false);
    m_defaultButton = id;
    return button;
}

QLineEdit* CFormBuilder::Edit(int id)
{
    auto* edit = new QLineEdit;
    Adopt(edit, id);
    return edit;
}

QLineEdit* CFormBuilder::ReadOnlyEdit(int id)
{
    QLineEdit* edit = Edit(id);
    edit->setReadOnly(true);
    return edit;
}

QLineEdit* CFormBuilder::PasswordEdit(int id)
{
    QLineEdit* edit = Edit(id);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QTextEdit* CFormBuilder::MultiLineEdit(int id, bool centred)
{
    auto* edit = new QTextEdit;
    edit->setReadOnly(true);
    edit->setAcceptRichText(false);
    edit->setProperty("kelto4Centred", centred);
    Adopt(edit, id);
    return edit;
}

QCheckBox* CFormBuilder::CheckBox(int id, const char* text)
{
    // Marked before it has a parent, so that a screen reader never meets it with
    // Qt's own interface.
    auto* box = new QCheckBox;
    CAccessibleChoice::Mark(box);
    box->setText(ToQt(text));
    Adopt(box, id);
    Connect(box, id);
    return box;
}

QRadioButton* CFormBuilder::Radio(int id, const char* text)
{
    auto* radio = new QRadioButton;
    CAccessibleChoice::Mark(radio);
    radio->setText(ToQt(text));
    Adopt(radio, id);
    Connect(radio, id);
    return radio;
}

QComboBox* CFormBuilder::ComboBox(int id)
{
    auto* combo = new QComboBox;
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::InsertAlphabetically);
    Adopt(combo, id);
    return combo;
}

QSlider* CFormBuilder::Slider(int id)
{
    auto* slider = new QSlider(Qt::Horizontal);
    Adopt(slider, id);
    return slider;
}

void CFormBuilder::Name(QWidget* field, const QString& name)
{
    field->setAccessibleName(name);
}

void CFormBuilder::SetMnemonic(QWidget* control, QChar letter)
{
    const QKeySequence keys(QKeyCombination(Qt::AltModifier, Qt::Key(letter.toUpper().unicode())));
    control->setProperty(kMnemonic, QString(letter));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setShortcut(keys);
        return;
    }
    // A field is reached through its label's letter: the focus moves to it.
    auto* shortcut = new QShortcut(keys, control);
    QObject::connect(shortcut, &QShortcut::activated, control, [control] { control->setFocus(Qt::ShortcutFocusReason); });
    for (QLabel* label : control->window()->findChildren<QLabel*>())
        if (label->buddy() == control)
            label->setProperty(kMnemonic, QString(letter));
}

QChar CFormBuilder::Mnemonic(const QWidget* control)
{
    const QString letter = control ? control->property(kMnemonic).toString() : QString();
    return letter.isEmpty() ? QChar() : letter.front();
}

QSize CFormBuilder::BaseUnits(const QFont& font)
{
    const QFontMetrics fm(font);
    const int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((letters / 26 + 1) / 2, fm.height());
}

QRect CFormBuilder::DluToPixels(const QFont& font, int x, int y, int cx, int cy)
{
    const QSize base = BaseUnits(font);
    return QRect(x * base.width() / 4, y * base.height() / 8, cx * base.width() / 4, cy * base.height() / 8);
}

std::string CFormBuilder::GetText(const QWidget* w)
{
    if (auto* edit = qobject_cast<const QLineEdit*>(w))
        return FromQt(edit->text());
    if (auto* text = qobject_cast<const QTextEdit*>(w))
        return FromQt(text->toPlainText());
    if (auto* combo = qobject_cast<const QComboBox*>(w))
        return FromQt(combo->currentText());
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return FromQt(button->text());
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        const QVariant raw = label->property(kRawText);
        return raw.isValid() ? raw.toByteArray().toStdString() : FromQt(label->text());
    }
    return std::string();
}

void CFormBuilder::SetText(QWidget* w, const std::string& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (FromQt(edit->text()) != text)
            edit->setText(ToQt(text));
    } else if (auto* multi = qobject_cast<QTextEdit*>(w)) {
        multi->setPlainText(ToQtDisplay(text));
        if (multi->property("kelto4Centred").toBool()) {
            multi->selectAll();
            multi->setAlignment(Qt::AlignHCenter);
            QTextCursor cursor = multi->textCursor();
            cursor.clearSelection();
            multi->setTextCursor(cursor);
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setEditText(ToQt(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(ToQt(text));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setProperty(kRawText, QByteArray::fromStdString(text));
        label->setText(ToQtDisplay(text));
    }
}
