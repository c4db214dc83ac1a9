// The record of what played, for the station's report to the rights society: every track that
// sounded on the music output for at least 10 s (decks and clips) is appended when it stops to
// the daily file "execucoes/AAAA-MM-DD.csv" in the data folder, chosen by the day the track
// started. Each line is written and flushed on its own, so a crash loses at most the tracks
// that were sounding. A line the disk refuses is kept and written again, ahead of the next ones,
// at every later line and at the exit; the operator hears of it once. Main thread only.
#pragma once

#include "mixer/stop_reason.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <utility>
#include <vector>

class TCorvoBass;

namespace mixer {

class PlayRecord
{
public:
    static constexpr int64_t kMinimumHeardMs = 10000;
    static constexpr const char* writeErrorText =
        "Erro ao Gravar o Relatório de Execuções - Verifique o espaço em disco. O Voltaria tentará de novo.";

    // `channel` started its loaded track for `source` ("A", "B", "clip 3"). A channel whose play
    // is still open (a deck played again during its fade) goes on as the same play.
    void started(const TCorvoBass& channel, const QString& source);
    // The channel's track stopped sounding; nothing when it had no open play.
    void stopped(const TCorvoBass& channel, StopReason how);
    // Every play still open, in the order they started, when the program is left; lines refused
    // earlier are tried once more.
    void stopAll(StopReason how);
    // The silence watch started `channel`'s track after the silence that began at
    // `silentSince`: a line of its own, the silence's span with nothing heard, ending "vigia".
    void restarted(const TCorvoBass& channel, const QString& source, const QDateTime& silentSince);

    // "execucoes" in the data folder.
    static QString folder();
    static QString file(const QDate& day);
    // One CSV line, without its end: a field holding a comma, a quote or a line break is quoted.
    static QString csvLine(const QStringList& fields);
    // Appends the line, after the header when the file is new, and flushes it to the disk; on
    // failure the file is left as it was, without a part of the line.
    static bool append(const QString& path, const QString& line);

private:
    struct Play {
        QString source, path, title, artist;
        QDateTime start;
        uint32_t stream = 0;
        int64_t heardAtStart = 0;
    };
    void write(const Play& play, const QDateTime& end, int64_t heardMs, StopReason how);
    // Appends the lines the disk refused so far, in order; false when one is refused again.
    bool writeRefused();
    static Play playOf(const TCorvoBass& channel, const QString& source);
    std::vector<std::pair<const TCorvoBass*, Play>>::iterator find(const TCorvoBass& channel);

    std::vector<std::pair<const TCorvoBass*, Play>> open_; // in the order they started
    std::vector<std::pair<QString, QString>> refused_;      // file and line, oldest first
    bool refusalTold_ = false;
};

} // namespace mixer
