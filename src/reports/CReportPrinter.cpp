#include "reports/CReportPrinter.h"

#include "document/CKelto4Doc.h"
#include "platform/CDialogService.h"
#include "platform/CQtText.h"
#include "reports/CReportRows.h"
#include "spelling/CSpellingRules.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

CReportPrinter::CReportPrinter()
    : m_measuringPrinter(CreateDefaultPrinter())
{
    SetPrintFont(DefaultPrintFont());
}

CReportPrinter::~CReportPrinter() = default;

std::unique_ptr<QPrinter> CReportPrinter::CreateDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull())
        return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // No default printer is installed: measuring and printing go through a PDF
    // printer, so the report can still be previewed and saved as a PDF file.
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    return printer;
}

QFont CReportPrinter::DefaultPrintFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    return font;
}

int CReportPrinter::ScreenDpiY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? int(std::lround(screen->logicalDotsPerInchY())) : 0;
    return dpi > 0 ? dpi : 96;
}

int CReportPrinter::MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = std::llabs(static_cast<long long>(denominator)) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(static_cast<long long>(denominator));
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int CReportPrinter::FontHeight(const QFont& font)
{
    if (font.pointSizeF() > 0)
        return -int(std::lround(font.pointSizeF() * ScreenDpiY() / 72.0));
    return -std::max(1, font.pixelSize());
}

void CReportPrinter::SetPrintFont(const QFont& font)
{
    m_printFont = font;
    m_printFontHeight = FontHeight(font);
}

bool CReportPrinter::ChooseFont(QWidget* parent)
{
    const std::optional<QFont> chosen = CDialogService::GetFont(parent, DefaultPrintFont());
    if (!chosen)
        return false;
    SetPrintFont(*chosen);
    return true;
}

int CReportPrinter::MeasureLineHeight() const
{
    if (m_fixedLineHeight > 0)
        return m_fixedLineHeight;
    // The description's height is in screen pixels and is taken as device pixels of
    // the printer, as the report has always measured its lines.
    QFont font = m_printFont;
    font.setPixelSize(std::max(1, std::abs(m_printFontHeight)));
    const QFontMetrics metrics(font, m_measuringPrinter.get());
    return 20 * (metrics.height() + std::max(0, metrics.leading()));
}

int CReportPrinter::RecordsPerPage(int lineHeight)
{
    if (lineHeight < 1)
        return 1;
    const int records = (kUsableHeight / lineHeight - kReservedLines) / kLinesPerRecord;
    return std::max(1, records);
}

int CReportPrinter::PageCount(int records, int recordsPerPage)
{
    if (recordsPerPage < 1)
        recordsPerPage = 1;
    if (records <= recordsPerPage)
        return 1;
    return records / recordsPerPage + (records % recordsPerPage ? 1 : 0);
}

CReportPrinter::Rect CReportPrinter::MarginRect(int offsetX, int offsetY, int pageWidth, int pageHeight, int widthMm,
                                                int heightMm)
{
    const int printableWidth = int(widthMm * 56.69);
    const int printableHeight = int(heightMm * 56.69);
    const int rightGap = pageWidth - printableWidth - offsetX;
    const int bottomGap = pageHeight - printableHeight - offsetY;
    Rect rect;
    rect.left = kMargin - offsetX;
    rect.right = printableWidth - kMargin + rightGap;
    rect.top = -(kMargin - offsetY);
    rect.bottom = -(printableHeight - kMargin + bottomGap);
    return rect;
}

CReportPrinter::Rect CReportPrinter::MarginRect(QPrinter& printer)
{
    const int dpiX = std::max(1, printer.logicalDpiX());
    const int dpiY = std::max(1, printer.logicalDpiY());
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect printable = printer.pageRect(QPrinter::DevicePixel).toRect();
    const auto twipsX = [dpiX](int pixels) { return MulDiv(std::abs(pixels), 1440, dpiX); };
    const auto twipsY = [dpiY](int pixels) { return MulDiv(std::abs(pixels), 1440, dpiY); };
    return MarginRect(twipsX(printable.left() - paper.left()), twipsY(printable.top() - paper.top()),
                      twipsX(paper.width()), twipsY(paper.height()), printer.widthMM(), printer.heightMM());
}

CReportPrinter::Rect CReportPrinter::ScaleToTwips(QPainter& painter, QPrinter& printer)
{
    const Rect margins = MarginRect(printer);
    painter.scale(printer.logicalDpiX() / 1440.0, printer.logicalDpiY() / 1440.0);
    painter.translate(margins.left, -margins.top);
    return margins;
}

