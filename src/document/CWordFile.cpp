#include "document/CWordFile.h"

#include "model/Cp1252.h"
#include "model/CPath.h"
#include "model/CSafeFile.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cerrno>

#include <utility>

namespace {
std::string NameOf(std::string_view fileName)
{
    const std::size_t slash = fileName.rfind('/');
    return "\"" + CPath::FromNative(slash == std::string_view::npos ? fileName : fileName.substr(slash + 1)) + "\"";
}

bool HasExtension(std::string_view fileName, std::initializer_list<std::string_view> extensions)
{
    for (std::string_view extension : extensions)
        if (CPath::HasExtension(fileName, extension))
            return true;
    return false;
}

bool StartsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.substr(0, prefix.size()) == prefix;
}

// UTF-8 with or without its mark, UTF-16 with its mark, else Windows-1252 (which gives
// every byte a character, so any file decodes). Line ends all become "\n".
QString Decode(std::string_view bytes)
{
    QString text;
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        text = QString::fromUtf8(bytes.data() + 3, qsizetype(bytes.size() - 3));
    } else if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
        QStringDecoder utf16(bytes[0] == '\xFF' ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        text = utf16(QByteArrayView(bytes.data() + 2, qsizetype(bytes.size() - 2)));
    } else {
        QStringDecoder utf8(QStringConverter::Utf8);
        text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
        if (utf8.hasError()) {
            text.clear();
            text.reserve(qsizetype(bytes.size()));
            for (char c : bytes)
                text.append(QChar(char16_t(Cp1252ToUnicode(static_cast<unsigned char>(c)))));
        }
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

CWordFile::Format FormatOfText(const QString& text, std::string_view fileName)
{
    const QString start = text.left(200).trimmed();
    if (HasExtension(fileName, {".kvtml", ".xml"}) || start.startsWith(QLatin1String("<?xml"))
        || start.startsWith(QLatin1String("<kvtml")) || start.startsWith(QLatin1String("<!DOCTYPE")))
        return CWordFile::Format::Kvtml;
    for (const char* header : {"#separator:", "#html:", "#columns:", "#tags", "#guid column:", "#notetype", "#deck"})
        if (text.startsWith(QLatin1String(header)))
            return CWordFile::Format::Anki;
    if (HasExtension(fileName, {".csv", ".tsv"}))
        return CWordFile::Format::Csv;
    return CWordFile::Format::Text;
}

// Calls onRecord with each record's fields: a record ends at a line end, a field at one
// of separators. A field that begins with a double quote runs to the next lone one, over
// separators and line ends; two quotes inside it stand for one (RFC 4180). Records are
// handed on one by one, so a long file never lies in memory twice over as fields.
template <class OnRecord>
void Split(QStringView text, QStringView separators, OnRecord onRecord)
{
    QStringList record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    const auto endField = [&] {
        record.append(field);
        field.clear();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field.append(c);
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field.append(c);
            }
        } else if (c == u'"' && !fieldStarted && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
            fieldStarted = true;
        } else if (separators.contains(c)) {
            endField();
        } else if (c == u'\n') {
            endField();
            onRecord(std::as_const(record));
            record.clear();
        } else {
            field.append(c);
            if (!c.isSpace())
                fieldStarted = true;
        }
    }
    if (!field.isEmpty() || !record.isEmpty() || quoted) {
        endField();
        onRecord(std::as_const(record));
    }
}

void Add(std::vector<std::string>& entries, const QString& entry)
{
    const QString trimmed = entry.trimmed();
    if (!trimmed.isEmpty())
        entries.push_back(trimmed.toStdString());
}

bool IsHeading(const QString& cell)
{
    static const QStringList headings = {
        QStringLiteral("word"),          QStringLiteral("words"),          QStringLiteral("spelling"),
        QStringLiteral("spellings"),     QStringLiteral("spelling word"),  QStringLiteral("spelling words"),
        QStringLiteral("term"),          QStringLiteral("front"),          QStringLiteral("vocabulary"),
    };
    return headings.contains(cell.trimmed(), Qt::CaseInsensitive);
}

