#include "platform/CProfile.h"

#include "model/Cp1252.h"

#include <QFile>
#include <QSettings>

namespace {
QString key(const char* section, const char* entry)
{
    return QString::fromLatin1(section) + QLatin1Char('/') + QString::fromLatin1(entry);
}

bool flush(QSettings& s)
{
    s.sync();
    return s.status() == QSettings::NoError;
}
}

std::string CProfile::GetProfileString(const char* section, const char* entry, const std::string& defaultValue)
{
    QSettings s(QStringLiteral("Tarvel"), QStringLiteral("Kelto4"));
    const QVariant v = s.value(key(section, entry));
    if (!v.isValid())
        return defaultValue;
    return Utf8ToCp1252(v.toString().toStdString());
}

int CProfile::GetProfileInt(const char* section, const char* entry, int defaultValue)
{
    QSettings s(QStringLiteral("Tarvel"), QStringLiteral("Kelto4"));
    bool ok = false;
    const int value = s.value(key(section, entry)).toInt(&ok);
    return ok ? value : defaultValue;
}

bool CProfile::WriteProfileString(const char* section, const char* entry, const std::string& value)
{
    QSettings s(QStringLiteral("Tarvel"), QStringLiteral("Kelto4"));
    s.setValue(key(section, entry), QString::fromStdString(Cp1252ToUtf8(value)));
    return flush(s);
}

bool CProfile::WriteProfileInt(const char* section, const char* entry, int value)
{
    QSettings s(QStringLiteral("Tarvel"), QStringLiteral("Kelto4"));
    s.setValue(key(section, entry), value);
    return flush(s);
}

std::string CProfile::GetProfilePath(const char* section, const char* entry)
{
    QSettings s(QStringLiteral("Tarvel"), QStringLiteral("Kelto4"));
    return QFile::encodeName(s.value(key(section, entry)).toString()).toStdString();
}

bool CProfile::WriteProfilePath(const char* section, const char* entry, const std::string& nativePath)
{
    QSettings s(QStringLiteral("Tarvel"), QStringLiteral("Kelto4"));
    s.setValue(key(section, entry), QFile::decodeName(QByteArray::fromStdString(nativePath)));
    return flush(s);
}
