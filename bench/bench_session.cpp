// What keeping "SESSAO.INI" costs the window with a 10 000-entry playlist on each deck: the
// main thread's share of a write after a list change (the lists handed over as shared copies)
// and of the periodic write while a deck plays, against what the session writer's thread does
// instead of the window (encoding the list and replacing the file).
#include "bench.h"

#include "app/session_file.h"
#include "app/session_writer.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void sessionWrites()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(session::fileName);
    session::State state;
    state.running = true;
    for (session::DeckState& d : state.decks)
        for (int i = 0; i < 10000; ++i) {
            d.names << QString("TRACK %1 - A LONGER TITLE OF A SONG.MP3").arg(i, 5, 10, QChar('0'));
            d.paths << QString("/home/operator/Música/Coletânea %1/track %2 - a longer title of a song.mp3").arg(i / 100).arg(i);
        }
    state.decks[0].playing = state.decks[0].paths[17];
    session::Writer writer(path);

    // Each round: handed over on the main thread, then written through on the writer's thread.
    double listChangeMs = 1e300, periodicMs = 1e300, backgroundMs = 1e300;
    for (int round = 0; round < 5; ++round) {
        for (const bool lists : {true, false}) {
            state.decks[0].positionMs += 10000;
            QElapsedTimer t;
            t.start();
            writer.write(state, {lists, lists});
            const double handed = t.nsecsElapsed() / 1e6;
            writer.waitIdle();
            (lists ? listChangeMs : periodicMs) = std::min(lists ? listChangeMs : periodicMs, handed);
            if (lists)
                backgroundMs = std::min(backgroundMs, t.nsecsElapsed() / 1e6);
        }
    }
    std::printf("session-write: %lld kB file with 2 x 10 000 entries\n", (long long)QFileInfo(path).size() / 1024);
    bench::report("session-write-list-change", listChangeMs, "ms main thread", backgroundMs,
                  "encoding and replacing the file, on the writer's thread", listChangeMs / backgroundMs, "under 1 ms");
    bench::report("session-write-periodic", periodicMs, "ms main thread", backgroundMs,
                  "encoding and replacing the file, on the writer's thread", periodicMs / backgroundMs, "under 1 ms");
}

bench::Register registerSession("session-write", "main-thread cost of keeping SESSAO.INI with two 10 000-entry playlists",
                                sessionWrites);

} // namespace
