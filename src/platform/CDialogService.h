#pragma once
#include <QFont>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

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
};
