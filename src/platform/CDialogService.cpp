#include "platform/CDialogService.h"

#include "model/CPath.h"
#include "model/KMessage.h"
#include "platform/CQtText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QUrl>

namespace {
CDialogService::Answerer& answerer()
{
    static CDialogService::Answerer a;
    return a;
}

std::optional<QString> askPath(const CDialogService::Request& request)
{
    const std::optional<QVariant> answer = answerer()(request);
    if (!answer)
        return std::nullopt;
    return answer->toString();
}
}

void CDialogService::SetAnswerer(Answerer a)
{
    answerer() = std::move(a);
}

std::optional<QString> CDialogService::GetOpenFileName(QWidget* parent, const QString& caption,
                                                       const QString& filter, const QString& startPath)
{
    if (answerer())
        return askPath({Kind::OpenFile, caption, filter, startPath, {}});
    QFileDialog dialog(parent, caption, startPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
}

std::optional<QString> CDialogService::GetSaveFileName(QWidget* parent, const QString& caption,
                                                       const QString& filter, const QString& defaultSuffix,
                                                       const QString& startPath)
{
    if (answerer())
        return askPath({Kind::SaveFile, caption, filter, startPath, {}});
    QFileDialog dialog(parent, caption, startPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    // A name typed without an extension gets the one of the kind of file chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
        static const QRegularExpression extension(QStringLiteral("\\(\\*\\.(\\w+)"));
        const QRegularExpressionMatch match = extension.match(chosen);
        if (match.hasMatch())
            dialog.setDefaultSuffix(match.captured(1));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
}

std::optional<QString> CDialogService::GetExistingDirectory(QWidget* parent, const QString& caption,
                                                            const QString& startPath)
{
    if (answerer())
        return askPath({Kind::Folder, caption, {}, startPath, {}});
    QFileDialog dialog(parent, caption, startPath);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    // The mounted volumes stand where a drive list would be.
    QList<QUrl> places;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            places << QUrl::fromLocalFile(volume.rootPath());
    dialog.setSidebarUrls(places);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QFont> CDialogService::GetFont(QWidget* parent, const QFont& initial)
{
    if (answerer()) {
        const std::optional<QVariant> answer = answerer()({Kind::Font, {}, {}, {}, initial});
        if (!answer)
            return std::nullopt;
        return answer->value<QFont>();
    }
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<std::string> CDialogService::StorablePath(const QString& chosen, const char* what)
{
    const std::string native = PathFromQt(chosen);
    if (CPath::CanHold(native))
        return CPath::FromNative(native);
    ShowMessage(std::string("Keltora can't use the ") + what + " \"" + CPath::FromNative(native)
                    + "\", because its name (or the name of a folder it is in) has letters that Keltora can't "
                      "store.\r\nPlease choose another " + what + ", or rename it using other letters.",
                MsgIcon::Exclamation);
    return std::nullopt;
}
