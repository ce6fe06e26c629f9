#include "model/CCsvWriter.h"

#include "model/CDateStamp.h"
#include "model/CGrade.h"
#include "model/Cp1252.h"

#include <cstdio>

void CCsvWriter::Separate()
{
    if (m_inRow)
        m_text.push_back(',');
    m_inRow = true;
}

void CCsvWriter::Field(std::string_view text)
{
    Put(text, &AppendCp1252AsUtf8);
}

void CCsvWriter::Utf8Field(std::string_view text)
{
    Put(text, &AppendValidUtf8);
}

void CCsvWriter::Put(std::string_view text, void (*append)(std::string&, std::string_view))
{
    Separate();
    // A spreadsheet program runs a cell that begins like a formula (a learner may type
    // "=HYPERLINK(...)" as an answer); a leading apostrophe keeps it text.
    const bool formula = !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
    const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quoted)
        m_text.push_back('"');
    if (formula)
        m_text.push_back('\'');
    if (!quoted) {
        append(m_text, text);
        return;
    }
    for (std::size_t from = 0;;) {
        const std::size_t quote = text.find('"', from);
        append(m_text, text.substr(from, quote == std::string_view::npos ? quote : quote + 1 - from));
        if (quote == std::string_view::npos)
            break;
        m_text.push_back('"');
        from = quote + 1;
    }
    m_text.push_back('"');
}

void CCsvWriter::Number(std::int64_t value)
{
    Separate();
    m_text.append(std::to_string(value));
}

void CCsvWriter::Grade(std::int32_t correct, std::int32_t words)
{
    Separate();
    if (words == 0)
        return;
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(CGrade::Percent(correct, words)));
    m_text.append(text);
}

void CCsvWriter::Date(std::string_view stamp)
{
    // The records of one test share their stamp, so the last one read is kept.
    if (stamp != m_lastStamp || m_lastDate.empty()) {
        const std::optional<CDateStamp> date = CDateStamp::Read(stamp);
        if (!date) {
            Field(stamp);
            return;
        }
        m_lastStamp.assign(stamp);
        m_lastDate = date->Iso();
    }
    Separate();
    m_text.append(m_lastDate);
}

void CCsvWriter::EndRow()
{
    m_text.append("\r\n");
    m_inRow = false;
}