int CReportPrinter::OnPreparePrinting(const CKelto4Doc& document, int viewMode)
{
    const std::size_t count =
        viewMode == CReportRows::Grades ? document.m_gradeList.size() : document.m_missedList.size();
    m_recordsPerPage = RecordsPerPage(MeasureLineHeight());
    m_maxPage = PageCount(int(std::min<std::size_t>(count, 0x7fffffff)), m_recordsPerPage);
    return m_maxPage;
}

void CReportPrinter::OnBeginPrinting()
{
    if (m_pageFont)
        return;
    // The chosen size on paper: the description's screen pixels back to points, in
    // twips. (Scaling by the printer's resolution instead would print a 12-point
    // choice at 48 points on a 1200 dpi printer, running lines into each other.)
    QFont font = m_printFont;
    font.setPixelSize(std::max(1, MulDiv(std::abs(m_printFontHeight), 1440, ScreenDpiY())));
    m_pageFont = font;
}

void CReportPrinter::OnPrint(QPainter& painter, QPrinter& printer, const CKelto4Doc& document, int viewMode,
                             int page)
{
    if (!m_pageFont)
        OnBeginPrinting();
    painter.save();
    // y grows downwards, so each line adds to y.
    ScaleToTwips(painter, printer);
    painter.setFont(*m_pageFont);
    painter.setPen(QPen(Qt::black, 0));
    const int h = MeasureLineHeight();
    const double ascent = QFontMetricsF(*m_pageFont, painter.device()).ascent();
    const auto draw = [&](int x, int y, const std::string& text) {
        painter.drawText(QPointF(x, y + ascent), ToQt(text));
    };

    const bool grades = viewMode == CReportRows::Grades;
    int y = 0;
    draw(0, y, std::string(grades ? "Grades" : "Misspelled Words") + " -- " + document.m_userName);
    char pageText[64];
    std::snprintf(pageText, sizeof pageText, "Page %d of %d", page, m_maxPage);
    draw(kPageNumberX, y, pageText);

    y += 2 * h;
    if (grades) {
        const char* const headers[] = {"Spelling List", "Date", "#Correct", "#Words", "Grade"};
        for (int i = 0; i < 5; ++i)
            draw(kGradeColumnX[i], y, headers[i]);
    } else {
        const char* const headers[] = {"Word", "Misspelling", "Spelling Errors"};
        for (int i = 0; i < 3; ++i)
            draw(kMissedColumnX[i], y, headers[i]);
    }
    y += h;
    painter.drawLine(QPoint(0, y), QPoint(kRuleLength, y));
    y += h;

    const long long first = static_cast<long long>(page - 1) * m_recordsPerPage + 1;
    long long number = 0;
    int printed = 1;
    if (grades) {
        for (const auto& grade : document.m_gradeList) {
            if (printed > m_recordsPerPage)
                break;
            if (++number < first)
                continue;
            draw(kGradeColumnX[0], y, grade->m_listName);
            draw(kGradeColumnX[1], y, grade->m_date);
            draw(kGradeColumnX[2], y, CReportRows::FormatCount(grade->m_correct));
            draw(kGradeColumnX[3], y, CReportRows::FormatCount(grade->m_words));
            draw(kGradeColumnX[4], y, CReportRows::FormatPrintedGrade(grade->m_correct, grade->m_words));
            y += 2 * h;
            ++printed;
        }
    } else {
        CSpellingRules rules;
        std::string errors;
        for (const auto& missed : document.m_missedList) {
            if (printed > m_recordsPerPage)
                break;
            if (++number < first)
                continue;
            draw(kMissedColumnX[0], y, missed->m_word);
            draw(kMissedColumnX[1], y, missed->m_misspelling);
            rules.GetSpellingErrors(missed->m_word, missed->m_misspelling, errors);
            draw(kMissedColumnX[2], y, errors);
            y += 2 * h;
            ++printed;
        }
    }
    painter.restore();
}

void CReportPrinter::OnEndPrinting()
{
    m_pageFont.reset();
}

bool CReportPrinter::Print(QPrinter& printer, const CKelto4Doc& document, int viewMode)
{
    const int maxPage = OnPreparePrinting(document, viewMode);
    int from = printer.fromPage();
    int to = printer.toPage();
    if (from < 1)
        from = 1;
    if (to < 1 || to > maxPage)
        to = maxPage;
    if (from > to)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    OnBeginPrinting();
    for (int page = from; page <= to; ++page) {
        if (page != from)
            printer.newPage();
        OnPrint(painter, printer, document, viewMode, page);
    }
    OnEndPrinting();
    return painter.end();
}
