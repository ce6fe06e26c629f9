#include "platform/CFormView.h"

#include "platform/CControlIds.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>

CFormView::CFormView(CKelto4Doc* document, CDocViews* views, QWidget* parent)
    : QWidget(parent)
    , m_document(document)
    , m_views(views)
    , m_builder(this, [this](int id) {
        emit commandClicked(id);
        OnCommand(id);
    })
{
    setFont(TemplateFont());
    if (m_views)
        m_views->AddView(this);
}

CFormView::~CFormView()
{
    if (m_views)
        m_views->RemoveView(this);
}

QFont CFormView::TemplateFont()
{
    QFont font(QStringLiteral("Arial"));
    // A desktop set to a larger font gets larger pages; their layout grows to fit.
    const qreal desktop = QApplication::font().pointSizeF();
    font.setPointSizeF(std::max<qreal>(12.0, desktop));
    return font;
}

QRect CFormView::DluToPixels(const QFont& font, int x, int y, int cx, int cy)
{
    return CFormBuilder::DluToPixels(font, x, y, cx, cy);
}

void CFormView::SetFormSize(int widthDlu, int heightDlu)
{
    m_formSize = DluToPixels(font(), 0, 0, widthDlu, heightDlu).size();
}

QWidget* CFormView::GetDlgItem(int id) const
{
    return FindControl<QWidget>(this, id);
}

std::string CFormView::GetDlgItemText(int id) const
{
    return CFormBuilder::GetText(GetDlgItem(id));
}

void CFormView::SetDlgItemText(int id, const std::string& text)
{
    CFormBuilder::SetText(GetDlgItem(id), text);
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
    const int defaultButton = m_defaultButton ? m_defaultButton : m_builder.DefaultButton();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && defaultButton) {
        if (auto* button = qobject_cast<QPushButton*>(GetDlgItem(defaultButton))) {
            if (button->isEnabled()) {
                emit commandClicked(defaultButton);
                OnCommand(defaultButton);
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