qsizetype WordColumn(const QStringList& names)
{
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names[i].trimmed().compare(QLatin1String("word"), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// The separator of a CSV file: the comma, unless its first line has none but has
// semicolons (as spreadsheets in many countries write) or tabs.
QChar CsvSeparator(const QString& text, std::string_view fileName)
{
    if (HasExtension(fileName, {".tsv"}))
        return u'\t';
    const QStringView firstLine = QStringView(text).left(text.indexOf(u'\n'));
    if (firstLine.contains(u','))
        return u',';
    if (firstLine.contains(u';'))
        return u';';
    if (firstLine.contains(u'\t'))
        return u'\t';
    return u',';
}

// The column headed "word" (any case), else the first one; a heading row is skipped.
void ParseCsv(const QString& text, std::string_view fileName, std::vector<std::string>& entries)
{
    const QChar separator = CsvSeparator(text, fileName);
    bool first = true;
    qsizetype column = 0;
    Split(text, QStringView(&separator, 1), [&](const QStringList& record) {
        if (first) {
            first = false;
            column = WordColumn(record);
            if (column >= 0 || (!record.isEmpty() && IsHeading(record.first()))) {
                column = std::max<qsizetype>(column, 0);
                return;
            }
            column = 0;
        }
        if (column < record.size())
            Add(entries, record[column]);
    });
}

void ParseText(const QString& text, std::vector<std::string>& entries)
{
    Split(text, u",;\t", [&entries](const QStringList& record) {
        for (const QString& field : record)
            Add(entries, field);
    });
}

QString AnkiSeparator(const QString& value)
{
    const QString name = value.trimmed().toLower();
    if (name == QLatin1String("tab"))
        return QStringLiteral("\t");
    if (name == QLatin1String("comma"))
        return QStringLiteral(",");
    if (name == QLatin1String("semicolon"))
        return QStringLiteral(";");
    if (name == QLatin1String("space"))
        return QStringLiteral(" ");
    if (name == QLatin1String("pipe"))
        return QStringLiteral("|");
    if (name == QLatin1String("colon"))
        return QStringLiteral(":");
    return value.size() == 1 ? value : QStringLiteral("\t");
}

// A note's field as its text: the media references Anki adds ([sound:cat.mp3]) go, and
// with HTML on, the tags (a line break or a block parts words) and the entities too.
QString AnkiText(QString field, bool html)
{
    static const QRegularExpression sound(QStringLiteral("\\[sound:[^\\]]*\\]"));
    static const QRegularExpression block(QStringLiteral("<\\s*/?\\s*(br|div|p|li|tr|td|h[1-6])\\b[^>]*>"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]+|#[xX][0-9a-fA-F]+|[a-zA-Z]+);"));
    field.remove(sound);
    if (!html)
        return field;
    field.replace(block, QStringLiteral(" "));
    field.remove(tag);
    QString out;
    qsizetype from = 0;
    for (auto it = entity.globalMatch(field); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(field).mid(from, m.capturedStart() - from);
        const QString name = m.captured(1);
        char32_t code = 0;
        if (name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive))
            code = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(u'#'))
            code = name.mid(1).toUInt();
        else if (name == QLatin1String("amp"))
            code = '&';
        else if (name == QLatin1String("lt"))
            code = '<';
        else if (name == QLatin1String("gt"))
            code = '>';
        else if (name == QLatin1String("quot"))
            code = '"';
        else if (name == QLatin1String("apos"))
            code = '\'';
        else if (name == QLatin1String("nbsp"))
            code = ' ';
        if (code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF))
            out += QString::fromUcs4(&code, 1);
        else
            out += m.captured(0);
        from = m.capturedEnd();
    }
    out += QStringView(field).mid(from);
    return out.simplified();
}

