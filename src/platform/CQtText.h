#pragma once
#include <QString>
#include <string>

// The widget boundary: the program's Windows-1252 texts to and from Qt's strings.
// A character that Windows-1252 lacks becomes "?".
QString ToQt(const std::string& text);
std::string FromQt(const QString& text);
// For display only: "\r\n" and "\n\r" become one line break, a lone "\r" disappears.
QString ToQtDisplay(const std::string& text);
// Paths as the file system names them (native bytes, see CPath) to and from Qt's
// strings, with nothing lost on the way.
QString PathToQt(const std::string& nativePath);
std::string PathFromQt(const QString& path);
