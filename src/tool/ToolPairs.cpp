#include "tool/ToolPairs.h"

#include <cstdio>

namespace {

// Other tools compare this output byte for byte, so only answer lines go to
// standard output; everything else goes to standard error.
class Output {
public:
    explicit Output(const PairAnswer& answer) : m_answer(answer) {}

    // One input line, its terminator already removed.
    void Line(std::string_view line)
    {
        const std::size_t tab = line.find('\t');
        const std::string_view word = line.substr(0, tab);
        const std::string_view text = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
        m_answer(word, text, m_out);
        m_out.push_back('\n');
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
    const PairAnswer& m_answer;
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

int AnswerStandardInput(const char* command, const PairAnswer& answer)
{
    Output output(answer);
    std::string pending;
    char chunk[1 << 16];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
        // Only the new bytes are searched, so a very long line stays linear.
        std::size_t from = pending.size();
        pending.append(chunk, n);
        std::size_t start = 0;
        for (std::size_t nl; (nl = pending.find('\n', from)) != std::string::npos; start = from = nl + 1)
            output.Line(WithoutTerminator(std::string_view(pending).substr(start, nl - start)));
        pending.erase(0, start);
    }
    if (std::ferror(stdin)) {
        output.Finish();
        std::fprintf(stderr, "%s: cannot read standard input\n", command);
        return 1;
    }
    if (!pending.empty())
        output.Line(pending);
    if (!output.Finish()) {
        std::fprintf(stderr, "%s: cannot write standard output\n", command);
        return 1;
    }
    return 0;
}

} // namespace

int RunPairs(const char* command, const char* usage, int argc, char** argv, const PairAnswer& answer)
{
    if (argc == 0)
        return AnswerStandardInput(command, answer);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelto4-tool %s %s\n", command, usage);
        return 2;
    }
    std::string result;
    answer(argv[0], argv[1], result);
    result.push_back('\n');
    if (std::fwrite(result.data(), 1, result.size(), stdout) != result.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "%s: cannot write standard output\n", command);
        return 1;
    }
    return 0;
}
