#include "library/VoltariaScan.h"

#include "base/path_bytes.h"
#include "library/library_file.h"
#include "library/locale_text.h"
#include "library/mount_table.h"
#include "library/time_slice.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <memory>
#include <sys/stat.h>

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Folders only as the listing tells them; a symbolic link is never a folder here, so a link loop
// cannot multiply the walk. Only file systems that give no entry type cost a stat.
bool isRealFolder(DIR* dir, const dirent* entry)
{
    if (entry->d_type != DT_UNKNOWN)
        return entry->d_type == DT_DIR;
    struct stat info;
    return fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

// The file-name part of a mask: the text after its last "/".
std::string maskNamePart(const QString& mask)
{
    return QFile::encodeName(mask.mid(mask.lastIndexOf(u'/') + 1)).toStdString();
}

// Whether name matches mask without regard to letter case. The usual masks, "*" and a plain ASCII
// ending such as "*.mp3", are a comparison of the name's end: fnmatch's case folding converts
// every name to wide characters, which costs more than the whole directory read.
bool matchesMask(const std::string& mask, const std::string& name)
{
    const bool plainEnding = !mask.empty() && mask[0] == '*' &&
                             std::all_of(mask.begin() + 1, mask.end(), [](unsigned char c) {
                                 return c < 128 && c != '*' && c != '?' && c != '[' && c != '\\';
                             });
    if (!plainEnding)
        return fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    const std::size_t ending = mask.size() - 1;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return name.size() >= ending && std::equal(mask.begin() + 1, mask.end(), name.end() - ending,
                                               [&lower](char a, char b) { return lower(a) == lower(b); });
}

} // namespace

TVoltariaScan::TVoltariaScan(QObject* parent) : QObject(parent) {}

QString TVoltariaScan::About() const
{
    return QStringLiteral("TVoltariaScan - captura de mídia do Arvesto Voltaria");
}

void TVoltariaScan::Stop()
{
    stopRequested_ = true;
}

void TVoltariaScan::Search()
{
    stopRequested_ = false;
    rootSlashes_ = FilePath.startsWith(RootPath) ? RootPath.count(u'/') : 1;
    std::vector<std::string> masks;
    for (const QString& mask : SearchFilter)
        masks.push_back(maskNamePart(mask));

    // One walk tests every name against the masks in order; after the sort this is the list one
    // walk per mask would give, at a fraction of the directory reads.
    QStringList found;
    library::TimeSlice slice;
    notToWalk_ = library::foldersNotToWalk();
    if (!masks.empty() && !FilePath.isEmpty())
        walk(FilePath, base::pathToBytes(FilePath).toStdString(), masks, found, slice);
    library::sortCaseInsensitive(found);
    searchResult_ = std::move(found);
    if (OnReady)
        OnReady(searchResult_);
}

void TVoltariaScan::walk(const QString& folder, const std::string& folderBytes,
                         const std::vector<std::string>& masks, QStringList& found, library::TimeSlice& slice)
{
    std::vector<Entry> entries;
    {
        // An unreadable or vanished folder is skipped silently, like an empty one.
        std::unique_ptr<DIR, DirCloser> dir(opendir(folderBytes.c_str()));
        if (!dir)
            return;
        while (const dirent* entry = readdir(dir.get())) {
            // A name holding a line break cannot be one line of the library file: left out.
            if (!isDotOrDotDot(entry->d_name) && !std::strpbrk(entry->d_name, "\r\n"))
                entries.push_back({entry->d_name, isRealFolder(dir.get(), entry)});
        }
    }

    for (const Entry& entry : entries) {
        slice.tick();
        addMatches(folder, entry, masks, found);
        if (stopRequested_)
            return;
    }

    if (!SubDirectories || folder.count(u'/') - rootSlashes_ + 1 > xnivel)
        return;
    for (const Entry& entry : entries) {
        if (!entry.isFolder)
            continue;
        slice.tick();
        const std::string subBytes = folderBytes + entry.name + '/';
        if (notToWalk_.count(subBytes))
            continue;
        walk(folder + base::pathFromBytes(entry.name) + u'/', subBytes, masks, found, slice);
        if (stopRequested_)
            return;
    }
}

void TVoltariaScan::addMatches(const QString& folder, const Entry& entry, const std::vector<std::string>& masks,
                               QStringList& found)
{
    for (const std::string& mask : masks) {
        if (!matchesMask(mask, entry.name))
            continue;
        // The file system's bytes, kept whole, so that the path opens the file.
        const QString name = base::pathFromBytes(entry.name);
        found.append(library::captureLine(folder, name));
        if (OnFileFound)
            OnFileFound(folder + name);
    }
}
