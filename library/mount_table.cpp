#include "library/mount_table.h"

#include <QFile>
#include <QList>
#include <algorithm>
#include <array>
#include <string_view>

namespace library {

namespace {

constexpr std::array<std::string_view, 36> skippedTypes{
    // virtual
    "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "securityfs", "debugfs", "tracefs", "pstore",
    "bpf", "configfs", "fusectl", "mqueue", "hugetlbfs", "autofs", "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs",
    "selinuxfs",
    // network
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "glusterfs", "9p", "davfs", "fuse.sshfs",
    "fuse.rclone", "fuse.s3fs", "fuse.gvfsd-fuse"};

// mountinfo writes blanks, tabs, line breaks and backslashes of a mount point as octal escapes.
std::string unescaped(const QByteArray& field)
{
    std::string out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

} // namespace

std::unordered_set<std::string> foldersNotToWalk(const QByteArray& mountinfo)
{
    std::unordered_set<std::string> folders{"/proc/", "/sys/", "/dev/", "/run/"};
    for (const QByteArray& line : mountinfo.split('\n')) {
        // id parent major:minor root mount-point options [optional fields] - type source options
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 0 || dash + 1 >= fields.size())
            continue;
        const std::string_view type(fields[dash + 1].constData(), fields[dash + 1].size());
        if (std::find(skippedTypes.begin(), skippedTypes.end(), type) == skippedTypes.end())
            continue;
        std::string folder = unescaped(fields[4]);
        if (folder.empty() || folder.back() != '/')
            folder += '/';
        if (folder != "/")
            folders.insert(std::move(folder));
    }
    return folders;
}

std::unordered_set<std::string> foldersNotToWalk()
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    return foldersNotToWalk(table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray());
}

} // namespace library
