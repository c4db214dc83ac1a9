// The main window: the whole working surface, owner of every control and of the shared
// state, by their names. Handlers of each subsystem are declared in its section below and
// defined in that subsystem's folder. Main thread only.
#pragma once

#include "app/deck.h"
#include "mixer/play_record.h"
#include "mixer/silence_watch.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
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
class LedText;
class LinkLabel;
class MultiSwitch;
class PaintBox;
class SpinEdit;
class StringGrid;
class TCorvoBass;
class TMeter;
class TOcilloScope;
class TSpectrum;
class TSystray;
class TVoltariaScan;
class TrackBar;

// Every command-line argument, each after one blank (filled by start-up).
extern QString parametro;

class Tform_mixer : public QWidget
{
    Q_OBJECT

public:
    explicit Tform_mixer(QWidget* parent = nullptr);
    ~Tform_mixer() override;

    // ---- deck A controls
    QListWidget* ListBox1 = nullptr;
    LedCounter* CONTA_ESQUERDA = nullptr;
    QPushButton *bitbtn1 = nullptr, *bitbtn10 = nullptr, *bitbtn17 = nullptr, *bitbtn18 = nullptr;
    QPushButton* bitbtn14 = nullptr;
    QMenu* PopupMenu5 = nullptr;
    QAction *Play1 = nullptr, *Stop1 = nullptr, *Exclur1 = nullptr;
    QPushButton *bitbtn2 = nullptr, *bitbtn4 = nullptr, *bitbtn5 = nullptr;
    LedButton* loop_esquerda = nullptr;
    QLabel *label2 = nullptr, *Label11 = nullptr, *Label3 = nullptr, *Label1 = nullptr;
    LedPanel *MMLEDPanel1 = nullptr, *MMLEDPanel2 = nullptr;
    LedColon* MMLEDDigit1 = nullptr;
    TrackBar *trackPan = nullptr, *trackFrequencia = nullptr, *trackbar1 = nullptr, *Flanger1 = nullptr;
    LedLamp* MMLED1 = nullptr;
    LedGauge *pbposition = nullptr, *pbarvu = nullptr;
    PaintBox* pp = nullptr;
    QTimer* Timer1 = nullptr;
    QCheckBox *CheckBox2 = nullptr, *CheckBox6 = nullptr, *CheckBox7 = nullptr;

    // ---- deck B controls
    QListWidget* ListBox2 = nullptr;
    LedCounter* conta_direita = nullptr;
    QPushButton *bitbtn12 = nullptr, *bitbtn16 = nullptr, *bitbtn19 = nullptr, *bitbtn20 = nullptr;
    QPushButton* bitbtn15 = nullptr;
    QMenu* PopupMenu6 = nullptr;
    QAction *MenuItem1 = nullptr, *MenuItem3 = nullptr, *MenuItem5 = nullptr;
    QPushButton *bitbtn6 = nullptr, *bitbtn8 = nullptr, *bitbtn9 = nullptr;
    LedButton* loop_direita = nullptr;
    QLabel *label28 = nullptr, *Label26 = nullptr, *Label24 = nullptr, *Label20 = nullptr;
    LedPanel *MMLEDPanel3 = nullptr, *MMLEDPanel4 = nullptr;
    LedColon* MMLEDDigit3 = nullptr;
    TrackBar *trackbar2 = nullptr, *trackbar4 = nullptr, *trackbar5 = nullptr, *Flanger2 = nullptr;
    LedLamp* MMLED2 = nullptr;
    LedGauge *ProgressBar2 = nullptr, *Progressbar1 = nullptr;
    PaintBox* PP2 = nullptr;
    QTimer* Timer2 = nullptr;
    QCheckBox *CheckBox5 = nullptr, *CheckBox8 = nullptr, *CheckBox9 = nullptr;

