// Finds the file a library path means on a file system that tells letter case apart: lists brought
// from Windows hold upper-cased paths, and the start-up listing shows upper-cased names. Main thread.
#pragma once

#include <QString>

namespace library {

// The path itself when it exists as written; otherwise the existing path that differs from it only
// in letter case, each part looked up in its parent folder; otherwise the path unchanged.
QString existingPathIgnoringCase(const QString& path);

} // namespace library
