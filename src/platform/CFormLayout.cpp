#include "platform/CFormLayout.h"

#include "platform/CFormBuilder.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>

#include <algorithm>
#include <climits>

namespace {

// What a control is, as far as laying it out goes.
enum class Sort { Button, Label, Line, Field, Data, Box };

// How a control takes its cells in one direction: keeps its own size at the cells'
// top-left, fills them, or fills them and makes them stretch with the form.
enum class Mode { Keep, Fill, Grow };

Sort SortOf(const QWidget* w)
{
    if (qobject_cast<const QGroupBox*>(w))
        return Sort::Box;
    if (qobject_cast<const QAbstractButton*>(w))
        return Sort::Button;
    if (qobject_cast<const QLabel*>(w))
        return Sort::Label;
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSlider*>(w)
        || qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QProgressBar*>(w))
        return Sort::Field;
    if (qobject_cast<const QAbstractScrollArea*>(w))
        return Sort::Data;
    if (auto* frame = qobject_cast<const QFrame*>(w);
        frame && (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine))
        return Sort::Line;
    // Any other widget of a page's own (a panel, a chart) holds data.
    return Sort::Data;
}

unsigned AutoGrow(Sort sort)
{
    switch (sort) {
    case Sort::Field: return CFormControl::GrowWidth;
    case Sort::Data: return CFormControl::GrowBoth;
    default: return CFormControl::GrowNone;
    }
}

Mode ModeOf(Sort sort, unsigned grow, unsigned bit)
{
    if (grow & bit)
        return Mode::Grow;
    switch (sort) {
    case Sort::Button: return Mode::Keep;
    case Sort::Field: return bit == CFormControl::GrowWidth ? Mode::Fill : Mode::Keep;
    default: return Mode::Fill;
    }
}

struct Span {
    int first;
    int end;
    int size;   // in dialog units
    int weight; // its share of the slack
};

// What lies across each cell of a grid in one direction: how many controls that keep
// their own size, how many that fill their cells, and the cell's size in dialog units.
struct Cells {
    std::vector<int> keep;
    std::vector<int> fill;
    std::vector<int> size;
};

// Gives each grower's stretch to the cells of its span that move the fewest controls
// that keep their size, widen the most that fill theirs (a title and its rule above a
// list grow with it) and are the largest; cells alike share it. A grower over cells
// that a smaller grower stretches already raises their stretch to its own weight. With
// no grower the last cell takes the slack, so the controls stay where they are.
std::vector<int> Stretches(std::vector<Span> growers, const Cells& cells)
{
    const size_t count = cells.size.size();
    std::vector<int> factor(count, 0);
    std::stable_sort(growers.begin(), growers.end(), [](const Span& a, const Span& b) { return a.size < b.size; });
    auto better = [&cells](size_t a, size_t b) {
        if (cells.keep[a] != cells.keep[b])
            return cells.keep[a] < cells.keep[b];
        if (cells.fill[a] != cells.fill[b])
            return cells.fill[a] > cells.fill[b];
        return cells.size[a] > cells.size[b];
    };
    for (const Span& g : growers) {
        int stretched = 0;
        int sum = 0;
        for (int i = g.first; i < g.end; ++i) {
            stretched += factor[size_t(i)] > 0 ? 1 : 0;
            sum += factor[size_t(i)];
        }
        if (stretched > 0) {
            for (int i = g.first; i < g.end && sum < g.weight; ++i)
                if (factor[size_t(i)] > 0)
                    factor[size_t(i)] = std::max(factor[size_t(i)], (g.weight + stretched - 1) / stretched);
            continue;
        }
        size_t best = size_t(g.first);
        for (size_t i = size_t(g.first); i < size_t(g.end); ++i)
            if (better(i, best))
                best = i;
        for (size_t i = size_t(g.first); i < size_t(g.end); ++i)
            if (!better(best, i))
                factor[i] = std::max(1, g.weight);
    }
    if (std::all_of(factor.begin(), factor.end(), [](int f) { return f == 0; }))
        factor.back() = 1;
    return factor;
}