    // ---- shared controls: library, search, grid and preview
    QComboBox* DriveComboBox1 = nullptr;
    LedButton* captura_geral = nullptr;
    QPushButton* bitbtn13 = nullptr;
    QLabel* Label33 = nullptr;
    LedGauge* CoolGauge1 = nullptr;
    QLabel* bsSkinLabel2 = nullptr;
    QLineEdit* edit1 = nullptr;
    StringGrid *StringGrid1 = nullptr, *StringGrid2 = nullptr;
    QMenu* PopupMenu7 = nullptr;
    QAction *MenuItem6 = nullptr, *MenuItem8 = nullptr, *Excluir1 = nullptr;
    QPushButton *bitbtn21 = nullptr, *bitbtn23 = nullptr, *bITBTN24 = nullptr;
    QTimer* Timer4 = nullptr;
    TVoltariaScan* MixerScan1 = nullptr;
    // devices, cue, exit, status line
    QPushButton *SRColorButton2 = nullptr, *SRColorButton1 = nullptr, *bitbtn11 = nullptr;
    QWidget* Panel18 = nullptr;
    LedText* label5 = nullptr;
    QTimer* Timer6 = nullptr;
    // crossfader, manual mix, auto-mix
    QLabel* RxLabel1 = nullptr;
    TrackBar* Trackbar18 = nullptr;
    QMenu* PopupMenu4 = nullptr;
    QAction* FadePadro1 = nullptr;
    QPushButton *speedbutton1 = nullptr, *speedbutton2 = nullptr;
    LedLamp *MMLED3 = nullptr, *MMLED4 = nullptr;
    LedButton *LEDButton1 = nullptr, *LEDButton2 = nullptr;
    SpinEdit *RxSpinEdit7 = nullptr, *RxSpinEdit1 = nullptr;
    QLabel* RxLabel3 = nullptr;
    // capture options
    MultiSwitch* MMSwitch1 = nullptr;
    QCheckBox *Checkbox4 = nullptr, *Checkbox3 = nullptr, *checkbox_wma = nullptr, *Checkbox1 = nullptr;
    // logo
    QWidget* Panel19 = nullptr;
    LinkLabel* Image1 = nullptr;
    // equaliser and master volume; the band sliders in band order 0..9
    QCheckBox* bsSkinCheckRadioBox1 = nullptr;
    TrackBar* Trackbar6 = nullptr;
    TrackBar *TrackBar20 = nullptr, *Trackbar19 = nullptr, *TrackBar7 = nullptr, *TrackBar8 = nullptr,
             *TrackBar9 = nullptr, *TrackBar10 = nullptr, *TrackBar11 = nullptr, *TrackBar12 = nullptr,
             *bsSkinTrackBar1 = nullptr, *bsSkinTrackBar2 = nullptr;
    QTimer* Timer3 = nullptr;
    // the window's own context menu and its shortcut keys
    QMenu* PopupMenu8 = nullptr;
    QAction* Sobre1 = nullptr;
    // The silence watch's switch and the play record's folder, right after "Sobre".
    QAction *VigiaSilencio1 = nullptr, *RelatorioExecucoes1 = nullptr;
    QAction* PlayAtalho[10] = {};
    QAction* FadeMix1 = nullptr;
    TSystray* Systray1 = nullptr;

    // ---- shared state
    TCorvoBass *canal_a = nullptr, *canal_b = nullptr, *canal_00 = nullptr, *canal_atalho = nullptr;
    TMeter *meter_00 = nullptr, *meter_a = nullptr, *meter_b = nullptr;
    TOcilloScope *scope_a = nullptr, *scope_b = nullptr;
    TSpectrum *spectrum_a = nullptr, *spectrum_b = nullptr;
    QStringList lista_a, lista_b;
    bool mixando_a = false, mixando_b = false;
    uint8_t modo_tempo_a = 0, modo_tempo_b = 0;
    int16_t grafico_a = 0, grafico_b = 0;
    uint32_t freq_padrao_a = 0, freq_padrao_b = 0;
    // The outputs chosen for the next start, written at the exit.
    int16_t device_transmissao = 0, device_cue = 0;
    // The outputs in force: the ones the show step opened the channels on, kept until the program
    // ends whatever the configuration dialog picks meanwhile.
    int16_t saida_musicas = 0, saida_cue = 0;
    int32_t tempo_fade = 0;

