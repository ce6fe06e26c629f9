#include "platform/CFormLayout.h"

#include "platform/CFormBuilder.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
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
    int size;
};

// Gives each grower's stretch to the last of its cells, unless a smaller grower that
// shares some of them already stretches one; the other cells keep their least size.
// With no grower, the last cell takes the slack, so the controls stay where they are.
std::vector<int> Stretches(std::vector<Span> growers, int count)
{
    std::vector<int> factor(size_t(count), 0);
    std::stable_sort(growers.begin(), growers.end(), [](const Span& a, const Span& b) { return a.size < b.size; });
    for (const Span& g : growers) {
        bool shared = false;
        for (int i = g.first; i < g.end; ++i)
            shared = shared || factor[size_t(i)] > 0;
        if (!shared)
            factor[size_t(g.end - 1)] = std::max(1, g.size);
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
    Item item{widget, place, grow, name, sort == Sort::Box, -1};
    if (!item.box && grow == CFormControl::GrowAuto)
        item.grow = AutoGrow(sort);
    m_items.push_back(item);
}

void CFormLayout::Apply(QWidget* form, const QFont& font, const QSize& sizeDlu)
{
    // The dialog base units of the form's font, as CFormBuilder::DluToPixels counts them.
    const QFontMetrics fm(font);
    const int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (letters / 26 + 1) / 2;
    m_baseY = fm.height();

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
    for (Item& item : m_items)
        if (item.box && item.grow == CFormControl::GrowAuto)
            item.grow = 0;
    for (const Item& item : m_items) {
        if (item.box)
            continue;
        for (int p = item.parent; p >= 0; p = m_items[size_t(p)].parent)
            m_items[size_t(p)].grow |= item.grow & CFormControl::GrowBoth;
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
    const QSize hint = w->sizeHint();
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
        } else {
            const Sort sort = SortOf(item.widget);
            Qt::Alignment align;
            if (ModeOf(sort, item.grow, CFormControl::GrowWidth) == Mode::Keep)
                align |= Qt::AlignLeft;
            if (ModeOf(sort, item.grow, CFormControl::GrowHeight) == Mode::Keep)
                align |= Qt::AlignTop;
            grid->addWidget(item.widget, row, column, rowEnd - row, columnEnd - column, align);
        }
        if (item.grow & CFormControl::GrowWidth)
            growX.push_back({column, columnEnd, p.width()});
        if (item.grow & CFormControl::GrowHeight)
            growY.push_back({row, rowEnd, p.height()});
    }
    const std::vector<int> sx = Stretches(growX, columns);
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c, sx[size_t(c)]);
    const std::vector<int> sy = Stretches(growY, rows);
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
