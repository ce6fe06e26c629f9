#include "tool/ToolAnalyse.h"

#include "spelltest/CSpellingRules.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

// Other tools compare this output byte for byte, so only analysis lines go to
// standard output; everything else goes to standard error.
class Analyser {
public:
    // One input line, its terminator already removed.
    void Line(std::string_view line)
    {
        const std::size_t tab = line.find('\t');
        const std::string_view word = line.substr(0, tab);
        const std::string_view misspelling =
            tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
        m_rules.GetSpellingErrors(word, misspelling, m_result);
        m_out.append(m_result).push_back('\n');
        if (m_out.size() >= kFlushAt)
            Flush();
    }

    bool Flush()
    {
        if (!m_out.empty() && std::fwrite(m_out.data(), 1, m_out.size(), stdout) != m_out.size())
            m_failed = true;
        m_out.clear();
        return !m_failed;
    }

    bool Finish() { return Flush() && std::fflush(stdout) == 0 && !std::ferror(stdout); }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    CSpellingRules m_rules;
    std::string m_result;
    std::string m_out;
    bool m_failed = false;
};

// A line ends at "\n"; a "\r" just before it belongs to the terminator, so
// files written on Windows give the same answers. A last line without a
// terminator still counts.
std::string_view WithoutTerminator(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

int AnalyseStandardInput()
{
    Analyser analyser;
    std::string pending;
    char chunk[1 << 16];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
        // Only the new bytes are searched, so a very long line stays linear.
        std::size_t from = pending.size();
        pending.append(chunk, n);
        std::size_t start = 0;
        for (std::size_t nl; (nl = pending.find('\n', from)) != std::string::npos; start = from = nl + 1)
            analyser.Line(WithoutTerminator(std::string_view(pending).substr(start, nl - start)));
        pending.erase(0, start);
    }
    if (std::ferror(stdin)) {
        analyser.Finish();
        std::fprintf(stderr, "analyse: cannot read standard input\n");
        return 1;
    }
    if (!pending.empty())
        analyser.Line(pending);
    if (!analyser.Finish()) {
        std::fprintf(stderr, "analyse: cannot write standard output\n");
        return 1;
    }
    return 0;
}

} // namespace

int RunAnalyse(int argc, char** argv)
{
    if (argc == 0)
        return AnalyseStandardInput();
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelto4-tool analyse [WORD MISSPELLING]\n");
        return 2;
    }
    CSpellingRules rules;
    const std::string result = rules.GetSpellingErrors(argv[0], argv[1]) + "\n";
    if (std::fwrite(result.data(), 1, result.size(), stdout) != result.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "analyse: cannot write standard output\n");
        return 1;
    }
    return 0;
}
