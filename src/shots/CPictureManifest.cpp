#include "shots/CPictureManifest.h"

#include <QCryptographicHash>
#include <QFile>

#include <sstream>

std::string CPictureManifest::SourcesHash(const std::string& sourceRoot, const std::vector<std::string>& sources)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const std::string& source : sources) {
        // The path goes in too, so that moving code between files counts as a change.
        hash.addData(QByteArray::fromStdString(source + '\n'));
        QFile file(QString::fromStdString(sourceRoot + '/' + source));
        if (file.open(QIODevice::ReadOnly))
            hash.addData(file.readAll());
        hash.addData(QByteArrayView("\n", 1));
    }
    return hash.result().toHex().toStdString();
}

std::string CPictureManifest::Text(const std::vector<Entry>& entries)
{
    std::string text = "# The user guide's pictures, made by scripts/screenshots: picture, hash of its sources, sources.\n";
    for (const Entry& e : entries) {
        text += e.picture + '\t' + e.hash + '\t';
        for (std::size_t i = 0; i < e.sources.size(); ++i)
            text += (i ? " " : "") + e.sources[i];
        text += '\n';
    }
    return text;
}

std::vector<CPictureManifest::Entry> CPictureManifest::Parse(const std::string& text)
{
    std::vector<Entry> entries;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Entry e;
        std::string sources;
        std::getline(fields, e.picture, '\t');
        std::getline(fields, e.hash, '\t');
        std::getline(fields, sources);
        std::istringstream names(sources);
        for (std::string name; names >> name;)
            e.sources.push_back(name);
        entries.push_back(std::move(e));
    }
    return entries;
}
