#include "spelltest/CLineListBox.h"

#include "platform/CQtText.h"
#include "platform/CReadingStyle.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kColorRole = Qt::UserRole;

// Paints each item as the list box draws its lines: the selection or window colour
// over the whole row, a focus rectangle on the current item, the text 2 pixels in
// from the top-left corner in the item's own colour.
class CLineDelegate : public QStyledItemDelegate {
public:
    explicit CLineDelegate(CLineListBox* list)
        : QStyledItemDelegate(list)
        , m_list(list)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(m_list->GetHorizontalExtent(), m_list->ItemHeight());
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QRect rect = option.rect;
        const QColor ink = m_list->Ink(index.data(kColorRole).toUInt());
        const QColor background =
            selected ? option.palette.color(QPalette::Highlight) : CLineListBox::Paper(ink, option.palette.color(QPalette::Base));
        painter->save();
        painter->fillRect(rect, background);
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.initFrom(m_list);
            focus.rect = rect;
            focus.state |= QStyle::State_KeyboardFocusChange;
            focus.backgroundColor = background;
            m_list->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, m_list);
        }
        if (index.isValid()) {
            const QColor text = selected ? option.palette.color(QPalette::HighlightedText) : ink;
            painter->setFont(m_list->font());
            painter->setPen(text);
            painter->drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                              index.data(Qt::DisplayRole).toString());
        }
        painter->restore();
    }

private:
    CLineListBox* m_list;
};

} // namespace

CLineListBox::CLineListBox(QWidget* parent)
    : QListWidget(parent)
{
    setItemDelegate(new CLineDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

int CLineListBox::AddItem(const std::string& text, uint32_t color, const std::string& spokenNote)
{
    auto* item = new QListWidgetItem(ToQt(text));
    item->setData(kColorRole, color);
    if (!spokenNote.empty())
        item->setData(Qt::AccessibleTextRole, ToQt(text) + QStringLiteral(", ") + ToQt(spokenNote));
    addItem(item);
    return row(item);
}

uint32_t CLineListBox::GetItemColor(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? it->data(kColorRole).toUInt() : 0;
}

std::string CLineListBox::GetText(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? FromQt(it->text()) : std::string();
}

void CLineListBox::SetHorizontalExtent(int pixels)
{
    m_horizontalExtent = pixels;
    // Every row's width changes with the extent; have the view lay them out again.
    doItemsLayout();
}

int CLineListBox::ItemHeight() const
{
    const QFontMetrics metrics(font());
    return metrics.height() + metrics.leading() + 4;
}

QColor CLineListBox::ToQColor(uint32_t colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

void CLineListBox::SetInk(uint32_t colorRef, const QColor& shown)
{
    m_inks[colorRef] = shown;
    viewport()->update();
}

QColor CLineListBox::Ink(uint32_t colorRef) const
{
    const auto it = m_inks.find(colorRef);
    return it == m_inks.end() ? ToQColor(colorRef) : it->second;
}

QColor CLineListBox::Paper(const QColor& ink, const QColor& base)
{
    auto rgb = [](const QColor& c) {
        return CReadingStyle::Rgb{std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
    };
    return CReadingStyle::ContrastRatio(rgb(ink), rgb(base)) >= CReadingStyle::kLeastContrast ? base : QColor(Qt::white);
}