void SortUnique(std::vector<int>& v)
{
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

int IndexOf(const std::vector<int>& edges, int edge)
{
    return int(std::lower_bound(edges.begin(), edges.end(), edge) - edges.begin());
}

bool Contains(const QRect& outer, const QRect& inner)
{
    return outer.x() <= inner.x() && outer.y() <= inner.y() && inner.x() + inner.width() <= outer.x() + outer.width()
        && inner.y() + inner.height() <= outer.y() + outer.height();
}

bool HasLetter(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

QString SpokenName(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('&'));
    text = text.simplified();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

} // namespace

void CFormLayout::Add(QWidget* widget, const QRect& place, unsigned grow, const char* name)
{
    const Sort sort = SortOf(widget);
    Item item{widget, place, grow, grow, name, sort == Sort::Box, -1, 0, 0};
    if (!item.box && grow == CFormControl::GrowAuto)
        item.grow = AutoGrow(sort);
    m_items.push_back(item);
}

void CFormLayout::Apply(QWidget* form, const QFont& font, const QSize& sizeDlu)
{
    const QSize base = CFormBuilder::BaseUnits(font);
    m_baseX = base.width();
    m_baseY = base.height();

    // Each control belongs to the smallest group box around it.
    const int n = int(m_items.size());
    for (int i = 0; i < n; ++i) {
        Item& item = m_items[size_t(i)];
        item.parent = -1;
        long long best = LLONG_MAX;
        for (int j = 0; j < n; ++j) {
            const Item& box = m_items[size_t(j)];
            if (j == i || !box.box || !Contains(box.place, item.place))
                continue;
            if (box.place == item.place && j > i)
                continue; // of two equal boxes, the first holds the second
            const long long area = (long long)box.place.width() * box.place.height();
            if (area < best) {
                best = area;
                item.parent = j;
            }
        }
    }
    // A group box grows the way what it holds grows.
    // A one-line field takes only a token share, so that the lists get the room.
    for (Item& item : m_items) {
        const bool fromKids = item.box && item.asked == CFormControl::GrowAuto;
        if (item.box)
            item.grow = fromKids ? 0 : item.asked;
        const bool token = fromKids || SortOf(item.widget) == Sort::Field;
        item.weightX = (item.grow & CFormControl::GrowWidth) ? (token ? 1 : std::max(1, item.place.width())) : 0;
        item.weightY = (item.grow & CFormControl::GrowHeight) ? (token ? 1 : std::max(1, item.place.height())) : 0;
    }
    for (const Item& item : m_items) {
        if (item.box)
            continue;
        for (int p = item.parent; p >= 0; p = m_items[size_t(p)].parent) {
            Item& box = m_items[size_t(p)];
            box.grow |= item.grow & CFormControl::GrowBoth;
            box.weightX = std::max(box.weightX, item.weightX);
            box.weightY = std::max(box.weightY, item.weightY);
        }
    }
    for (const Item& item : m_items)
        if (!item.box)
            SetLeastSize(item);

    delete form->layout();
    auto* grid = new QGridLayout(form);
    QRect region(QPoint(0, 0), sizeDlu);
    for (const Item& item : m_items)
        region = region.united(item.place);
    Fill(grid, region, -1);
    NameFields();
}

void CFormLayout::SetLeastSize(const Item& item) const
{
    QWidget* w = item.widget;
    const Sort sort = SortOf(w);
    const Mode h = ModeOf(sort, item.grow, CFormControl::GrowWidth);
    const Mode v = ModeOf(sort, item.grow, CFormControl::GrowHeight);
    const QRect& p = item.place;
    const int width = PxX(p.x() + p.width()) - PxX(p.x());
    const int height = PxY(p.y() + p.height()) - PxY(p.y());
    QSize hint = w->sizeHint();
    if (auto* push = qobject_cast<QPushButton*>(w)) {
        // The caption's own width, not the style's idea of a normal button ("..." stays small).
        const QStyle* style = push->style();
        const int frame = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push)
                          + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, push);
        const int icon = push->icon().isNull() ? 0 : push->iconSize().width() + 4;
        hint.setWidth(push->fontMetrics().horizontalAdvance(push->text()) + icon + frame + 2);
    }
    QSize least(0, 0);
    if (h == Mode::Keep)
        least.setWidth(std::max(width, hint.width()));
    if (v == Mode::Keep)
        least.setHeight(std::max(height, hint.height()));
    // A label must show all its lines at its template width.
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const int lines = label->wordWrap() ? label->heightForWidth(width) : hint.height();
        least.setHeight(std::max(height, lines));
        if (!label->wordWrap())
            least.setWidth(std::max(width, hint.width()));
    }
    w->setMinimumSize(least);
    w->setSizePolicy(h == Mode::Keep ? QSizePolicy::Fixed : QSizePolicy::Ignored,
                     v == Mode::Keep ? QSizePolicy::Fixed : QSizePolicy::Ignored);
}