// Header lines (#key:value) first, then one note a line. The first field is the first
// column that is no GUID, note type, deck or tags column, unless #columns names a "word".
void ParseAnki(const QString& text, std::vector<std::string>& entries)
{
    QString separator = QStringLiteral("\t");
    bool html = false;
    QString columnNames;
    QList<qsizetype> metaColumns;
    qsizetype body = 0;
    while (body < text.size() && text[body] == u'#') {
        const qsizetype end = text.indexOf(u'\n', body);
        const QString line = text.mid(body, end < 0 ? -1 : end - body);
        body = end < 0 ? text.size() : end + 1;
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            continue;
        const QString key = line.mid(1, colon - 1).trimmed().toLower();
        const QString value = line.mid(colon + 1);
        if (key == QLatin1String("separator"))
            separator = AnkiSeparator(value);
        else if (key == QLatin1String("html"))
            html = value.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
        else if (key == QLatin1String("columns"))
            columnNames = value;
        else if (key.endsWith(QLatin1String(" column")))
            metaColumns.append(value.trimmed().toLongLong() - 1);
    }
    qsizetype column = WordColumn(columnNames.split(separator));
    if (column < 0) {
        column = 0;
        while (metaColumns.contains(column))
            ++column;
    }
    Split(QStringView(text).mid(body), separator, [&](const QStringList& record) {
        if (column < record.size())
            Add(entries, AnkiText(record[column], html));
    });
}

bool ParseKvtml(const QString& text, const std::string& name, std::vector<std::string>& entries, std::string& error)
{
    QXmlStreamReader xml(text);
    QStringList open;
    bool inEntry = false, hadTranslation = false, inFirstTranslation = false;
    QString entryText;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QString element = xml.name().toString();
            const QString parent = open.isEmpty() ? QString() : open.last();
            if (open.isEmpty() && element != QLatin1String("kvtml")) {
                error = name + " is not a KDE vocabulary file, so Keltora can't take words from it.";
                return false;
            }
            if (open.isEmpty() && !xml.attributes().value(QLatin1String("version")).startsWith(u'2')) {
                error = name + " is a KDE vocabulary file of an old kind. Please open it in Parley or "
                               "KWordQuiz, save it again, and then import it.";
                return false;
            }
            if (element == QLatin1String("entry") && parent == QLatin1String("entries")) {
                inEntry = true;
                hadTranslation = false;
                entryText.clear();
            } else if (element == QLatin1String("translation") && parent == QLatin1String("entry") && inEntry) {
                inFirstTranslation = !hadTranslation;
                hadTranslation = true;
            } else if (element == QLatin1String("text") && parent == QLatin1String("translation")
                       && inFirstTranslation) {
                entryText = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                continue; // the end element is read
            }
            open.append(element);
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!open.isEmpty())
                open.removeLast();
            if (xml.name() == QLatin1String("translation"))
                inFirstTranslation = false;
            else if (xml.name() == QLatin1String("entry") && inEntry) {
                Add(entries, entryText);
                inEntry = false;
            }
            break;
        default: break;
        }
    }
    if (xml.hasError()) {
        entries.clear();
        error = name + " is a damaged vocabulary file (line " + std::to_string(xml.lineNumber()) + ": "
            + Utf8ToCp1252(xml.errorString().toStdString()) + "), so Keltora can't take words from it.";
        return false;
    }
    return true;
}

bool NeedsQuotes(std::string_view word)
{
    return word.find_first_of(",;\t\"\n\r") != std::string_view::npos || word.front() == ' ' || word.back() == ' '
        || word.front() == '#';
}
}

CWordFile::Format CWordFile::FormatOf(std::string_view bytes, std::string_view fileName)
{
    return FormatOfText(Decode(bytes), fileName);
}

