#pragma once
#include "model/CDocViews.h"
#include "platform/CFormBuilder.h"
#include "platform/CFormLayout.h"

#include <QFont>
#include <QWidget>

#include <string>

class CKelto4Doc;
class QPushButton;

// A page of the main window (or any form laid out from a template): a widget that is
// also a view of the document. Positions are dialog units of the form's font:
// x * average character width / 4, y * character height / 8.
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

    // The form's size in pixels, from its template size in dialog units. The form is
    // laid out with Qt layouts: it is never smaller than this, unless a text needs more.
    QSize FormSize() const { return m_formSize; }
    QSize sizeHint() const override { return m_formSize.expandedTo(minimumSizeHint()); }

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
    void BuildForm(const CFormControl* controls, int count, int widthDlu, int heightDlu,
                   const QFont& font = TemplateFont());
    // Puts a page's own widget at a template place and gives it its id; it grows with
    // the form as a template control of its kind does, unless grow says otherwise.
    void PlaceControl(QWidget* widget, int id, int x, int y, int cx, int cy,
                      CFormControl::Grow grow = CFormControl::GrowAuto, const char* name = nullptr);
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
    QFont m_font;
    QSize m_formSize;
    QSize m_templateSize;
    CFormLayout m_layout;
    int m_defaultButton = 0;
};
