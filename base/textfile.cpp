#include "base/textfile.h"

#include "base/path_bytes.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace textfile {

QString decode(const QByteArray& bytes)
{
    if (std::optional<QString> text = base::textFromBytes(bytes)) {
        if (text->startsWith(QChar(0xFEFF)))
            text->remove(0, 1);
        return *std::move(text);
    }
    // ICU's Windows-1252 table, which gives the 0x80-0x9F range its printable characters.
    QStringDecoder windows1252("windows-1252");
    return windows1252.decode(bytes);
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    const QChar* const data = text.constData();
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < size && data[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

QStringList readLines(QIODevice& device)
{
    return splitLines(decode(device.readAll()));
}

QByteArray encodeLines(const QStringList& lines)
{
    // Encoded straight into one buffer of the largest size UTF-8 can take, then cut to what was
    // written: no temporary array per line.
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    qsizetype room = 0;
    for (const QString& line : lines)
        room += utf8.requiredSpace(line.size()) + 2;
    QByteArray out(room, Qt::Uninitialized);
    char* end = out.data();
    for (const QString& line : lines) {
        if (base::holdsForeignBytes(line)) {
            const QByteArray bytes = base::textBytes(line);
            end = std::copy(bytes.begin(), bytes.end(), end);
        } else
            end = utf8.appendToBuffer(end, line);
        *end++ = '\r';
        *end++ = '\n';
    }
    out.truncate(end - out.constData());
    return out;
}

bool readFileLines(const QString& path, QStringList& lines)
{
    lines.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    lines = readLines(file);
    return true;
}

bool replaceFile(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile keeps a small file in its buffer and writes it inside commit(), which then reports
    // success over a short write: the bytes must have left the buffer before the rename.
    if (file.write(contents) != contents.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool writeFileLines(const QString& path, const QStringList& lines)
{
    return replaceFile(path, encodeLines(lines));
}

} // namespace textfile
