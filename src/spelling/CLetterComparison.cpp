#include "spelling/CLetterComparison.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

using Kind = CLetterComparison::Kind;
using Step = CLetterComparison::Step;

// Typed words are short, so the cost table nearly always fits on the stack.
constexpr std::size_t kStackCells = 4096;

Step MakeStep(Kind kind, char w0, char w1, char a0, char a1)
{
    return Step{kind, {w0, w1}, {a0, a1}};
}

} // namespace

std::string_view CLetterComparison::Step::WordLetters() const
{
    switch (kind) {
    case Kind::Same:
    case Kind::Changed:
    case Kind::Missing: return std::string_view(word, 1);
    case Kind::Swapped: return std::string_view(word, 2);
    case Kind::Extra: break;
    }
    return {};
}

std::string_view CLetterComparison::Step::AnswerLetters() const
{
    switch (kind) {
    case Kind::Same:
    case Kind::Changed:
    case Kind::Extra: return std::string_view(answer, 1);
    case Kind::Swapped: return std::string_view(answer, 2);
    case Kind::Missing: break;
    }
    return {};
}

bool CLetterComparison::Step::operator==(const Step& other) const
{
    return kind == other.kind && WordLetters() == other.WordLetters() && AnswerLetters() == other.AnswerLetters();
}

bool CLetterComparison::CanCompare(std::string_view word, std::string_view answer)
{
    return word.size() <= kMaxLetters && answer.size() <= kMaxLetters;
}

std::vector<CLetterComparison::Step> CLetterComparison::Compare(std::string_view word, std::string_view answer)
{
    if (!CanCompare(word, answer))
        return {};
    const std::size_t n = word.size();
    const std::size_t m = answer.size();
    const std::size_t width = m + 1;
    const std::size_t cells = (n + 1) * width;
    std::uint32_t stackTable[kStackCells];
    std::unique_ptr<std::uint32_t[]> heapTable;
    std::uint32_t* d = stackTable;
    if (cells > kStackCells) {
        heapTable = std::make_unique<std::uint32_t[]>(cells);
        d = heapTable.get();
    }
    auto at = [d, width](std::size_t i, std::size_t j) -> std::uint32_t& { return d[i * width + j]; };

    for (std::size_t j = 0; j <= m; ++j)
        at(0, j) = std::uint32_t(j);
    for (std::size_t i = 1; i <= n; ++i) {
        at(i, 0) = std::uint32_t(i);
        const char w = word[i - 1];
        for (std::size_t j = 1; j <= m; ++j) {
            const char a = answer[j - 1];
            std::uint32_t best = at(i - 1, j - 1) + (w == a ? 0u : 1u);
            best = std::min(best, at(i - 1, j) + 1);
            best = std::min(best, at(i, j - 1) + 1);
            if (i > 1 && j > 1 && w == answer[j - 2] && word[i - 2] == a && w != a)
                best = std::min(best, at(i - 2, j - 2) + 1);
            at(i, j) = best;
        }
    }

    // Ties: when alignments of equal cost differ, the steps are chosen from the
    // ends of the texts backwards, preferring at each point a right letter, then a
    // swap, then a changed letter, then a missing letter, then an extra letter.
    std::vector<Step> steps;
    steps.reserve(n + m);
    std::size_t i = n;
    std::size_t j = m;
    while (i > 0 || j > 0) {
        const std::uint32_t here = at(i, j);
        if (i > 0 && j > 0 && word[i - 1] == answer[j - 1] && here == at(i - 1, j - 1)) {
            steps.push_back(MakeStep(Kind::Same, word[i - 1], 0, answer[j - 1], 0));
            --i;
            --j;
        } else if (i > 1 && j > 1 && word[i - 1] == answer[j - 2] && word[i - 2] == answer[j - 1] &&
                   word[i - 1] != word[i - 2] && here == at(i - 2, j - 2) + 1) {
            steps.push_back(MakeStep(Kind::Swapped, word[i - 2], word[i - 1], answer[j - 2], answer[j - 1]));
            i -= 2;
            j -= 2;
        } else if (i > 0 && j > 0 && word[i - 1] != answer[j - 1] && here == at(i - 1, j - 1) + 1) {
            steps.push_back(MakeStep(Kind::Changed, word[i - 1], 0, answer[j - 1], 0));
            --i;
            --j;
        } else if (i > 0 && here == at(i - 1, j) + 1) {
            steps.push_back(MakeStep(Kind::Missing, word[i - 1], 0, 0, 0));
            --i;
        } else {
            steps.push_back(MakeStep(Kind::Extra, 0, 0, answer[j - 1], 0));
            --j;
        }
    }
    std::reverse(steps.begin(), steps.end());
    return steps;
}

std::size_t CLetterComparison::Cost(const std::vector<Step>& steps)
{
    return std::size_t(std::count_if(steps.begin(), steps.end(), [](const Step& s) { return s.kind != Kind::Same; }));
}