    // The two decks, each over its own controls and state above.
    Deck deckA;
    Deck deckB;
    Deck& deck(int number) { return number == 1 ? deckA : deckB; }
    Deck& otherDeck(const Deck& d) { return &d == &deckA ? deckB : deckA; }

    // ---- creation (app/)
    void FormCreate();
    void ajusta_tela();
    void limpa_grafico(int deck);
    void limpa_mixer(int deck);
    // Brings the window back when another copy of the program was started.
    void showRestoredInFront();
    // Another copy was started with this command line: the window comes back, and a file it
    // names is listed and previewed as at a start with it (library/).
    void openFromOutside(const QString& commandLine);

    // ---- audio effects handlers (audio/ is window-free; these live in mixer/)
    void bsSkinCheckRadioBox1Click();
    void Trackbar6Change();
    void TrackBar20Change();
    void Trackbar19Change();
    void TrackBar7Change();
    void TrackBar8Change();
    void TrackBar9Change();
    void TrackBar10Change();
    void TrackBar11Change();
    void TrackBar12Change();
    void bsSkinTrackBar1Change();
    void bsSkinTrackBar2Change();
    void CheckBox2Click();
    void CheckBox5Click();
    void Flanger1Change();
    void Flanger2Change();
    void CheckBox6Click();
    void CheckBox8Click();
    void CheckBox7Click();
    void CheckBox9Click();

    // ---- deck transport, monitor, crossfader, mixes (mixer/)
    void Canal_aStop(QObject* sender);
    void Canal_bStop(QObject* sender);
    void ListBox1Click();
    void ListBox2Click();
    void BitBtn2Click();
    void BitBtn6Click();
    void BitBtn4Click();
    void BitBtn8Click();
    void BitBtn5Click();
    void BitBtn9Click();
    void ListBox1DblClick();
    void ListBox2DblClick();
    void loop_esquerdaClick();
    void loop_direitaClick();
    void Play1Click();
    void Stop1Click();
    void MenuItem1Click();
    void MenuItem3Click();
    void PopupMenu5Popup();
    void PopupMenu6Popup();
    void Timer1Timer();
    void Timer2Timer();
    // Shows "mm:ss" in the deck's LED panels; false when the text holds no such numbers.
    bool Display_c01(const QString& time);
    bool Display_c02(const QString& time);
    void MMLEDPanel1Click();
    void MMLEDPanel3Click();
    void trackbar1Track();
    void trackbar5Track();
    void trackPanChange();
    void TrackBar2Change();
    void trackFrequenciaChange();
    void TrackBar4Change();
    void MMLED1Click();
    void MMLED2Click();
    void Timer3Timer();
    void TrackBar18Change();
    void FadePadro1Click();
    // View switch and manual mixes.
    void PPClick();
    void PP2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void FadeMix1Click();

    // ---- auto-mix (mixer/)
    void LEDButton1Click();
    void LEDButton2Click();

