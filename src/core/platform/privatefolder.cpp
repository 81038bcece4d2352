#include "core/platform/privatefolder.h"

#include <QDir>
#include <QFileInfo>

void makePrivateFolder(const QString& path)
{
    const QFileInfo folder(path);
    if (folder.exists() || folder.isRoot())
        return;
    makePrivateFolder(folder.absolutePath());
    QDir().mkdir(folder.absoluteFilePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
