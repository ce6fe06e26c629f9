#pragma once
#include <QFont>
#include <QRect>

#include <vector>

class QGridLayout;
class QWidget;

// Lays a form out with Qt layouts in the arrangement its template places describe:
// one grid for the form and one for every group box, cut into columns and rows at the
// edges of the controls, each control spanning its cells. The cells' least sizes are
// the template's dialog units, so the form's least size is the template's; a control
// whose text needs more widens its cells and the form with them. What holds data
// grows with the form; buttons, check boxes and labels keep their size and place.
// Labels also name the fields beside or below them for screen readers.
class CFormLayout {
public:
    // place is in dialog units; grow is a CFormControl::Grow, GrowAuto deciding from
    // the widget's kind. name names a field that has no label.
    void Add(QWidget* widget, const QRect& place, unsigned grow, const char* name = nullptr);
    // Lays form out again with every control added so far; sizeDlu is the template's
    // size, the least the form's grid covers.
    void Apply(QWidget* form, const QFont& font, const QSize& sizeDlu);

private:
    struct Item {
        QWidget* widget;
        QRect place;
        unsigned asked; // as the template or the page gave it
        unsigned grow;  // as laid out
        const char* name;
        bool box;
        int parent;
        int weightX; // its share of the slack sideways and downwards
        int weightY;
    };
    void Fill(QGridLayout* grid, const QRect& region, int container);
    void SetLeastSize(const Item& item) const;
    void NameFields();
    int PxX(int x) const { return x * m_baseX / 4; }
    int PxY(int y) const { return y * m_baseY / 8; }

    std::vector<Item> m_items;
    int m_baseX = 1;
    int m_baseY = 1;
};
