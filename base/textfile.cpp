#include "base/textfile.h"

#include "base/path_bytes.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <limits>

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

namespace {

constexpr qint64 kPieceBytes = 1 << 20;

// Splits what is left in the device into lines ended by CR, LF or CR LF, as splitLines does, and
// hands `line` the bytes of each; a line longer than `longest` is skipped and counted in
// `tooLong`. False on a failed read.
bool splitPieces(QIODevice& device, qsizetype longest, qsizetype& tooLong,
                 const std::function<void(QByteArrayView)>& line)
{
    QByteArray piece(kPieceBytes, Qt::Uninitialized);
    QByteArray carry; // the start of a line that runs on into the next piece
    bool skipping = false; // within a line already known to be too long
    bool afterCr = false;
    tooLong = 0;
    const auto take = [&](const char* bytes, qint64 size) {
        if (!skipping && carry.size() + size > longest) {
            skipping = true;
            carry.clear();
        }
        if (!skipping)
            carry.append(bytes, size);
    };
    for (;;) {
        const qint64 got = device.read(piece.data(), kPieceBytes);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        const char* const bytes = piece.constData();
        qint64 start = 0;
        if (afterCr && bytes[0] == '\n')
            start = 1;
        afterCr = false;
        // The next CR and the next LF, each looked for again only once passed: a gigabyte
        // without a line end is scanned at memchr's speed.
        const auto next = [&](char end, qint64 from) {
            const void* found = std::memchr(bytes + from, end, size_t(got - from));
            return found ? static_cast<const char*>(found) - bytes : got;
        };
        qint64 nextCr = next('\r', start), nextLf = next('\n', start);
        for (;;) {
            const qint64 i = std::min(nextCr, nextLf);
            if (i >= got)
                break;
            const char c = bytes[i];
            if (carry.isEmpty() && !skipping && i - start <= longest)
                line(QByteArrayView(bytes + start, i - start));
            else {
                take(bytes + start, i - start);
                if (skipping)
                    ++tooLong;
                else
                    line(carry);
                carry.resize(0);
                skipping = false;
            }
            start = i + 1;
            if (c == '\r' && start < got && bytes[start] == '\n')
                ++start;
            else if (c == '\r' && start == got)
                afterCr = true;
            if (nextCr < start)
                nextCr = next('\r', start);
            if (nextLf < start)
                nextLf = next('\n', start);
        }
        take(bytes + start, got - start);
    }
    if (skipping)
        ++tooLong;
    else if (!carry.isEmpty())
        line(carry);
    return true;
}

} // namespace

PieceRead forEachFileLine(const QString& path, qsizetype longestLine, const std::function<void(QString&&)>& each)
{
    PieceRead result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    // The whole file is UTF-8 only when every line is: CR and LF never stand inside a sequence.
    bool utf8 = true;
    if (!splitPieces(file, longestLine, result.tooLong,
                     [&](QByteArrayView line) {
                         // Plain UTF-8 is checked without decoding; only lines that are not need the
                         // reading that allows the kept bytes of foreign names.
                         utf8 = utf8 && (line.isValidUtf8() || base::textFromBytes(line).has_value());
                     })
        || !file.seek(0))
        return result;
    QStringDecoder windows1252("windows-1252");
    bool handed = false;
    result.read = splitPieces(file, longestLine, result.tooLong, [&](QByteArrayView bytes) {
        // The file's first line, unless that one was skipped (the count runs as the lines do).
        const bool first = !handed && result.tooLong == 0;
        handed = true;
        QString line = utf8 ? *base::textFromBytes(bytes) : windows1252.decode(bytes);
        // The decoder drops a BOM that starts what it is given; only the file's own is dropped.
        const bool bom = line.startsWith(QChar(0xFEFF));
        if (first && utf8 && bom)
            line.remove(0, 1);
        else if (!first && utf8 && !bom && bytes.startsWith("\xEF\xBB\xBF"))
            line.prepend(QChar(0xFEFF));
        each(std::move(line));
    });
    return result;
}

bool readFileLines(const QString& path, QStringList& lines)
{
    lines.clear();
    const PieceRead result = forEachFileLine(path, std::numeric_limits<qsizetype>::max(),
                                             [&](QString&& line) { lines.append(std::move(line)); });
    if (!result.read)
        lines.clear();
    return result.read;
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
