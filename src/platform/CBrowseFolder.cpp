#include "platform/CBrowseFolder.h"

#include "platform/CDialogService.h"

#include <QFileInfo>

std::string CBrowseFolder::Choose()
{
    const std::optional<QString> chosen =
        CDialogService::GetExistingDirectory(nullptr, QStringLiteral("Choose a Directory"), QStringLiteral("/"));
    if (!chosen || chosen->isEmpty())
        return std::string();
    const QFileInfo info(*chosen);
    if (!info.isDir())
        return std::string();
    // Every caller keeps the folder as 8-bit text.
    return CDialogService::StorablePath(info.absoluteFilePath(), "folder").value_or(std::string());
}