    // ---- unattended running: the silence watch and the play record (mixer/)
    QTimer* TimerVigia = nullptr;
    mixer::PlayRecord registro;
    void VigiaSilencio1Click();
    void TimerVigiaTimer();
    void RelatorioExecucoes1Click();

private:
    // Each deck operation, written once; the handler pairs above are its entry points.
    // True when the selected entry is now the deck's loaded track.
    bool loadSelectedEntry(Deck& d);
    void playDeck(Deck& d);
    void stopDeckDry(Deck& d);
    void fadeDeck(Deck& d);
    void playIfStopped(Deck& d);
    void switchLoop(Deck& d);
    void deckStopped(Deck& d);
    void selectNextEntry(Deck& d);
    void prepareListMenu(Deck& d);
    void reapplySoundSettings(Deck& d);
    void monitorTick(Deck& d);
    void showKnownLength(Deck& d);
    bool showTime(Deck& d, const QString& time);
    void switchTimeMode(Deck& d);
    void seekDeck(Deck& d);
    void panDeck(Deck& d);
    void pitchDeck(Deck& d);
    void restoreOwnFrequency(Deck& d);
    void lampsAndLocks(Deck& d, QPushButton* mixButton, LedLamp* mixLed);
    void applyEqualiserBand(int band);
    void switchFlanger(Deck& d);
    void setFlangerIntensity(Deck& d);
    void switchEcho(Deck& d);
    void switchCut(Deck& d);
    // Steps of the monitor tick that the views and the auto-mix fill in.
    void drawDeckView(Deck& d);
    void autoMixTimeTrigger(Deck& d);
    void autoMixLevelTrigger(Deck& d);
    void switchView(Deck& d);
    // Centres the crossfader, starts `to` from the beginning and fades `from` out.
    void mixTowards(Deck& to, Deck& from);
    // The auto-mix's action: `from` fades out and `to` plays its loaded track from the start,
    // or its next playable entry; when `to` has none, `from` plays on to its end.
    void handOver(Deck& from, Deck& to);
    // True when the deck's Play would start the track its channel holds.
    bool readyToPlay(Deck& d);
    // From the selected entry's load result on, goes round the list until an entry loads.
    bool loadPlayableEntry(Deck& d, bool loaded);
    void switchAutoMix();
    void connectAutoMixHandlers();
    // After a stop's advance, with Auto Mix on: the deck passes over entries it cannot load,
    // hands over when its track ended without a hand-over, and plays on when its track ended
    // after the other deck had handed over to it.
    void autoMixAfterAdvance(Deck& d, bool loaded);
    // The record and the silence watch learn how the deck's track stopped.
    void trackStopped(Deck& d);
    mixer::SilenceWatch vigia;
    void connectSilenceWatch();
    void connectPlayRecord();
    // Plays the next playable entry of the deck that stopped last, or of the other deck.
    void restartAfterSilence();

public:

    // ---- library handlers (library/)
    void Canal_00Stop(QObject* sender);
    // Library preview, its level and the grid's menu, clicks and "PRG".
    void BitBtn21Click();
    void BitBtn23Click();
    void Timer4Timer();
    void MenuItem6Click();
    void MenuItem8Click();
    void PopupMenu7Popup();
    void StringGrid1Click();
    void StringGrid1DblClick();
    void BitBtn24Click();
    // Folder a directory capture opens at, ending with "/".
    QString pasta_captura;
    // What the type-ahead has typed so far in the library grid.
    QString texto_busca;
    // The file-name part of the command line, selected by the start-up listing.
    QString arquivo_parametro;
    // Start-up: lists the folder of the file the command line names, or loads the library.
    void abre_biblioteca();
    void carrega_lista();
    void Excluir1Click();
    void BitBtn13Click();
    // The selected drive list entry's root as a capture folder, ending with "/".
    QString raiz_drive() const;
    void Edit1Enter();
    void Edit1KeyPress(QChar key);
    void StringGrid2KeyPress(QChar key);
    void StringGrid1KeyDown(int key);
    void StringGrid1MouseDown(Qt::MouseButton button);
    void StringGrid2MouseDown(Qt::MouseButton button);
    void BUSCA_PARAMETRO();

