// One deck's controls and state, bundled so each deck operation is written once for both
// decks. The members refer to the main window's own named controls and variables; the few
// behaviours where deck A and deck B differ are the flags at the end, set in one place
// (Tform_mixer's constructor). Main thread only.
#pragma once
#include "mixer/stop_reason.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;
class QAction;
class QPushButton;
class QTimer;
class LedButton;
class LedColon;
class LedCounter;
class LedGauge;
class LedLamp;
class LedPanel;
class PaintBox;
class TCorvoBass;
class TMeter;
class TOcilloScope;
class TSpectrum;
class TrackBar;
class Tform_mixer;

struct Deck {
    // Playlist panel.
    QListWidget*& listBox;
    LedCounter*& trackCount;
    QPushButton*& openButton;
    QPushButton*& saveButton;
    QPushButton*& clearButton;
    QPushButton*& deleteButton;
    QPushButton*& addButton;
    QMenu*& listMenu;
    QAction*& menuPlay;
    QAction*& menuStop;
    QAction*& menuDelete;

    // Control panel.
    QPushButton*& playButton;
    QPushButton*& stopButton;
    QPushButton*& fadeButton;
    LedButton*& loopButton;
    QLabel*& title;
    QLabel*& frequencyText;
    QLabel*& durationText;
    LedPanel*& minutesPanel;
    LedColon*& colon;
    LedPanel*& secondsPanel;
    QLabel*& playIndicator;
    TrackBar*& panSlider;
    TrackBar*& frequencySlider;
    LedLamp*& ownFrequencyLed;
    LedGauge*& positionGauge;
    TrackBar*& positionSlider;
    PaintBox*& paintBox;
    LedGauge*& levelGauge;
    QTimer*& monitorTimer;
    QCheckBox*& flangerBox;
    TrackBar*& flangerIntensity;
    QCheckBox*& echoBox;
    QCheckBox*& cutBox;

    // State.
    TCorvoBass*& channel;
    QStringList& paths;
    bool& mixing;
    uint8_t& timeMode;
    int16_t& visualMode;
    uint32_t& ownFrequency;
    TOcilloScope*& scope;
    TSpectrum*& spectrum;
    TMeter*& meter;

    // What differs between the decks.
    int number;          // 1 for deck A, 2 for deck B: the argument of limpa_mixer and limpa_grafico
    QString channelName; // "A" or "B", as the add button says

    // playlists
    QString& playlistFile;            // arquivo_lista_a / arquivo_lista_b: the file last opened here
    QString& saveDialogName;          // the name the deck's save dialog offers when none is remembered
    int& dragRow;                     // row of the list's drag, -1 when idle
    void (Tform_mixer::*listClick)(); // ListBox1Click / ListBox2Click: loads the selected entry

    // auto-mix
    bool stopping = false; // the stop handler runs (deck B's lets pending events run inside it)
    bool playingOut = false; // the other deck had nothing playable: no hand-over until this deck plays again
    // How the playing track will have stopped: End from Play on, until a stop path says otherwise.
    mixer::StopReason stopReason = mixer::StopReason::None;

    // Transport and controls: each flag is true on the deck that behaves so.
    bool missingFileNamesPath = false;       // the missing-file message names the path (A)
    bool loadClearsDisplays = false;         // a successful load clears view and read-outs (B)
    bool dryStopClearsDisplays = false;      // the dry stop clears view and read-outs itself (B)
    bool stopRunsPendingEventsFirst = false; // the stop handler lets pending events run first (B)
    bool stopClearsOnlyWhenMixing = false;   // the stop handler clears read-outs only after a fade (B)
    bool stopDisablesLoop = false;           // the stop handler disables the Loop button (A)
    bool loopOnlyWhilePlaying = false;       // the Loop button reaches the channel only while it plays (A)
    bool playRestartsStatusFirst = false;    // Play restarts the status text before the sound settings (B)
    bool seekPlaysAgain = false;             // a seek plays the channel again, ending a fade (B)
    bool panInverted = false;                // the pan slider's left pans the deck right (A)
    bool mixNeedsBothChannels = false;       // the mix towards this deck first checks both channels exist (B)
};
