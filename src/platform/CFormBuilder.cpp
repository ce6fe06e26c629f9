#include "platform/CFormBuilder.h"

#include "platform/CAccessibleChoice.h"
#include "platform/CControlIds.h"
#include "platform/CFormLayout.h"
#include "platform/CQtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTextEdit>

namespace {
const char* const kRawText = "kelto4RawText";
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

int CFormBuilder::Build(QWidget* parent, const CFormControl* controls, int count, CFormLayout& layout,
                        const CommandHandler& onCommand)
{
    CAccessibleChoice::Install();
    int defaultButton = 0;
    for (int i = 0; i < count; ++i) {
        const CFormControl& c = controls[i];
        const QString text = ToQt(c.text ? c.text : "");
        const int id = c.id;
        QWidget* w = nullptr;
        switch (c.kind) {
        case CFormControl::Label:
        case CFormControl::CenterLabel: {
            // A label shows "\n\r" as one line break but still answers its template text.
            auto* label = new QLabel(ToQtDisplay(c.text ? c.text : ""), parent);
            label->setProperty(kRawText, QByteArray(c.text ? c.text : ""));
            label->setAlignment(c.kind == CFormControl::CenterLabel ? Qt::AlignHCenter | Qt::AlignTop
                                                                     : Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            w = label;
            break;
        }
        case CFormControl::HLine: {
            auto* line = new QFrame(parent);
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            w = line;
            break;
        }
        case CFormControl::GroupBox:
            w = new QGroupBox(text, parent);
            w->lower();
            break;
        case CFormControl::Button:
        case CFormControl::HiddenDefault: {
            auto* button = new QPushButton(text, parent);
            button->setAutoDefault(false);
            QObject::connect(button, &QPushButton::clicked, parent, [onCommand, id] {
                if (onCommand)
                    onCommand(id);
            });
            if (c.kind == CFormControl::HiddenDefault)
                defaultButton = id;
            w = button;
            break;
        }
        case CFormControl::Edit:
        case CFormControl::ReadOnlyEdit:
        case CFormControl::PasswordEdit: {
            auto* edit = new QLineEdit(parent);
            edit->setReadOnly(c.kind == CFormControl::ReadOnlyEdit);
            if (c.kind == CFormControl::PasswordEdit)
                edit->setEchoMode(QLineEdit::Password);
            w = edit;
            break;
        }
        case CFormControl::MultiLineEdit:
        case CFormControl::CenterMultiLineEdit: {
            auto* edit = new QTextEdit(parent);
            edit->setReadOnly(true);
            edit->setAcceptRichText(false);
            edit->setProperty("kelto4Centred", c.kind == CFormControl::CenterMultiLineEdit);
            w = edit;
            break;
        }
        case CFormControl::CheckBox:
        case CFormControl::Radio: {
            // Marked before it has a parent, so that a screen reader never meets it
            // with Qt's own interface.
            QAbstractButton* box = c.kind == CFormControl::CheckBox ? static_cast<QAbstractButton*>(new QCheckBox)
                                                                     : static_cast<QAbstractButton*>(new QRadioButton);
            CAccessibleChoice::Mark(box);
            box->setText(text);
            box->setParent(parent);
            QObject::connect(box, &QAbstractButton::clicked, parent, [onCommand, id] {
                if (onCommand)
                    onCommand(id);
            });
            w = box;
            break;
        }
        case CFormControl::ComboBox: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::InsertAlphabetically);
            w = combo;
            break;
        }
        case CFormControl::ListBox:
            w = new QListWidget(parent);
            break;
        case CFormControl::Slider:
            w = new QSlider(Qt::Horizontal, parent);
            break;
        }
        if (c.id)
            SetControlId(w, c.id);
        if (c.kind == CFormControl::HiddenDefault)
            w->setVisible(false);
        else
            layout.Add(w, QRect(c.x, c.y, c.cx, c.cy), c.grow, c.name);
    }
    return defaultButton;
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
