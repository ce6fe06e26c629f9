#pragma once
#include <QFont>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>
#include <string>

class QWidget;

// Every file, folder and font dialog of the program goes through here, so that
// tests can answer them without a modal window. An answer of std::nullopt is Cancel.
class CDialogService {
public:
    enum class Kind { OpenFile, SaveFile, Folder, Font };
    struct Request {
        Kind kind;
        QString caption;
        QString filter;       // file dialogs
        QString startPath;    // file and folder dialogs
        QFont font;           // font dialog
    };
    // A test's answerer returns a QString path (file and folder dialogs), a QFont, or nullopt.
    using Answerer = std::function<std::optional<QVariant>(const Request&)>;
    static void SetAnswerer(Answerer answerer);

    static std::optional<QString> GetOpenFileName(QWidget* parent, const QString& caption,
                                                  const QString& filter, const QString& startPath = {});
    // defaultSuffix is added when the typed name has no extension (e.g. "ktr").
    static std::optional<QString> GetSaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                                  const QString& defaultSuffix, const QString& startPath = {});
    static std::optional<QString> GetExistingDirectory(QWidget* parent, const QString& caption,
                                                       const QString& startPath = {});
    static std::optional<QFont> GetFont(QWidget* parent, const QFont& initial);

    // A chosen path that the program keeps as 8-bit text, as that text; or nullopt after
    // telling the user why not, since a path the text can't hold would come back as
    // another one. what names the choice: "folder" or "picture".
    static std::optional<std::string> StorablePath(const QString& chosen, const char* what);
};
