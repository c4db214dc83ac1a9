#include "mixer/play_record.h"

#include "app/dialogs.h"
#include "app/paths.h"
#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "base/path_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <unistd.h>

namespace mixer {

namespace {

const char* const kHeader = "início,fim,segundos,fonte,arquivo,título,artista,término\r\n";

QString timeText(const QDateTime& at) { return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

QString quoted(const QString& field)
{
    static const QString needsQuotes = QStringLiteral(",\"\r\n");
    for (QChar c : field)
        if (needsQuotes.contains(c))
            return u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"';
    return field;
}

} // namespace

QString PlayRecord::folder() { return app::dataFile(QStringLiteral("execucoes")); }

QString PlayRecord::file(const QDate& day)
{
    return folder() + u'/' + day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".csv");
}

QString PlayRecord::csvLine(const QStringList& fields)
{
    QStringList out;
    for (const QString& field : fields)
        out << quoted(field);
    return out.join(u',');
}

bool PlayRecord::append(const QString& path, const QString& line)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    // Unbuffered: what a full disk refuses is known at once, not at a later flush.
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const qint64 before = file.size();
    QByteArray bytes = before == 0 ? QByteArray(kHeader) : QByteArray();
    bytes += line.toUtf8() + "\r\n";
    if (file.write(bytes) == bytes.size() && ::fdatasync(file.handle()) == 0)
        return true;
    // A part of a line left behind would join the next line.
    file.resize(before);
    return false;
}

PlayRecord::Play PlayRecord::playOf(const TCorvoBass& channel, const QString& source)
{
    Play play;
    play.source = source;
    play.path = channel.FilePath;
    play.stream = channel.Stream;
    play.start = app::wallClock();
    play.heardAtStart = std::max<int64_t>(0, audio::heardMs(channel.Stream));
    audio::streamTags(channel.Stream, play.title, play.artist);
    return play;
}

std::vector<std::pair<const TCorvoBass*, PlayRecord::Play>>::iterator PlayRecord::find(const TCorvoBass& channel)
{
    return std::find_if(open_.begin(), open_.end(), [&](const auto& open) { return open.first == &channel; });
}

void PlayRecord::started(const TCorvoBass& channel, const QString& source)
{
    if (find(channel) == open_.end())
        open_.emplace_back(&channel, playOf(channel, source));
}

void PlayRecord::stopped(const TCorvoBass& channel, StopReason how)
{
    const auto it = find(channel);
    if (it == open_.end())
        return;
    const Play play = it->second;
    open_.erase(it);
    const int64_t heard = audio::heardMs(play.stream) - play.heardAtStart;
    if (heard >= kMinimumHeardMs)
        write(play, app::wallClock(), heard, how);
}

void PlayRecord::stopAll(StopReason how)
{
    while (!open_.empty())
        stopped(*open_.front().first, how);
    // The last chance for lines the disk refused earlier.
    writeRefused();
}

void PlayRecord::restarted(const TCorvoBass& channel, const QString& source, const QDateTime& silentSince)
{
    Play play = playOf(channel, source);
    const QDateTime now = play.start;
    play.start = silentSince;
    write(play, now, 0, StopReason::Watch);
}

void PlayRecord::write(const Play& play, const QDateTime& end, int64_t heardMs, StopReason how)
{
    // The record is read by people: a name that is not UTF-8 is written as the program shows it.
    const QStringList fields{timeText(play.start),
                             timeText(end),
                             QString::number((heardMs + 500) / 1000),
                             play.source,
                             base::displayName(play.path),
                             play.title,
                             play.artist,
                             stopReasonText(how)};
    refused_.emplace_back(file(play.start.date()), csvLine(fields));
    if (writeRefused()) {
        refusalTold_ = false;
        return;
    }
    // Nobody may be at the desk to answer a box: it must not hold the music up.
    if (!refusalTold_)
        dialogs().notice(QString::fromUtf8(writeErrorText));
    refusalTold_ = true;
}

bool PlayRecord::writeRefused()
{
    size_t done = 0;
    while (done < refused_.size() && append(refused_[done].first, refused_[done].second))
        ++done;
    refused_.erase(refused_.begin(), refused_.begin() + std::ptrdiff_t(done));
    return refused_.empty();
}

} // namespace mixer
