// File names are bytes on Linux, and not every name is valid UTF-8 (names from Windows zip files).
// A path is held in a QString that keeps its bytes: valid UTF-8 is decoded as usual and each byte
// of an invalid sequence becomes the lone surrogate U+DC80..U+DCFF, which valid text never holds.
// QFile::encodeName/decodeName would turn such bytes into U+FFFD and the name could not be opened
// again, so every path the program opens or tests goes through here. Plain functions, any thread.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace base {

// A file system name or path as held in memory; never loses a byte.
QString pathFromBytes(QByteArrayView bytes);

// The bytes pathFromBytes was given back.
QByteArray pathToBytes(QStringView path);

// Whether the path names a regular file (a link to one counts), or anything at all.
bool isFile(const QString& path);
bool exists(const QString& path);

// The names of the folder's entries that are regular files (or links to them), kept whole and in
// the order the file system gives them; names holding a line break are left out, since no text
// file of the program could hold them on one line.
QStringList fileNames(const QString& folder);

// Whether the text holds bytes of a name that is not UTF-8.
bool holdsForeignBytes(QStringView text);

// What a name shows the operator: its bytes that are not UTF-8 read as Windows-1252, the code
// page such names mostly come from.
QString displayName(const QString& name);

// Text files hold a kept byte as the three bytes UTF-8 would give its surrogate (ED B2 80 ..
// ED B3 BF), so a line keeps a name whole and the rest of the file stays UTF-8. textBytes writes
// them so; textFromBytes reads UTF-8 with them, and gives nothing for bytes that are neither.
QByteArray textBytes(QStringView text);
std::optional<QString> textFromBytes(QByteArrayView bytes);

} // namespace base
