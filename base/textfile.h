// Text rules shared by every file the program reads and writes (library list, playlists, settings,
// clips): bytes are UTF-8, or Windows-1252 when they are not valid UTF-8 (lists brought from Windows);
// lines end in CR, LF or CR LF on reading and in CR LF on writing; a file is replaced atomically.
// Plain functions without state, used on the main thread.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;

namespace textfile {

// Decodes a whole file's bytes: UTF-8 when they are valid UTF-8 (a leading BOM is dropped) or
// UTF-8 holding the bytes of names that are not (base/path_bytes.h), otherwise Windows-1252.
QString decode(const QByteArray& bytes);

// Splits text into lines ended by CR, LF or CR LF. A terminator at the very end does not start
// another line, so "a\r\n" is one line and an empty text has none; empty lines inside are kept.
QStringList splitLines(const QString& text);

// Reads everything left in the device and returns its lines.
QStringList readLines(QIODevice& device);

// Each line as UTF-8 followed by CR LF, the last one included; the bytes of names that are not
// UTF-8 are kept as base/path_bytes.h writes them.
QByteArray encodeLines(const QStringList& lines);

// What a read a piece at a time found: whether the whole file was read, and how many of its
// lines were too long.
struct PieceRead {
    bool read = false;
    qsizetype tooLong = 0;
};

// Reads the file at path a piece at a time and hands `each` its lines, decoded as readLines
// decodes a whole file, so memory never holds more of the file than a piece and one line.
// Lines of more than `longestLine` bytes are skipped, never held whole, and counted.
PieceRead forEachFileLine(const QString& path, qsizetype longestLine, const std::function<void(QString&&)>& each);

// Reads the lines of the file at path. Returns false (and no lines) when it cannot be opened.
bool readFileLines(const QString& path, QStringList& lines);

// Replaces the file at path with contents: written to a temporary file beside it, then renamed
// over the old one, so a crash or a full disk leaves either the old file or the new one whole.
// Returns false when anything failed; the old file is then untouched.
bool replaceFile(const QString& path, const QByteArray& contents);

// replaceFile with encodeLines(lines).
bool writeFileLines(const QString& path, const QStringList& lines);

} // namespace textfile
