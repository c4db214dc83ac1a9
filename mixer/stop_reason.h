// How a track stopped sounding, as each stop path of the decks and the clips records it: the
// play record writes it beside the track and the silence watch restarts the music only after a
// stop that was nobody's choice. Main thread.
#pragma once

#include <QString>

namespace mixer {

enum class StopReason {
    None,    // nothing is playing: there is no stop to tell
    End,     // the track ran to its end
    Fade,    // the deck's Fade button
    Mix,     // a mix button or F12
    AutoMix, // the auto-mix handed over
    Dry,     // "Stop (seco)", a deck's menu Stop, a clip's key pressed again
    Watch,   // not a stop: the silence watch started the music again
    Exit,    // the program was left
};

// The word the play record writes: "fim", "fade", "mix", "seco", "vigia", "saída".
inline QString stopReasonText(StopReason reason)
{
    switch (reason) {
    case StopReason::End: return QStringLiteral("fim");
    case StopReason::Fade: return QStringLiteral("fade");
    case StopReason::Mix:
    case StopReason::AutoMix: return QStringLiteral("mix");
    case StopReason::Dry: return QStringLiteral("seco");
    case StopReason::Watch: return QStringLiteral("vigia");
    case StopReason::Exit: return QStringLiteral("saída");
    case StopReason::None: break;
    }
    return QString();
}

// True when someone at the desk chose the silence.
inline bool operatorStop(StopReason reason)
{
    return reason == StopReason::Fade || reason == StopReason::Mix || reason == StopReason::Dry
           || reason == StopReason::Exit;
}

} // namespace mixer
