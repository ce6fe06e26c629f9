#include "platform/CQtText.h"

#include "model/Cp1252.h"

#include <QFile>

QString ToQt(const std::string& text)
{
    return QString::fromStdString(Cp1252ToUtf8(text));
}

std::string FromQt(const QString& text)
{
    return Utf8ToCp1252(text.toStdString());
}

QString ToQtDisplay(const std::string& text)
{
    QString s = ToQt(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    s.remove(QLatin1Char('\r'));
    return s;
}

QString PathToQt(const std::string& nativePath)
{
    return QFile::decodeName(QByteArray::fromStdString(nativePath));
}

std::string PathFromQt(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}
