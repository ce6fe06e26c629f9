#include "tool/ToolCompare.h"

#include "spelling/CLetterComparison.h"
#include "tool/ToolPairs.h"

namespace {

// Steps are separated by blanks, so a blank inside a step is written "\s" and,
// to keep that readable back, a backslash "\\".
void AppendLetter(std::string& out, char c)
{
    if (c == ' ')
        out.append("\\s");
    else if (c == '\\')
        out.append("\\\\");
    else
        out.push_back(c);
}

void AppendSteps(std::string_view word, std::string_view answer, std::string& out)
{
    using Kind = CLetterComparison::Kind;
    if (!CLetterComparison::CanCompare(word, answer)) {
        out.push_back('?'); // too long to be compared
        return;
    }
    bool first = true;
    for (const CLetterComparison::Step& s : CLetterComparison::Compare(word, answer)) {
        if (!first)
            out.push_back(' ');
        first = false;
        switch (s.kind) {
        case Kind::Same:
            out.push_back('=');
            AppendLetter(out, s.word[0]);
            break;
        case Kind::Changed:
            out.push_back('~');
            AppendLetter(out, s.word[0]);
            AppendLetter(out, s.answer[0]);
            break;
        case Kind::Missing:
            out.push_back('-');
            AppendLetter(out, s.word[0]);
            break;
        case Kind::Extra:
            out.push_back('+');
            AppendLetter(out, s.answer[0]);
            break;
        case Kind::Swapped:
            out.push_back('^');
            AppendLetter(out, s.word[0]);
            AppendLetter(out, s.word[1]);
            break;
        }
    }
}

} // namespace

int RunCompare(int argc, char** argv)
{
    return RunPairs("compare", "[WORD ANSWER]", argc, argv, AppendSteps);
}
