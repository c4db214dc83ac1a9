// The folders a capture never walks into: the kernel's virtual file systems (proc, sys, dev, run
// and the like), whose entries are no media and can be endless, and network mounts, which can
// hang on a lost server. Read from the mount table when a walk starts. Main thread.
#pragma once

#include <QByteArray>
#include <string>
#include <unordered_set>

namespace library {

// Mount points, as bytes ending with "/", of the virtual and network file systems listed in
// mountinfo (the format of /proc/self/mountinfo), with /proc, /sys, /dev and /run always.
std::unordered_set<std::string> foldersNotToWalk(const QByteArray& mountinfo);

// The same for this system's mount table.
std::unordered_set<std::string> foldersNotToWalk();

} // namespace library
