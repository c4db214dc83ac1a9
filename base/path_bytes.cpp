#include "base/path_bytes.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace base {

namespace {

constexpr char16_t firstKept = 0xDC80;
constexpr char16_t lastKept = 0xDCFF;

bool isKept(char16_t c) { return c >= firstKept && c <= lastKept; }

bool isContinuation(uchar b) { return (b & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at p (n bytes left), or 0 when it is not one: no overlong
// forms, no surrogates, nothing past U+10FFFF.
qsizetype sequenceLength(const uchar* p, qsizetype n)
{
    const uchar b = p[0];
    if (b < 0x80)
        return 1;
    qsizetype length = 0;
    uchar low = 0x80, high = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF)
        length = 2;
    else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (n < length || p[1] < low || p[1] > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (!isContinuation(p[i]))
            return 0;
    }
    return length;
}

// The kept byte a text file writes as ED B2 80 .. ED B3 BF, or 0 when p holds no such triple.
uchar keptByteAt(const uchar* p, qsizetype n)
{
    if (n < 3 || p[0] != 0xED || (p[1] != 0xB2 && p[1] != 0xB3) || !isContinuation(p[2]))
        return 0;
    return uchar(((p[1] & 0x01) << 6) | (p[2] & 0x3F) | 0x80);
}

// Decodes bytes that are not all valid UTF-8: valid runs as UTF-8, the rest by `other`, which
// returns false to give up.
template <class Other>
std::optional<QString> decodeMixed(QByteArrayView bytes, Other other)
{
    QString text;
    text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < n;) {
        const qsizetype length = sequenceLength(p + i, n - i);
        if (length > 0) {
            i += length;
            continue;
        }
        text += QString::fromUtf8(bytes.sliced(runStart, i - runStart));
        const qsizetype used = other(p + i, n - i, text);
        if (used == 0)
            return std::nullopt;
        i += used;
        runStart = i;
    }
    text += QString::fromUtf8(bytes.sliced(runStart));
    return text;
}

// The bytes decoded when they are valid UTF-8, in one pass; nothing otherwise.
std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? std::nullopt : std::optional<QString>(std::move(text));
}

// Encodes text, writing each kept byte with `kept`.
template <class Kept>
QByteArray encodeMixed(QStringView text, Kept kept)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 3);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isKept(text[i].unicode()))
            continue;
        bytes += text.sliced(runStart, i - runStart).toUtf8();
        kept(uchar(text[i].unicode() & 0xFF), bytes);
        runStart = i + 1;
    }
    bytes += text.sliced(runStart).toUtf8();
    return bytes;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

QString pathFromBytes(QByteArrayView bytes)
{
    if (std::optional<QString> text = strictUtf8(bytes))
        return *std::move(text);
    return *decodeMixed(bytes, [](const uchar* p, qsizetype, QString& text) {
        text += QChar(char16_t(0xDC00 | p[0]));
        return qsizetype(1);
    });
}

QByteArray pathToBytes(QStringView path)
{
    if (!holdsForeignBytes(path))
        return path.toUtf8();
    return encodeMixed(path, [](uchar byte, QByteArray& bytes) { bytes += char(byte); });
}

bool isFile(const QString& path)
{
    struct stat info;
    return !path.isEmpty() && ::stat(pathToBytes(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool exists(const QString& path)
{
    struct stat info;
    return !path.isEmpty() && ::stat(pathToBytes(path).constData(), &info) == 0;
}

QStringList fileNames(const QString& folder)
{
    QStringList names;
    const QByteArray folderBytes = pathToBytes(folder);
    std::unique_ptr<DIR, DirCloser> dir(opendir(folderBytes.isEmpty() ? "." : folderBytes.constData()));
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir.get())) {
        const QByteArrayView name(entry->d_name);
        if (name.contains('\n') || name.contains('\r'))
            continue;
        struct stat info;
        // Links are followed: a link to a file is listed as the file.
        const bool file = entry->d_type == DT_REG ||
                          ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
                           fstatat(dirfd(dir.get()), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode));
        if (file)
            names.append(pathFromBytes(name));
    }
    return names;
}

bool holdsForeignBytes(QStringView text)
{
    for (const QChar c : text) {
        if (isKept(c.unicode()))
            return true;
    }
    return false;
}

QString displayName(const QString& name)
{
    if (!holdsForeignBytes(name))
        return name;
    QStringDecoder windows1252("windows-1252");
    QString shown;
    shown.reserve(name.size());
    for (const QChar c : name) {
        if (isKept(c.unicode())) {
            const char byte = char(c.unicode() & 0xFF);
            shown += windows1252.decode(QByteArrayView(&byte, 1));
        } else
            shown += c;
    }
    return shown;
}

QByteArray textBytes(QStringView text)
{
    if (!holdsForeignBytes(text))
        return text.toUtf8();
    return encodeMixed(text, [](uchar byte, QByteArray& bytes) {
        bytes += char(0xED);
        bytes += char(0xB2 | ((byte >> 6) & 0x01));
        bytes += char(0x80 | (byte & 0x3F));
    });
}

std::optional<QString> textFromBytes(QByteArrayView bytes)
{
    if (std::optional<QString> text = strictUtf8(bytes))
        return text;
    return decodeMixed(bytes, [](const uchar* p, qsizetype n, QString& text) {
        const uchar kept = keptByteAt(p, n);
        if (kept == 0)
            return qsizetype(0);
        text += QChar(char16_t(0xDC00 | kept));
        return qsizetype(3);
    });
}

} // namespace base
