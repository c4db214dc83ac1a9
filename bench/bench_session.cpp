// What keeping "SESSAO.INI" costs the window with a 10 000-entry playlist on each deck: the
// main thread's share of a write after a list change (the list encoded again) and of the
// periodic write while a deck plays (the encoded lists reused), against replacing the file
// itself, which the session writer's thread does instead of the window.
#include "bench.h"
#include "bench_window.h"

#include "app/session_file.h"
#include "app/session_writer.h"
#include "app/textfile.h"

#include <QTemporaryDir>
#include <cstdio>

namespace {

void sessionWrites()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(session::fileName);
    QStringList names, paths;
    for (int i = 0; i < 10000; ++i) {
        names << QString("TRACK %1 - A LONGER TITLE OF A SONG.MP3").arg(i, 5, 10, QChar('0'));
        paths << QString("/home/operator/Música/Coletânea %1/track %2 - a longer title of a song.mp3").arg(i / 100).arg(i);
    }
    session::State state;
    state.running = true;
    state.decks[0].playing = paths[17];
    state.decks[0].positionMs = 123456;
    QByteArray listA, listB, whole;
    session::Writer writer(path);

    const double listChangeMs = bench::bestMs(5, [&] {
        listA = session::encodePlaylist(0, names, paths);
        whole = session::encode(state, listA, listB);
        writer.write(whole);
    });
    writer.waitIdle();
    listB = listA;
    const double periodicMs = bench::bestMs(5, [&] {
        state.decks[0].positionMs += 10000;
        writer.write(session::encode(state, listA, listB));
    });
    writer.waitIdle();
    whole = session::encode(state, listA, listB);
    const double replaceMs = bench::bestMs(5, [&] { textfile::replaceFile(path, whole); });

    std::printf("session-write: %lld kB file with 2 x 10 000 entries\n", (long long)whole.size() / 1024);
    bench::report("session-write-list-change", listChangeMs, "ms main thread", replaceMs,
                  "replacing the file, done by the writer's thread", listChangeMs / replaceMs, "well under a frame (16 ms)");
    bench::report("session-write-periodic", periodicMs, "ms main thread", replaceMs,
                  "replacing the file, done by the writer's thread", periodicMs / replaceMs, "under 1 ms");
}

bench::Register registerSession("session-write", "main-thread cost of keeping SESSAO.INI with two 10 000-entry playlists",
                                sessionWrites);

} // namespace