    // ---- playlist handlers (playlist/)
    QString arquivo_lista_a, arquivo_lista_b;          // playlist file last opened into each deck
    QString SaveDialog1FileName, SaveDialog2FileName; // the name each save dialog had last
    int linha_drag_a = -1, linha_drag_b = -1;          // drag rows of the deck lists, -1 when idle
    void BitBtn14Click();
    void BitBtn15Click();
    void bitbtn17Click();
    void BitBtn19Click();
    void bitbtn18Click();
    void BitBtn20Click();
    void Exclur1Click();
    void MenuItem5Click();
    void ListBox1MouseDown();
    void ListBox2MouseDown();
    bool ListBox1DragOver(QObject* source, QPoint point);
    bool ListBox2DragOver(QObject* source, QPoint point);
    void ListBox1DragDrop(QObject* source, int y);
    void ListBox2DragDrop(QObject* source, int y);
    void bitbtn1Click();
    void BitBtn12Click();
    void bitbtn10Click();
    void BitBtn16Click();
    void OpenDialog1CanClose(const QString& fileName);
    void OpenDialog2CanClose(const QString& fileName);
    void SaveDialog1CanClose(const QString& fileName);
    void SaveDialog2CanClose(const QString& fileName);
    // The operations behind them, written once for both decks.
    void addFromLibrary(Deck& deck);
    void clearPlaylist(Deck& deck);
    void deleteSelectedEntry(Deck& deck);
    void startListDrag(Deck& deck);
    void dropOnList(Deck& deck, QObject* source, int y);
    void choosePlaylistToOpen(Deck& deck);
    void openPlaylist(Deck& deck, const QString& fileName);
    void choosePlaylistToSave(Deck& deck);
    void savePlaylist(Deck& deck, const QString& typedName);

    // ---- settings, configuration, clips, cue (config/)
    // Reads "VOLTARIA4.INI" into the controls and opens the channels; the window's first show.
    void FormShow();
    // Asks before leaving, stops the decks and writes "VOLTARIA4.INI"; every close request.
    // A refused close leaves the event ignored.
    void FormClose(class QCloseEvent* event);
    // The shortcut clips F2..F11, clip 1 first: a full path, or empty when unassigned.
    std::array<QString, 10> atalhos;
    // Plays the file on canal_atalho, or stops the clip that sounds; `clip` is 1..10.
    void play_atalho(const QString& path, int clip);
    // Loads "ATALHOS.INI" into atalhos; part of the show step.
    void carrega_atalhos();
    // Puts the paths in force for the keys and stores them in "ATALHOS.INI"; the configuration
    // dialog's OK.
    void grava_atalhos(const std::array<QString, 10>& paths);
    void PlayAtalho011Click();
    void PlayAtalho012Click();
    void PlayAtalho013Click();
    void PlayAtalho014Click();
    void PlayAtalho051Click();
    void PlayAtalho061Click();
    void PlayAtalho071Click();
    void PlayAtalho081Click();
    void PlayAtalho091Click();
    void PlayAtalho101Click();
    // The cue switch, off with each run; the cue button turns it on and off.
    bool cue_ligado = false;
    void SRColorButton1Click();
    // Opens a fresh configuration dialog, modally.
    void SRColorButton2Click();
    // The device a preview starts on: the cue device in search mode or with the cue on.
    int16_t previewDevice() const;

    // ---- status line, tray, about box (app/)
    void Timer6Timer();
    void FormPaint();
    void Image1Click();
    void BitBtn11Click();
    void Sobre1Click();

private:
    void buildWindow();
    void buildDeckPanels(Deck& deck, int left);
    void buildLibraryPanel();
    void buildMixPanel();
    void buildEqualiserPanel();
    void buildWindowMenu();

    // Each subsystem connects its controls to its handlers in its own folder.
    void connectMixerHandlers();
    void connectLibraryHandlers();
    void connectPlaylistHandlers();
    void connectConfigHandlers();
    void connectCueButton();
    void connectPreviewHandlers();
    // A press on a library grid: empties the type-ahead and may start a drag of the grid.
    void pressOnGrid(StringGrid* grid, Qt::MouseButton button);
    void connectPeripheryHandlers();
};