void CFormLayout::Fill(QGridLayout* grid, const QRect& region, int container)
{
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    std::vector<int> kids;
    std::vector<int> xs{region.x(), region.x() + region.width()};
    std::vector<int> ys{region.y(), region.y() + region.height()};
    for (int i = 0; i < int(m_items.size()); ++i) {
        const Item& item = m_items[size_t(i)];
        if (item.parent != container)
            continue;
        kids.push_back(i);
        xs.push_back(item.place.x());
        xs.push_back(item.place.x() + item.place.width());
        ys.push_back(item.place.y());
        ys.push_back(item.place.y() + item.place.height());
    }
    SortUnique(xs);
    SortUnique(ys);
    const int columns = std::max(1, int(xs.size()) - 1);
    const int rows = std::max(1, int(ys.size()) - 1);
    for (int c = 0; c + 1 < int(xs.size()); ++c)
        grid->setColumnMinimumWidth(c, PxX(xs[size_t(c + 1)]) - PxX(xs[size_t(c)]));
    for (int r = 0; r + 1 < int(ys.size()); ++r)
        grid->setRowMinimumHeight(r, PxY(ys[size_t(r + 1)]) - PxY(ys[size_t(r)]));

    std::vector<Span> growX;
    std::vector<Span> growY;
    Cells cellsX{std::vector<int>(size_t(columns), 0), std::vector<int>(size_t(columns), 0), {}};
    Cells cellsY{std::vector<int>(size_t(rows), 0), std::vector<int>(size_t(rows), 0), {}};
    for (int c = 0; c < columns; ++c)
        cellsX.size.push_back(c + 1 < int(xs.size()) ? xs[size_t(c + 1)] - xs[size_t(c)] : 0);
    for (int r = 0; r < rows; ++r)
        cellsY.size.push_back(r + 1 < int(ys.size()) ? ys[size_t(r + 1)] - ys[size_t(r)] : 0);
    auto count = [](Cells& cells, int first, int end, Mode mode, bool grows) {
        for (int i = first; i < end; ++i) {
            if (mode == Mode::Keep)
                ++cells.keep[size_t(i)];
            else if (!grows)
                ++cells.fill[size_t(i)];
        }
    };
    for (int k : kids) {
        const Item& item = m_items[size_t(k)];
        const QRect& p = item.place;
        const int column = std::min(IndexOf(xs, p.x()), columns - 1);
        const int columnEnd = std::max(column + 1, IndexOf(xs, p.x() + p.width()));
        const int row = std::min(IndexOf(ys, p.y()), rows - 1);
        const int rowEnd = std::max(row + 1, IndexOf(ys, p.y() + p.height()));
        if (item.box) {
            // The box's frame and, over it, a grid of its own for what it holds.
            grid->addWidget(item.widget, row, column, rowEnd - row, columnEnd - column);
            auto* inner = new QGridLayout;
            grid->addLayout(inner, row, column, rowEnd - row, columnEnd - column);
            Fill(inner, p, k);
            count(cellsX, column, columnEnd, Mode::Fill, item.grow & CFormControl::GrowWidth);
            count(cellsY, row, rowEnd, Mode::Fill, item.grow & CFormControl::GrowHeight);
        } else {
            const Sort sort = SortOf(item.widget);
            const Mode h = ModeOf(sort, item.grow, CFormControl::GrowWidth);
            const Mode v = ModeOf(sort, item.grow, CFormControl::GrowHeight);
            Qt::Alignment align;
            if (h == Mode::Keep)
                align |= Qt::AlignLeft;
            if (v == Mode::Keep)
                align |= Qt::AlignTop;
            grid->addWidget(item.widget, row, column, rowEnd - row, columnEnd - column, align);
            count(cellsX, column, columnEnd, h, h == Mode::Grow);
            count(cellsY, row, rowEnd, v, v == Mode::Grow);
        }
        if (item.grow & CFormControl::GrowWidth)
            growX.push_back({column, columnEnd, p.width(), std::max(1, item.weightX)});
        if (item.grow & CFormControl::GrowHeight)
            growY.push_back({row, rowEnd, p.height(), std::max(1, item.weightY)});
    }
    const std::vector<int> sx = Stretches(growX, cellsX);
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c, sx[size_t(c)]);
    const std::vector<int> sy = Stretches(growY, cellsY);
    for (int r = 0; r < rows; ++r)
        grid->setRowStretch(r, sy[size_t(r)]);
}

void CFormLayout::NameFields()
{
    std::vector<bool> used(m_items.size(), false);
    for (Item& field : m_items) {
        const Sort sort = SortOf(field.widget);
        if ((sort != Sort::Field && sort != Sort::Data) || !field.widget->accessibleName().isEmpty())
            continue;
        if (field.name) {
            field.widget->setAccessibleName(QString::fromLatin1(field.name));
            continue;
        }
        // The nearest unused label just left of the field on its line, or just above it.
        const QRect& f = field.place;
        int best = -1;
        int bestGap = INT_MAX;
        for (size_t i = 0; i < m_items.size(); ++i) {
            auto* label = qobject_cast<QLabel*>(m_items[i].widget);
            if (!label || used[i] || label->buddy() || !HasLetter(label->text()))
                continue;
            const QRect& l = m_items[i].place;
            const bool sameLine = l.y() < f.y() + f.height() && f.y() < l.y() + l.height();
            const bool sameColumn = l.x() < f.x() + f.width() && f.x() < l.x() + l.width();
            int gap = INT_MAX;
            if (sameLine && l.x() + l.width() <= f.x() + 1 && f.x() - (l.x() + l.width()) <= 24)
                gap = f.x() - (l.x() + l.width());
            else if (sameColumn && l.y() + l.height() <= f.y() + 1 && f.y() - (l.y() + l.height()) <= 8)
                gap = f.y() - (l.y() + l.height());
            if (gap < bestGap) {
                bestGap = gap;
                best = int(i);
            }
        }
        if (best >= 0) {
            used[size_t(best)] = true;
            auto* label = static_cast<QLabel*>(m_items[size_t(best)].widget);
            label->setBuddy(field.widget);
            field.widget->setAccessibleName(SpokenName(label->text()));
        } else if (field.parent >= 0) {
            // Without a label, the group box's title says what the field holds.
            field.widget->setAccessibleName(SpokenName(static_cast<QGroupBox*>(m_items[size_t(field.parent)].widget)->title()));
        }
    }
}
