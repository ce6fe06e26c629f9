#pragma once
#include <QFont>

#include <memory>
#include <optional>
#include <string>

class CKelto4Doc;
class QPainter;
class QPrinter;
class QWidget;

// Prints the reports page's records as a paged text report: a title with the user's
// name and the page number, the column headers, a rule, then one record every two
// lines. Positions are in twips (1440 to the inch) from the top-left corner inside a
// half-inch margin; the records come from the document's lists, not from the page's
// rows, so deletions not yet saved still print.
class CReportPrinter {
public:
    static constexpr int kMargin = 720;
    static constexpr int kUsableHeight = 14400;
    static constexpr int kReservedLines = 4;
    static constexpr int kLinesPerRecord = 2;
    static constexpr int kPageNumberX = 8640;
    static constexpr int kRuleLength = 10800;
    static constexpr int kGradeColumnX[5] = {0, 4320, 7200, 8280, 9360};
    static constexpr int kMissedColumnX[3] = {0, 2520, 5040};

    struct Rect {
        int left, top, right, bottom;
    };

    CReportPrinter();
    ~CReportPrinter();
    CReportPrinter(const CReportPrinter&) = delete;
    CReportPrinter& operator=(const CReportPrinter&) = delete;

    // The system's default printer, or a PDF printer when there is none.
    static std::unique_ptr<QPrinter> CreateDefaultPrinter();

    // Arial at 12 points: where the print font starts and where the font dialog opens.
    static QFont DefaultPrintFont();
    // A font's height in screen pixels, negative as a character height: -12 points at 96 dpi is -16.
    static int FontHeight(const QFont& font);
    static int ScreenDpiY();
    // number * numerator / denominator, rounded to the nearest integer.
    static int MulDiv(int number, int numerator, int denominator);

    const QFont& GetPrintFont() const { return m_printFont; }
    int GetPrintFontHeight() const { return m_printFontHeight; }
    void SetPrintFont(const QFont& font);
    // The font dialog, starting from Arial at 12 points; true when a font was chosen.
    bool ChooseFont(QWidget* parent);

    // A fixed line height in twips instead of the measured one (0: measure again).
    void SetLineHeight(int twips) { m_fixedLineHeight = twips; }
    // 20 x (character height + external leading) of the print font in screen pixels, as
    // the measuring printer sees it.
    int MeasureLineHeight() const;

    static int RecordsPerPage(int lineHeight);
    static int PageCount(int records, int recordsPerPage);
    // Offsets and page size in twips, printable size in millimetres; the result is in
    // twips with y growing upwards (top and bottom are negative).
    static Rect MarginRect(int offsetX, int offsetY, int pageWidth, int pageHeight, int widthMm, int heightMm);
    // The printer's margin rectangle from its paper and printable area.
    static Rect MarginRect(QPrinter& printer);
    // Makes painter's units twips from the top-left corner inside the half-inch margins, y
    // growing downwards; the margin rectangle it used.
    static Rect ScaleToTwips(QPainter& painter, QPrinter& printer);

    // The print job's steps, in order. viewMode: 0 grades, 1 misspelled words.
    int OnPreparePrinting(const CKelto4Doc& document, int viewMode);
    void OnBeginPrinting();
    void OnPrint(QPainter& painter, QPrinter& printer, const CKelto4Doc& document, int viewMode, int page);
    void OnEndPrinting();

    // A whole job onto printer: the pages of its print range, or all of them.
    bool Print(QPrinter& printer, const CKelto4Doc& document, int viewMode);

    int GetRecordsPerPage() const { return m_recordsPerPage; }
    int GetMaxPage() const { return m_maxPage; }

private:
    // Kept for the page's life, used only for measuring.
    std::unique_ptr<QPrinter> m_measuringPrinter;
    QFont m_printFont;
    int m_printFontHeight = 0;
    std::optional<QFont> m_pageFont;
    int m_fixedLineHeight = 0;
    int m_recordsPerPage = 1;
    int m_maxPage = 1;
};
