// The entries of the capture's drive list: "/" first, the user's home folder second, then the other
// mounted volumes (USB sticks and disks under /media, /run/media and /mnt). Each entry's root stands
// for a drive's root. Main thread.
#pragma once

#include <QList>
#include <QString>

namespace library {

struct DriveEntry {
    QString text; // what the list shows
    QString root; // the root folder, without a trailing "/" except for "/" itself
};

QList<DriveEntry> driveEntries();

// A root as a capture folder: with one trailing "/".
QString rootFolder(const QString& root);

// The drive a folder lies on: the root folder of the entry whose root is the longest leading
// part of folder's path ("/home/u/x/" lies on the home folder's entry, not on "/"); an empty text
// when none is.
QString driveOf(const QList<DriveEntry>& entries, const QString& folder);

} // namespace library
