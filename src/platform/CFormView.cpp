#include "platform/CFormView.h"

#include "model/CKelto4Doc.h"
#include "platform/CControlIds.h"
#include "platform/CQtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTextEdit>

CFormView::CFormView(CKelto4Doc* document, QWidget* parent)
    : QWidget(parent)
    , m_document(document)
{
    if (m_document)
        m_document->AddView(this);
}

CFormView::~CFormView()
{
    if (m_document)
        m_document->RemoveView(this);
}

QFont CFormView::TemplateFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    return font;
}

QRect CFormView::DluToPixels(const QFont& font, int x, int y, int cx, int cy)
{
    // The dialog base units: average width of the Latin letters, and the font height.
    const QFontMetrics fm(font);
    const int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = (letters / 26 + 1) / 2;
    const int baseY = fm.height();
    return QRect(x * baseX / 4, y * baseY / 8, cx * baseX / 4, cy * baseY / 8);
}

void CFormView::BuildForm(const CFormControl* controls, int count, int widthDlu, int heightDlu, const QFont& font)
{
    m_font = font;
    setFont(font);
    m_formSize = DluToPixels(font, 0, 0, widthDlu, heightDlu).size();
    for (int i = 0; i < count; ++i) {
        const CFormControl& c = controls[i];
        const QString text = ToQt(c.text ? c.text : "");
        QWidget* w = nullptr;
        switch (c.kind) {
        case CFormControl::Label:
        case CFormControl::CenterLabel: {
            auto* label = new QLabel(text, this);
            label->setAlignment(c.kind == CFormControl::CenterLabel ? Qt::AlignHCenter | Qt::AlignTop
                                                                     : Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            w = label;
            break;
        }
        case CFormControl::HLine: {
            auto* line = new QFrame(this);
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            w = line;
            break;
        }
        case CFormControl::GroupBox:
            w = new QGroupBox(text, this);
            w->lower();
            break;
        case CFormControl::Button:
        case CFormControl::HiddenDefault: {
            auto* button = new QPushButton(text, this);
            button->setAutoDefault(false);
            const int id = c.id;
            connect(button, &QPushButton::clicked, this, [this, id] {
                emit commandClicked(id);
                OnCommand(id);
            });
            if (c.kind == CFormControl::HiddenDefault) {
                m_defaultButton = id;
                button->setVisible(false);
            }
            w = button;
            break;
        }
        case CFormControl::Edit:
        case CFormControl::ReadOnlyEdit:
        case CFormControl::PasswordEdit: {
            auto* edit = new QLineEdit(this);
            edit->setReadOnly(c.kind == CFormControl::ReadOnlyEdit);
            if (c.kind == CFormControl::PasswordEdit)
                edit->setEchoMode(QLineEdit::Password);
            w = edit;
            break;
        }
        case CFormControl::MultiLineEdit:
        case CFormControl::CenterMultiLineEdit: {
            auto* edit = new QTextEdit(this);
            edit->setReadOnly(true);
            edit->setAcceptRichText(false);
            edit->setProperty("kelto4Centred", c.kind == CFormControl::CenterMultiLineEdit);
            w = edit;
            break;
        }
        case CFormControl::CheckBox: {
            auto* box = new QCheckBox(text, this);
            const int id = c.id;
            connect(box, &QCheckBox::clicked, this, [this, id] {
                emit commandClicked(id);
                OnCommand(id);
            });
            w = box;
            break;
        }
        case CFormControl::Radio: {
            auto* radio = new QRadioButton(text, this);
            const int id = c.id;
            connect(radio, &QRadioButton::clicked, this, [this, id] {
                emit commandClicked(id);
                OnCommand(id);
            });
            w = radio;
            break;
        }
        case CFormControl::ComboBox: {
            auto* combo = new QComboBox(this);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::InsertAlphabetically);
            w = combo;
            break;
        }
        case CFormControl::ListBox:
            w = new QListWidget(this);
            break;
        case CFormControl::Slider:
            w = new QSlider(Qt::Horizontal, this);
            break;
        }
        if (c.id)
            SetControlId(w, c.id);
        w->setGeometry(DluToPixels(font, c.x, c.y, c.cx, c.cy));
        if (c.kind == CFormControl::HiddenDefault)
            w->setVisible(false);
    }
    setMinimumSize(m_formSize);
}

void CFormView::PlaceControl(QWidget* widget, int id, int x, int y, int cx, int cy)
{
    widget->setParent(this);
    if (id)
        SetControlId(widget, id);
    widget->setGeometry(DluToPixels(m_font, x, y, cx, cy));
}

QWidget* CFormView::GetDlgItem(int id) const
{
    return FindControl<QWidget>(this, id);
}

std::string CFormView::GetDlgItemText(int id) const
{
    QWidget* w = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return FromQt(edit->text());
    if (auto* text = qobject_cast<QTextEdit*>(w))
        return FromQt(text->toPlainText());
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return FromQt(combo->currentText());
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return FromQt(button->text());
    if (auto* label = qobject_cast<QLabel*>(w))
        return FromQt(label->text());
    return std::string();
}

void CFormView::SetDlgItemText(int id, const std::string& text)
{
    QWidget* w = GetDlgItem(id);
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
        label->setText(ToQt(text));
    }
}

void CFormView::EnableDlgItem(int id, bool enable)
{
    if (QWidget* w = GetDlgItem(id))
        w->setEnabled(enable);
}

int CFormView::GetFocusId() const
{
    QWidget* focus = QApplication::focusWidget();
    while (focus && focus != this) {
        if (const int id = GetControlId(focus))
            return isAncestorOf(focus) ? id : 0;
        focus = focus->parentWidget();
    }
    return 0;
}

void CFormView::SetFocusTo(int id)
{
    if (QWidget* w = GetDlgItem(id))
        w->setFocus(Qt::OtherFocusReason);
}

void CFormView::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_defaultButton) {
        if (auto* button = qobject_cast<QPushButton*>(GetDlgItem(m_defaultButton))) {
            if (button->isEnabled()) {
                emit commandClicked(m_defaultButton);
                OnCommand(m_defaultButton);
            }
            event->accept();
            return;
        }
    }
    if (key == Qt::Key_Escape) {
        if (auto* button = qobject_cast<QPushButton*>(GetDlgItem(2))) {
            if (button->isEnabled())
                button->click();
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}