bool CWordFile::Parse(std::string_view bytes, std::string_view fileName, std::vector<std::string>& entries,
                      std::string& error)
{
    entries.clear();
    const QString text = Decode(bytes);
    const std::string name = NameOf(fileName);
    // A document, picture or program holds zero characters; a word list never does.
    if (text.contains(QChar(u'\0'))) {
        error = name + " is not a list of words. Keltora can import words from text files, CSV files, "
                       "KDE vocabulary files (.kvtml) and Anki notes exported as text.";
        return false;
    }
    switch (FormatOfText(text, fileName)) {
    case Format::Kvtml: return ParseKvtml(text, name, entries, error);
    case Format::Anki: ParseAnki(text, entries); break;
    case Format::Csv: ParseCsv(text, fileName, entries); break;
    case Format::Text: ParseText(text, entries); break;
    }
    return true;
}

bool CWordFile::Read(const std::string& nativePath, std::vector<std::string>& entries, std::string& error)
{
    entries.clear();
    const std::string name = NameOf(nativePath);
    // One byte more than the limit tells a file that is too large from one that just fits.
    std::string bytes;
    std::string why;
    if (!CSafeFile::ReadAll(nativePath, bytes, &why, nullptr, kMaxFileSize + 1)) {
        if (errno == CSafeFile::kNotRegularError || errno == EISDIR)
            error = name + " is not a file (it is a folder, a pipe or a device), so Keltora can't take words from it.";
        else
            error = why + "\r\nKeltora could not read the words of " + name + ".";
        return false;
    }
    if (bytes.size() > kMaxFileSize) {
        error = name + " is too large to be a list of words (a list file is smaller than "
            + std::to_string(kMaxFileSize >> 20) + " MB).";
        return false;
    }
    return Parse(bytes, nativePath, entries, error);
}

std::string CWordFile::TextFile(const std::vector<std::string>& words)
{
    std::string out;
    for (const std::string& word : words) {
        if (word.empty())
            continue;
        if (NeedsQuotes(word)) {
            out += '"';
            for (char c : word) {
                if (c == '"')
                    out += '"';
                AppendCp1252AsUtf8(out, std::string_view(&c, 1));
            }
            out += '"';
        } else {
            AppendCp1252AsUtf8(out, word);
        }
        out += '\n';
    }
    return out;
}

std::string CWordFile::KvtmlFile(const std::vector<std::string>& words, const std::string& title)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"));
    xml.writeStartElement(QStringLiteral("kvtml"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    const QString name = QString::fromStdString(Cp1252ToUtf8(title));
    xml.writeStartElement(QStringLiteral("information"));
    xml.writeTextElement(QStringLiteral("generator"), QStringLiteral("Keltora"));
    xml.writeTextElement(QStringLiteral("title"), name);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("identifiers"));
    xml.writeStartElement(QStringLiteral("identifier"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
    xml.writeTextElement(QStringLiteral("name"), QStringLiteral("English"));
    xml.writeTextElement(QStringLiteral("locale"), QStringLiteral("en"));
    xml.writeEndElement();
    xml.writeEndElement();
    QStringList ids;
    xml.writeStartElement(QStringLiteral("entries"));
    for (const std::string& word : words) {
        if (word.empty())
            continue;
        ids.append(QString::number(ids.size()));
        xml.writeStartElement(QStringLiteral("entry"));
        xml.writeAttribute(QStringLiteral("id"), ids.last());
        xml.writeStartElement(QStringLiteral("translation"));
        xml.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
        xml.writeTextElement(QStringLiteral("text"), QString::fromStdString(Cp1252ToUtf8(word)));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
    // Parley practises the entries of lessons, so every word stands in one.
    xml.writeStartElement(QStringLiteral("lessons"));
    xml.writeStartElement(QStringLiteral("container"));
    xml.writeTextElement(QStringLiteral("name"), name);
    xml.writeTextElement(QStringLiteral("inpractice"), QStringLiteral("true"));
    for (const QString& id : ids) {
        xml.writeEmptyElement(QStringLiteral("entry"));
        xml.writeAttribute(QStringLiteral("id"), id);
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes.toStdString();
}
