#include "options/CBrowseFolder.h"

#include "model/CPath.h"
#include "platform/CDialogService.h"
#include "platform/CQtText.h"
#include "platform/KMessage.h"

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
    // Every caller keeps the folder as 8-bit text; a folder it can't hold would come
    // back as another folder, so it is refused here.
    const std::string native = PathFromQt(info.absoluteFilePath());
    if (!CPath::CanHold(native)) {
        ShowMessage("Keltora can't use the folder \"" + CPath::FromNative(native) + "\", because its name (or the name "
                    "of a folder it is in) has letters that Keltora can't store.\r\nPlease choose another folder, "
                    "or rename it using other letters.",
                    MsgIcon::Exclamation);
        return std::string();
    }
    return CPath::FromNative(native);
}
