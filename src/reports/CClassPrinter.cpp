#include "reports/CClassPrinter.h"

#include "platform/CQtText.h"
#include "reports/CClassStats.h"
#include "reports/CReportPrinter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <optional>

namespace {
// Between two columns: a tenth of an inch.
constexpr qreal kGap = 144;
// No column is wider than this share of the paper; its texts wrap instead.
constexpr qreal kWidestShare = 0.4;
constexpr qreal kTitleLines = 2;
constexpr qreal kSectionLines = 1.5;
// The grid's shades on paper: greys that any printer prints and black text reads on.
constexpr std::array<int, CClassTables::kShades + 1> kGreys = {255, 235, 210, 180, 150};

QFont Bold(QFont font)
{
    font.setBold(true);
    return font;
}

// The measures of one job, in twips.
struct Measures {
    QFont font;
    QFont bold;
    qreal line; // the reports' line height
    qreal width;
    qreal height;
    QFontMetricsF metrics;
    QFontMetricsF boldMetrics;

    Measures(QPrinter& printer, const CReportPrinter& fonts)
        : font(CClassPrinter::PageFont(fonts))
        , bold(Bold(font))
        , line(fonts.MeasureLineHeight())
        , width(CReportPrinter::kRuleLength)
        , height(0)
        , metrics(font, &printer)
        , boldMetrics(bold, &printer)
    {
        const CReportPrinter::Rect margins = CReportPrinter::MarginRect(printer);
        height = std::abs(margins.bottom - margins.top);
    }

