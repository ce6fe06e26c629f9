#include "platform/CFeedbackPanel.h"

#include "platform/CQtText.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStaticText>

namespace {

using Kind = CLetterComparison::Kind;

// The answers list's colours for right and wrong, and blue for the letters to learn.
const QColor kRight(0, 100, 0);
const QColor kWrong(205, 0, 0);
const QColor kLearn(0, 0, 205);
// The panel draws its own light background, so its text is dark whatever the desktop theme.
const QColor kBackground(255, 253, 240);
const QColor kText(0, 0, 0);
const QColor kBorder(190, 180, 150);

constexpr int kMargin = 8;
constexpr int kLargestLetters = 34; // pixels: readable at a glance from a child's seat
constexpr int kSmallestLetters = 14;
constexpr int kRulePixels = 17;
constexpr int kSmallestRules = 11;
constexpr int kLabelPixels = 15;

const char* const kAnswerLabel = "You wrote:";
const char* const kWordLabel = "Correct:";

// A typed blank would be invisible; the open box shows where it is.
QString Shown(char c)
{
    if (c == ' ')
        return QString(QChar(0x2423));
    return ToQt(std::string(1, c));
}

QFont SizedFont(QFont font, int pixels, bool bold)
{
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

CFeedbackPanel::CFeedbackPanel(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Feedback"));
    setVisible(false);
}

void CFeedbackPanel::ShowFeedback(const std::string& word, const std::string& answer)
{
    m_compared = CLetterComparison::CanCompare(word, answer);
    m_steps = CLetterComparison::Compare(word, answer);
    m_rules = CRuleExplanations::Explain(word, answer);
    m_columns.clear();
    for (const CLetterComparison::Step& s : m_steps) {
        switch (s.kind) {
        case Kind::Same:
        case Kind::Changed: m_columns.push_back({s.answer[0], s.word[0], s.kind}); break;
        case Kind::Missing: m_columns.push_back({0, s.word[0], s.kind}); break;
        case Kind::Extra: m_columns.push_back({s.answer[0], 0, s.kind}); break;
        case Kind::Swapped:
            m_columns.push_back({s.answer[0], s.word[0], s.kind});
            m_columns.push_back({s.answer[1], s.word[1], s.kind});
            break;
        }
    }
    setAccessibleDescription(ToQtDisplay(GetText()));
    setVisible(true);
    update();
}

void CFeedbackPanel::Clear()
{
    m_compared = false;
    m_steps.clear();
    m_rules.clear();
    m_columns.clear();
    setAccessibleDescription(QString());
    setVisible(false);
}

std::string CFeedbackPanel::GetText() const
{
    std::string answerRow, wordRow, marks;
    for (const Column& c : m_columns) {
        answerRow.push_back(c.answer ? c.answer : ' ');
        wordRow.push_back(c.word ? c.word : ' ');
        marks.push_back(c.kind == Kind::Same ? ' ' : '^');
    }
    std::string text = m_compared ? answerRow + "\r\n" + wordRow + "\r\n" + marks : std::string();
    for (const CRuleExplanations::Line& line : m_rules)
        text += (text.empty() ? "" : "\r\n") + line.Text();
    return text;
}

QSize CFeedbackPanel::sizeHint() const
{
    const QFontMetrics letters(LetterFont(kLargestLetters));
    const QFontMetrics rules(SizedFont(font(), kRulePixels, false));
    return QSize(480, 2 * kMargin + 2 * letters.height() + letters.height() / 2 + 3 * rules.lineSpacing());
}

QFont CFeedbackPanel::LetterFont(int pixelSize) const
{
    return SizedFont(font(), pixelSize, true);
}

int CFeedbackPanel::ColumnWidth(const QFontMetrics& metrics, const Column& column) const
{
    int w = metrics.horizontalAdvance(QLatin1Char('n'));
    if (column.answer)
        w = std::max(w, metrics.horizontalAdvance(Shown(column.answer)));
    if (column.word)
        w = std::max(w, metrics.horizontalAdvance(Shown(column.word)));
    return w + metrics.horizontalAdvance(QLatin1Char(' ')) / 2;
}

int CFeedbackPanel::FittingLetterSize(int width) const
{
    for (int pixels = kLargestLetters; pixels > kSmallestLetters; pixels -= 2) {
        const QFontMetrics metrics(LetterFont(pixels));
        int total = 0;
        for (const Column& c : m_columns)
            total += ColumnWidth(metrics, c);
        if (total <= width)
            return pixels;
    }
    return kSmallestLetters;
}

void CFeedbackPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(kBorder);
    painter.setBrush(kBackground);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.setClipRect(rect().adjusted(1, 1, -1, -1));

    const QRect area = rect().adjusted(kMargin, kMargin / 2, -kMargin, -kMargin / 2);
    const QFont labelFont = SizedFont(font(), kLabelPixels, true);
    const QFontMetrics labelMetrics(labelFont);
    const int labelWidth = std::max(labelMetrics.horizontalAdvance(ToQt(kAnswerLabel)),
                                    labelMetrics.horizontalAdvance(ToQt(kWordLabel))) +
                           kMargin;

    const int letterPixels = FittingLetterSize(area.width() - labelWidth);
    const QFont plain = LetterFont(letterPixels);
    const QFontMetrics metrics(plain);
    const int rowHeight = metrics.height();
    const int answerTop = area.top();
    const int wordTop = answerTop + rowHeight;
    const int caretTop = wordTop + rowHeight;
    const QFont caretFont = SizedFont(font(), std::max(12, letterPixels * 2 / 3), true);
    const int caretHeight = QFontMetrics(caretFont).height();

    if (m_compared) {
        painter.setFont(labelFont);
        painter.setPen(kText);
        painter.drawText(QRect(area.left(), answerTop, labelWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         ToQt(kAnswerLabel));
        painter.drawText(QRect(area.left(), wordTop, labelWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         ToQt(kWordLabel));
    }

    int x = area.left() + labelWidth;
    for (const Column& c : m_columns) {
        const int w = ColumnWidth(metrics, c);
        const bool same = c.kind == Kind::Same;
        if (c.answer) {
            QFont f = plain;
            f.setStrikeOut(!same);
            painter.setFont(f);
            painter.setPen(same ? kRight : kWrong);
            painter.drawText(QRect(x, answerTop, w, rowHeight), Qt::AlignCenter, Shown(c.answer));
        }
        if (c.word) {
            QFont f = plain;
            f.setUnderline(!same);
            painter.setFont(f);
            painter.setPen(same ? kRight : kLearn);
            painter.drawText(QRect(x, wordTop, w, rowHeight), Qt::AlignCenter, Shown(c.word));
        }
        if (!same) {
            painter.setFont(caretFont);
            painter.setPen(kText);
            painter.drawText(QRect(x, caretTop, w, caretHeight), Qt::AlignHCenter | Qt::AlignTop,
                             QStringLiteral("^"));
        }
        x += w;
    }

    // Several rules may be broken at once: the rule lines get smaller until all fit.
    // Texts too long to compare get the rules alone.
    const int top = m_compared ? caretTop + caretHeight : area.top();
    std::vector<QStaticText> lines;
    QFont ruleFont;
    for (int pixels = kRulePixels; pixels >= kSmallestRules; --pixels) {
        ruleFont = SizedFont(font(), pixels, false);
        lines.clear();
        int height = 0;
        for (const CRuleExplanations::Line& line : m_rules) {
            // The finding in bold, so the rule's name stands out from its explanation.
            QStaticText text(QStringLiteral("&#8226; <b>%1:</b> %2 &#8212; %3")
                                 .arg(ToQt(line.finding).toHtmlEscaped(), ToQt(line.explanation).toHtmlEscaped(),
                                      ToQt(line.example).toHtmlEscaped()));
            text.setTextFormat(Qt::RichText);
            text.setTextWidth(area.width());
            text.prepare(QTransform(), ruleFont);
            height += int(text.size().height());
            lines.push_back(text);
        }
        if (top + height <= area.bottom())
            break;
    }
    painter.setFont(ruleFont);
    painter.setPen(kText);
    int y = top;
    for (const QStaticText& text : lines) {
        painter.drawStaticText(QPoint(area.left(), y), text);
        y += int(text.size().height());
    }
}
