// "SESSAO.INI": the state a start after a crash or a power cut needs to bring the music back,
// both decks' playlists, their selections, what plays and where, the auto-mix switches and
// whether the program is still running. Encoding and decoding only; main thread and the
// session writer's thread (encode results are plain bytes).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace session {

inline constexpr const char* fileName = "SESSAO.INI";

struct DeckState {
    QStringList names; // the list box's entries
    QStringList paths; // the path list, entry for entry
    int selected = -1;
    QString playing; // the file the deck plays, empty when it plays nothing (or fades out)
    int64_t positionMs = 0;

    bool operator==(const DeckState&) const = default;
};

struct State {
    bool running = false;
    bool autoMix = true;
    bool sensor = true;
    std::array<DeckState, 2> decks; // deck A, deck B

    bool operator==(const State&) const = default;
};

// The bulk of the file, a deck's playlist (`deck` is 0 for A, 1 for B): encoded once per change
// of the list, not at every periodic write.
QByteArray encodePlaylist(int deck, const QStringList& names, const QStringList& paths);

// The whole file: the small values of `state` (its lists are not read) and the decks' encoded
// playlists.
QByteArray encode(const State& state, const QByteArray& playlistA, const QByteArray& playlistB);

// The state of a file that encode wrote whole; nothing for an empty, cut or garbled one.
std::optional<State> decode(const QStringList& lines);

} // namespace session
