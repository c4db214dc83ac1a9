#include "library/drive_list.h"

#include <QDir>
#include <QStorageInfo>

namespace library {

namespace {

bool isRemovableMountPoint(const QString& root)
{
    return root.startsWith(u"/media/") || root.startsWith(u"/run/media/") || root.startsWith(u"/mnt/");
}

} // namespace

QList<DriveEntry> driveEntries()
{
    QList<DriveEntry> entries{{QStringLiteral("/"), QStringLiteral("/")}};
    const QString home = QDir::homePath();
    if (home != u"/")
        entries.append({home, home});
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || !isRemovableMountPoint(root) || root == home)
            continue;
        const QString label = volume.displayName();
        entries.append({label.isEmpty() || label == root ? root : root + " [" + label + "]", root});
    }
    return entries;
}

QString rootFolder(const QString& root)
{
    return root.endsWith(u'/') ? root : root + u'/';
}

QString driveOf(const QList<DriveEntry>& entries, const QString& folder)
{
    if (folder.trimmed().isEmpty())
        return {};
    const QString path = rootFolder(folder.trimmed());
    QString drive;
    for (const DriveEntry& entry : entries) {
        const QString root = rootFolder(entry.root);
        if (path.startsWith(root) && root.size() > drive.size())
            drive = root;
    }
    return drive;
}

} // namespace library
