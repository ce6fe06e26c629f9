#pragma once
#include "model/CDocViews.h"
#include "platform/CFormBuilder.h"

#include <QFont>
#include <QWidget>

#include <string>

class CKelto4Doc;
class QPushButton;

// A page of the main window: a widget that is also a view of the document. Each page
// makes its controls through Controls() and arranges them with Qt layouts of its own.
class CFormView : public QWidget, public CDocView {
    Q_OBJECT
public:
    // The page joins the document's views while it lives. A template, so that the
    // document's class, which lies above this layer, is complete where a page is made.
    template <class Document>
    explicit CFormView(Document* document, QWidget* parent = nullptr)
        : CFormView(document, static_cast<CDocViews*>(document), parent)
    {
    }
    ~CFormView() override;

    CKelto4Doc* GetDocument() const { return m_document; }

    // The size the page asks for, in pixels: what its layout wants, and at least the
    // size it was given in dialog units.
    QSize FormSize() const { return sizeHint(); }
    QSize sizeHint() const override { return QWidget::sizeHint().expandedTo(m_formSize); }

    QWidget* GetDlgItem(int id) const;
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    void EnableDlgItem(int id, bool enable);
    // The id of the control of this form that has the keyboard focus, or 0.
    int GetFocusId() const;
    void SetFocusTo(int id);

    // 12-point Arial, or larger when the desktop's font is larger.
    static QFont TemplateFont();
    static QRect DluToPixels(const QFont& font, int x, int y, int cx, int cy);

signals:
    // A button of the form was clicked; id is its control id.
    void commandClicked(int id);

protected:
    // Makes the page's controls, in the order Tab visits them.
    CFormBuilder& Controls() { return m_builder; }
    // The size the page asks for, in dialog units of its font.
    void SetFormSize(int widthDlu, int heightDlu);
    // Enter anywhere in the form clicks this button (normally a hidden one); Escape
    // clicks the button with id 2 when there is one.
    void SetDefaultButton(int id) { m_defaultButton = id; }
    // Called for every button click, after commandClicked.
    virtual void OnCommand(int /*id*/) {}

    void keyPressEvent(QKeyEvent* event) override;

private:
    CFormView(CKelto4Doc* document, CDocViews* views, QWidget* parent);

    CKelto4Doc* m_document;
    CDocViews* m_views;
    QSize m_formSize;
    CFormBuilder m_builder;
    int m_defaultButton = 0;
};
