#pragma once
#include "platform/CReadingStyle.h"
#include "spelling/CLetterComparison.h"
#include "spelling/CRuleExplanations.h"
#include "spelling/CSoundComparison.h"

#include <QWidget>

#include <string>
#include <vector>

// What went wrong with one answer: the answer above the word, letter by letter in
// large print, then the spelling rules that the answer breaks, each explained with
// an example. Under the letters, a line says whether the answer sounds like the word.
// Wrong letters are red and struck through, the letters to learn are
// blue and underlined, and a caret stands under every place that differs, so the
// marks can be read without telling colours apart. Used by the test page after a
// wrong answer (and for the word to copy while a mistake is corrected) and by the
// reports page for a misspelled word.
class CFeedbackPanel : public QWidget {
    Q_OBJECT
public:
    // The panel's control id on every page that shows it.
    static constexpr int kControlId = 1060;

    explicit CFeedbackPanel(QWidget* parent = nullptr);

    // Shows the comparison of answer with word, how it sounds (no line when the sound
    // could not be compared) and the rules it breaks (none when the analysis finds
    // nothing), and makes the panel visible. Texts too long to be compared
    // (CLetterComparison::CanCompare) get no letters.
    void ShowFeedback(const std::string& word, const std::string& answer,
                      CSoundComparison::Verdict sound = CSoundComparison::Verdict::Unavailable);
    // Shows the word alone, in the letters' large print, for the learner to copy, and
    // makes the panel visible.
    void ShowWord(const std::string& word);
    // Hides the panel and forgets the answer.
    void Clear();
    // The font, spacing and colours of the panel's texts.
    void SetReadingStyle(const CReadingStyle& style);

    const std::vector<CLetterComparison::Step>& GetSteps() const { return m_steps; }
    const std::vector<CRuleExplanations::Line>& GetRuleLines() const { return m_rules; }
    // The panel as plain Windows-1252 text: the answer row, the word row and the
    // caret row (a blank for an empty place), the sound line if any, then one line
    // per rule; no letter rows when the texts were not compared; the word alone after
    // ShowWord.
    std::string GetText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // One place of the comparison: a letter of the answer, of the word, or both.
    struct Column {
        char answer; // 0: no letter
        char word;
        CLetterComparison::Kind kind;
    };
    QFont LetterFont(int pixelSize) const;
    QFont TextFont(int pixelSize, bool bold) const;
    int Scaled(int pixels) const;
    // The letter size at which every column fits into width and the two rows of
    // letters into height, between the largest and the smallest that the panel uses.
    int FittingLetterSize(int width, int height) const;
    int ColumnWidth(const QFontMetrics& metrics, const Column& column) const;

    bool m_compared = false;
    std::vector<CLetterComparison::Step> m_steps;
    std::vector<CRuleExplanations::Line> m_rules;
    std::vector<Column> m_columns;
    std::string m_sound; // what the sound comparison says; empty for no line
    bool m_wordOnly = false;
    CReadingStyle m_style;
};
