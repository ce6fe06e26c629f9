#include "platform/CFeedbackPanel.h"

#include "platform/CQtText.h"
#include "platform/CReadingLook.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QStaticText>

namespace {

using Kind = CLetterComparison::Kind;

const QColor kBorder(190, 180, 150);

constexpr int kMargin = 8;
constexpr int kLargestLetters = 34; // pixels: readable at a glance from a child's seat
constexpr int kRoomyLetters = 60;   // where a large window leaves the room
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

} // namespace

CFeedbackPanel::CFeedbackPanel(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Feedback"));
    setVisible(false);
}

void CFeedbackPanel::ShowFeedback(const std::string& word, const std::string& answer,
                                  CSoundComparison::Verdict sound)
{
    m_compared = CLetterComparison::CanCompare(word, answer);
    m_wordOnly = false;
    m_steps = CLetterComparison::Compare(word, answer);
    m_rules = CRuleExplanations::Explain(word, answer);
    m_sound = CSoundComparison::Advice(sound);
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

void CFeedbackPanel::ShowWord(const std::string& word)
{
    m_wordOnly = true;
    m_compared = true;
    m_steps.clear();
    m_rules.clear();
    m_sound.clear();
    m_columns.clear();
    for (const char c : word)
        m_columns.push_back({0, c, Kind::Same});
    setAccessibleDescription(ToQtDisplay(GetText()));
    setVisible(true);
    update();
}

void CFeedbackPanel::SetReadingStyle(const CReadingStyle& style)
{
    if (style == m_style)
        return;
    m_style = style;
    updateGeometry();
    update();
}

int CFeedbackPanel::Scaled(int pixels) const
{
    return int(pixels * m_style.Scale() + 0.5);
}

QFont CFeedbackPanel::TextFont(int pixelSize, bool bold) const
{
    QFont font = CReadingLook::Font(m_style, this->font());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // The spacing was worked out for the font's own size; again for this one.
    font.setWordSpacing(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * m_style.WordSpacingSpaces());
    return font;
}

void CFeedbackPanel::Clear()
{
    m_compared = false;
    m_wordOnly = false;
    m_steps.clear();
    m_rules.clear();
    m_columns.clear();
    m_sound.clear();
    setAccessibleDescription(QString());
    setVisible(false);
}

std::string CFeedbackPanel::GetText() const
{
    std::string answerRow, wordRow, marks;
    if (m_wordOnly) {
        for (const Column& c : m_columns)
            wordRow.push_back(c.word);
        return wordRow;
    }
    for (const Column& c : m_columns) {
        answerRow.push_back(c.answer ? c.answer : ' ');
        wordRow.push_back(c.word ? c.word : ' ');
        marks.push_back(c.kind == Kind::Same ? ' ' : '^');
    }
    std::string text = m_compared ? answerRow + "\r\n" + wordRow + "\r\n" + marks : std::string();
    if (!m_sound.empty())
        text += (text.empty() ? "" : "\r\n") + m_sound;
    for (const CRuleExplanations::Line& line : m_rules)
        text += (text.empty() ? "" : "\r\n") + line.Text();
    return text;
}

QSize CFeedbackPanel::sizeHint() const
{
    const QFontMetrics letters(LetterFont(Scaled(kLargestLetters)));
    const QFontMetrics rules(TextFont(Scaled(kRulePixels), false));
    return QSize(480, 2 * kMargin + 2 * letters.height() + letters.height() / 2 + 3 * rules.lineSpacing());
}

// Small letters and one line of rules: the panel gives way before a page must scroll.
QSize CFeedbackPanel::minimumSizeHint() const
{
    const QFontMetrics letters(LetterFont(kSmallestLetters + 6));
    const QFontMetrics rules(TextFont(kSmallestRules, false));
    return QSize(240, kMargin + 2 * letters.height() + letters.height() / 2 + rules.lineSpacing());
}

QFont CFeedbackPanel::LetterFont(int pixelSize) const
{
    return TextFont(pixelSize, true);
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

int CFeedbackPanel::FittingLetterSize(int width, int height) const
{
    for (int pixels = Scaled(kRoomyLetters); pixels > kSmallestLetters; pixels -= 2) {
        const QFontMetrics metrics(LetterFont(pixels));
        int total = 0;
        for (const Column& c : m_columns)
            total += ColumnWidth(metrics, c);
        // Two rows of letters and the carets under them, with room left for the rules,
        // each of which may wrap once (else they get smaller letters of their own).
        const int rules = Scaled(kRulePixels) * (1 + int(m_rules.size())) + kMargin;
        const int row = std::max(metrics.height(), QFontMetrics(TextFont(kLabelPixels, true)).height());
        if (total <= width && row * 2 + metrics.height() / 2 + rules <= height)
            return pixels;
    }
    return kSmallestLetters;
}

void CFeedbackPanel::paintEvent(QPaintEvent*)
{
    // The panel draws its own paper, so its marks read the same on every desktop theme.
    const CReadingStyle::Colours colours = m_style.GetColours(CReadingLook::DesktopIsDark());
    const QColor textInk = CReadingLook::ToQColor(colours.text);
    const QColor rightInk = CReadingLook::ToQColor(colours.right);
    const QColor wrongInk = CReadingLook::ToQColor(colours.wrong);
    const QColor learnInk = CReadingLook::ToQColor(colours.learn);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(kBorder);
    painter.setBrush(CReadingLook::ToQColor(colours.paper));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.setClipRect(rect().adjusted(1, 1, -1, -1));

    const QRect area = rect().adjusted(kMargin, kMargin / 2, -kMargin, -kMargin / 2);
    // The labels keep their size: the letters get the room a larger text size gives.
    const QFont labelFont = TextFont(kLabelPixels, true);
    const QFontMetrics labelMetrics(labelFont);
    const int labelWidth = std::max(labelMetrics.horizontalAdvance(ToQt(kAnswerLabel)),
                                    labelMetrics.horizontalAdvance(ToQt(kWordLabel))) +
                           kMargin;

    const int letterPixels = FittingLetterSize(area.width() - labelWidth, area.height());
    const QFont plain = LetterFont(letterPixels);
    const QFontMetrics metrics(plain);
    // A row is as high as its letters, or its label when that is higher.
    const int rowHeight = std::max(metrics.height(), labelMetrics.height());
    const int answerTop = area.top();
    // The word alone takes the first row.
    const int wordTop = m_wordOnly ? answerTop : answerTop + rowHeight;
    const int caretTop = wordTop + rowHeight;
    const QFont caretFont = TextFont(std::max(12, letterPixels * 2 / 3), true);
    const int caretHeight = QFontMetrics(caretFont).height();

    if (m_compared) {
        painter.setFont(labelFont);
        painter.setPen(textInk);
        if (!m_wordOnly)
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
            painter.setPen(same ? rightInk : wrongInk);
            painter.drawText(QRect(x, answerTop, w, rowHeight), Qt::AlignCenter, Shown(c.answer));
        }
        if (c.word) {
            QFont f = plain;
            f.setUnderline(!same);
            painter.setFont(f);
            painter.setPen(same ? rightInk : learnInk);
            painter.drawText(QRect(x, wordTop, w, rowHeight), Qt::AlignCenter, Shown(c.word));
        }
        if (!same) {
            painter.setFont(caretFont);
            painter.setPen(textInk);
            painter.drawText(QRect(x, caretTop, w, caretHeight), Qt::AlignHCenter | Qt::AlignTop,
                             QStringLiteral("^"));
        }
        x += w;
    }

    // Several rules may be broken at once: the sound and rule lines get smaller until all
    // fit. Texts too long to compare get them alone.
    const int top = m_compared ? caretTop + caretHeight : area.top();
    std::vector<QStaticText> lines;
    QFont ruleFont;
    for (int pixels = Scaled(kRulePixels); pixels >= kSmallestRules; --pixels) {
        ruleFont = TextFont(pixels, false);
        lines.clear();
        int height = 0;
        const auto add = [&](const QString& html) {
            QStaticText text(html);
            text.setTextFormat(Qt::RichText);
            text.setTextWidth(area.width());
            text.prepare(QTransform(), ruleFont);
            height += int(text.size().height());
            lines.push_back(text);
        };
        if (!m_sound.empty()) {
            // The verdict in bold, as a rule's name: "It sounds close:".
            const std::size_t colon = m_sound.find(':') + 1;
            add(QStringLiteral("<b>%1</b>%2").arg(ToQt(m_sound.substr(0, colon)).toHtmlEscaped(),
                                                  ToQt(m_sound.substr(colon)).toHtmlEscaped()));
        }
        // The finding in bold, so the rule's name stands out from its explanation.
        for (const CRuleExplanations::Line& line : m_rules)
            add(QStringLiteral("&#8226; <b>%1:</b> %2 &#8212; %3")
                    .arg(ToQt(line.finding).toHtmlEscaped(), ToQt(line.explanation).toHtmlEscaped(),
                         ToQt(line.example).toHtmlEscaped()));
        if (top + height <= area.bottom())
            break;
    }
    painter.setFont(ruleFont);
    painter.setPen(textInk);
    int y = top;
    for (const QStaticText& text : lines) {
        painter.drawStaticText(QPoint(area.left(), y), text);
        y += int(text.size().height());
    }
}