    // The height texts take wrapped within width, with the reports' spacing between rows.
    qreal Height(const QString& text, qreal wrapWidth, bool isBold = false) const
    {
        const QFontMetricsF& m = isBold ? boldMetrics : metrics;
        if (text.isEmpty())
            return line;
        const QRectF box = m.boundingRect(QRectF(0, 0, std::max<qreal>(1, wrapWidth), 1e9), Qt::TextWordWrap, text);
        return std::max(line, box.height() + line - m.lineSpacing());
    }
};

struct Table {
    CClassTables::Data data;
    std::vector<qreal> widths; // each column's own, the gap after it included
    std::vector<bool> numbers;
};

// The widest single word of text: a header wraps at its blanks, never within a word.
qreal WidestWord(const QFontMetricsF& metrics, const QString& text)
{
    qreal widest = 0;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

// Widths between low and high for each column that fill no more than width: the widest columns
// give way first. Nothing when even the low widths don't fit.
std::optional<std::vector<qreal>> Fit(const std::vector<qreal>& low, const std::vector<qreal>& high, qreal width)
{
    const auto widths = [&](qreal cap) {
        std::vector<qreal> result(low.size());
        for (std::size_t c = 0; c < low.size(); ++c)
            result[c] = std::max(low[c], std::min(high[c], cap));
        return result;
    };
    const auto sum = [](const std::vector<qreal>& w) { return std::accumulate(w.begin(), w.end(), qreal(0)); };
    if (sum(widths(0)) > width)
        return std::nullopt;
    qreal fits = 0;
    qreal wide = width;
    for (int step = 0; step < 30; ++step) {
        const qreal cap = (fits + wide) / 2;
        (sum(widths(cap)) <= width ? fits : wide) = cap;
    }
    return widths(fits);
}

Table Lay(const CClassStats& stats, CClassTables::Table which, const Measures& m)
{
    Table table{CClassTables::Make(stats, which), {}, {}};
    const std::size_t columns = table.data.headers.size();
    // Each column's header and texts on one line, and at their longest words (wrapped at blanks).
    std::vector<qreal> header(columns), headerWord(columns), text(columns, 0), textWord(columns, 0);
    table.numbers.assign(columns, false);
    for (std::size_t c = 0; c < columns; ++c) {
        const QString name = ToQt(table.data.headers[c]);
        header[c] = m.boldMetrics.horizontalAdvance(name) + kGap;
        headerWord[c] = WidestWord(m.boldMetrics, name) + kGap;
    }
    for (const auto& row : table.data.rows)
        for (std::size_t c = 0; c < columns && c < row.size(); ++c) {
            const QString cell = ToQt(row[c].text);
            text[c] = std::max(text[c], m.metrics.horizontalAdvance(cell) + kGap);
            textWord[c] = std::max(textWord[c], WidestWord(m.metrics, cell) + kGap);
            table.numbers[c] = table.numbers[c] || row[c].number;
        }
    std::vector<qreal> oneLine(columns), headersWrapped(columns), allWrapped(columns);
    for (std::size_t c = 0; c < columns; ++c) {
        const qreal most = m.width * kWidestShare;
        oneLine[c] = std::min(std::max(header[c], text[c]), most);
        headersWrapped[c] = std::min(std::max(headerWord[c], text[c]), oneLine[c]);
        allWrapped[c] = std::min(std::max(headerWord[c], textWord[c]), headersWrapped[c]);
    }
    // Too wide for the paper: the headers wrap first, then the texts, so the table stays on one
    // page across where it can; else it goes on in pages of columns.
    if (std::optional<std::vector<qreal>> fitted = Fit(headersWrapped, oneLine, m.width))
        table.widths = std::move(*fitted);
    else if ((fitted = Fit(allWrapped, headersWrapped, m.width)))
        table.widths = std::move(*fitted);
    else
        table.widths = headersWrapped;
    return table;
}

// The columns of each page across: the first column, then as many more as the paper holds.
std::vector<std::vector<int>> ColumnChunks(const Table& table, qreal width)
{
    std::vector<std::vector<int>> chunks;
    const int columns = int(table.widths.size());
    for (int next = 1; next < columns || chunks.empty();) {
        std::vector<int> chunk{0};
        qreal used = table.widths.empty() ? 0 : table.widths[0];
        while (next < columns && (chunk.size() == 1 || used + table.widths[std::size_t(next)] <= width)) {
            used += table.widths[std::size_t(next)];
            chunk.push_back(next++);
        }
        chunks.push_back(std::move(chunk));
        if (columns <= 1)
            break;
    }
    return chunks;
}

// The widths of a chunk's columns on paper: the room left goes to a last column of text, so it
// wraps less.
std::vector<qreal> ChunkWidths(const Table& table, const std::vector<int>& chunk, qreal width)
{
    std::vector<qreal> widths;
    qreal used = 0;
    for (const int c : chunk) {
        widths.push_back(table.widths.empty() ? width : table.widths[std::size_t(c)]);
        used += widths.back();
    }
    if (!widths.empty() && used < width && std::size_t(chunk.back()) < table.numbers.size() && !table.numbers[std::size_t(chunk.back())])
        widths.back() += width - used;
    return widths;
}

qreal HeaderHeight(const Table& table, const std::vector<int>& chunk, const std::vector<qreal>& widths,
                   const Measures& m)
{
    qreal height = m.line;
    for (std::size_t i = 0; i < chunk.size() && !table.data.headers.empty(); ++i)
        height = std::max(height, m.Height(ToQt(table.data.headers[std::size_t(chunk[i])]), widths[i] - kGap, true));
    return height;
}

qreal RowHeight(const Table& table, std::size_t row, const std::vector<int>& chunk, const std::vector<qreal>& widths,
                const Measures& m)
{
    qreal height = m.line;
    const auto& cells = table.data.rows[row];
    for (std::size_t i = 0; i < chunk.size(); ++i)
        if (std::size_t(chunk[i]) < cells.size())
            height = std::max(height, m.Height(ToQt(cells[std::size_t(chunk[i])].text), widths[i] - kGap));
    return height;
}

// What stands above the learners on their first page: the files left alone.
QString ProblemsText(const CClassStats& stats)
{
    QStringList lines;
    for (const CClassStats::Problem& problem : stats.Problems())
        lines << ToQt(problem.text);
    return lines.join(QLatin1Char('\n'));
}

qreal ProblemsHeight(const CClassStats& stats, const Measures& m)
{
    const QString text = ProblemsText(stats);
    return text.isEmpty() ? 0 : m.Height(text, m.width) + m.line / 2;
}

// The room a page has for its table's header and rows.
qreal TableRoom(const Measures& m, qreal above)
{
    return m.height - (kTitleLines + kSectionLines) * m.line - above - m.line / 2;
}

std::vector<CClassPrinter::Page> Plan(const CClassStats& stats, const Measures& m)
{
    std::vector<CClassPrinter::Page> pages;
    for (int t = 0; t < CClassTables::kTables; ++t) {
        const auto which = CClassTables::Table(t);
        const Table table = Lay(stats, which, m);
        bool continued = false;
        for (const std::vector<int>& chunk : ColumnChunks(table, m.width)) {
            const std::vector<qreal> widths = ChunkWidths(table, chunk, m.width);
            const qreal header = HeaderHeight(table, chunk, widths, m);
            std::size_t row = 0;
            do {
                const qreal above = which == CClassTables::Learners && !continued ? ProblemsHeight(stats, m) : 0;
                const qreal room = TableRoom(m, above) - header;
                CClassPrinter::Page page{which, chunk, row, 0, continued};
                qreal used = 0;
                // At least one row a page, however tall.
                while (row < table.data.rows.size()) {
                    const qreal height = RowHeight(table, row, chunk, widths, m);
                    if (page.rows > 0 && used + height > room)
                        break;
                    used += height;
                    ++page.rows;
                    ++row;
                }
                pages.push_back(std::move(page));
                continued = true;
            } while (row < table.data.rows.size());
        }
    }
    return pages;
}

void DrawPage(QPainter& painter, const CClassPrinter::Page& page, int number, int count, const std::string& title,
              const CClassStats& stats, const Measures& m)
{
    const Table table = Lay(stats, page.table, m);
    const std::vector<qreal> widths = ChunkWidths(table, page.columns, m.width);
    const auto draw = [&](qreal x, qreal y, qreal w, qreal h, const QString& text, int flags) {
        painter.drawText(QRectF(x, y, std::max<qreal>(1, w), h), flags | Qt::TextWordWrap, text);
    };
    painter.setFont(m.font);
    draw(0, 0, CReportPrinter::kPageNumberX, m.line, ToQt(title), Qt::AlignLeft);
    char pageText[64];
    std::snprintf(pageText, sizeof pageText, "Page %d of %d", number, count);
    draw(CReportPrinter::kPageNumberX, 0, m.width - CReportPrinter::kPageNumberX, m.line, QString::fromLatin1(pageText),
         Qt::AlignLeft);

    qreal y = kTitleLines * m.line;
    painter.setFont(m.bold);
    QString section = QString::fromLatin1(CClassTables::Title(page.table));
    if (page.continued)
        section += QStringLiteral(" (continued)");
    draw(0, y, m.width, m.line, section, Qt::AlignLeft);
    y += kSectionLines * m.line;
    painter.setFont(m.font);
    if (page.table == CClassTables::Learners && !page.continued) {
        const QString problems = ProblemsText(stats);
        if (!problems.isEmpty()) {
            const qreal height = m.Height(problems, m.width);
            draw(0, y, m.width, height, problems, Qt::AlignLeft);
            y += height + m.line / 2;
        }
    }
    if (table.data.rows.empty()) {
        draw(0, y, m.width, m.line, QStringLiteral("No data."), Qt::AlignLeft);
        return;
    }

    const qreal header = HeaderHeight(table, page.columns, widths, m);
    painter.setFont(m.bold);
    qreal x = 0;
    for (std::size_t i = 0; i < page.columns.size(); ++i) {
        const std::size_t c = std::size_t(page.columns[i]);
        draw(x, y, widths[i] - kGap, header, ToQt(table.data.headers[c]),
             (table.numbers[c] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignBottom);
        x += widths[i];
    }
    y += header + m.line / 4;
    painter.drawLine(QPointF(0, y), QPointF(x - kGap, y));
    y += m.line / 4;
    painter.setFont(m.font);
    for (std::size_t r = page.firstRow; r < page.firstRow + page.rows; ++r) {
        const qreal height = RowHeight(table, r, page.columns, widths, m);
        x = 0;
        for (std::size_t i = 0; i < page.columns.size(); ++i) {
            const std::size_t c = std::size_t(page.columns[i]);
            const CClassTables::Cell& cell = table.data.rows[r][c];
            if (cell.shade > 0) {
                const int grey = kGreys[std::size_t(std::clamp(cell.shade, 0, CClassTables::kShades))];
                painter.fillRect(QRectF(x - kGap / 4, y, widths[i] - kGap / 2, height), QColor(grey, grey, grey));
            }
            draw(x, y, widths[i] - kGap, height, ToQt(cell.text),
                 (cell.number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
            x += widths[i];
        }
        y += height;
    }
}
}

QFont CClassPrinter::PageFont(const CReportPrinter& fonts)
{
    QFont font = fonts.GetPrintFont();
    font.setPixelSize(std::max(1, CReportPrinter::MulDiv(std::abs(fonts.GetPrintFontHeight()), 1440,
                                                         CReportPrinter::ScreenDpiY())));
    return font;
}

std::vector<CClassPrinter::Page> CClassPrinter::Paginate(QPrinter& printer, const CClassStats& stats,
                                                         const CReportPrinter& fonts)
{
    return Plan(stats, Measures(printer, fonts));
}

bool CClassPrinter::Print(QPrinter& printer, const CClassStats& stats, const std::string& title,
                          const CReportPrinter& fonts)
{
    const Measures measures(printer, fonts);
    const std::vector<Page> pages = Plan(stats, measures);
    const int count = int(pages.size());
    const int from = std::max(1, printer.fromPage());
    const int to = printer.toPage() < 1 || printer.toPage() > count ? count : printer.toPage();
    if (from > to)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    CReportPrinter::ScaleToTwips(painter, printer);
    painter.setPen(QPen(Qt::black, 0));
    for (int page = from; page <= to; ++page) {
        if (page != from)
            printer.newPage();
        DrawPage(painter, pages[std::size_t(page - 1)], page, count, title, stats, measures);
    }
    return painter.end();
}
