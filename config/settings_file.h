// The settings file "VOLTARIA4.INI" in the data folder: one KEY=value line per setting, every
// value a decimal integer. Where it lies, how it is read and replaced, and the integer rule its
// values follow. Main thread.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace settings {

QString path();

// The file's lines; none when there is no file or it cannot be read.
QStringList readLines();

// Replaces the file with the lines (CR LF ends), atomically; false when it could not be written,
// the old file then being untouched.
bool writeLines(const QStringList& lines);

// A value as a 32-bit integer; nothing for text that is not one, the empty text included.
std::optional<int32_t> toInteger(const QString& value);

// "EQ_BANDA01" .. "EQ_BANDA10" for bands 0..9.
QString bandKey(int band);

} // namespace settings
