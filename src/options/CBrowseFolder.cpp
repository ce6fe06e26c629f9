#include "options/CBrowseFolder.h"

#include "platform/CDialogService.h"
#include "platform/CQtText.h"

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
    return FromQt(info.absoluteFilePath());
}
