#include "app/session.h"

#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/funcoes.h"
#include "app/paths.h"
#include "app/session_file.h"
#include "app/session_writer.h"
#include "base/textfile.h"
#include "audio/TCorvoBass.h"
#include "playlist/deck_list.h"
#include "widgets/LedButton.h"

#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <climits>

namespace session {

namespace {

// While a deck plays its position is written this often; nothing else changes by itself.
constexpr int kPositionEveryMs = 10000;
// How often the small values (switches, selections, which deck plays) are compared with the
// last written ones.
constexpr int kCheckEveryMs = 1000;
// A write the disk refused is tried again this often.
constexpr int kRetryEveryMs = 5000;
// A change of a list is written this long after it, so a list filled entry by entry (a
// playlist file opened, auto programming) costs a few writes, not one per entry.
constexpr int kListSettleMs = 250;

// What the deck's stop handler will select once a fade-out ends: the next entry, wrapping.
int selectionAfterFade(const Deck& d)
{
    const int count = d.listBox->count();
    const int row = d.listBox->currentRow();
    return count == 0 ? -1 : (row + 1 > count - 1 ? 0 : row + 1);
}

// A switch set as the operator's click sets it, so the controls it governs follow.
void setSwitch(LedButton* button, bool on)
{
    if (button->isOn() != on)
        button->click();
}

class Keeper : public QObject
{
    Q_OBJECT

public:
    explicit Keeper(Tform_mixer& w) : QObject(&w), w_(w), writer_(app::dataFile(fileName))
    {
        setObjectName(QStringLiteral("sessao"));
        for (int deck = 0; deck < 2; ++deck) {
            QAbstractItemModel* model = w.deck(deck + 1).listBox->model();
            const auto changed = [this, deck] { listChanged(deck); };
            connect(model, &QAbstractItemModel::rowsInserted, this, changed);
            connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
            connect(model, &QAbstractItemModel::rowsMoved, this, changed);
            connect(model, &QAbstractItemModel::modelReset, this, changed);
            connect(model, &QAbstractItemModel::dataChanged, this, changed);
            connect(w.deck(deck + 1).listBox, &QListWidget::currentRowChanged, this, [this] { settle_.start(); });
        }
        settle_.setSingleShot(true);
        settle_.setInterval(kListSettleMs);
        connect(&settle_, &QTimer::timeout, this, [this] { check(); });
        check_.setInterval(kCheckEveryMs);
        connect(&check_, &QTimer::timeout, this, [this] { check(); });
        check_.start();
        check();
    }

    // A window taken down without a crash is no interrupted run (tests build many in one folder).
    ~Keeper() override
    {
        if (running_)
            writer_.write(closedState(), {false, false});
    }

    void close()
    {
        check_.stop();
        settle_.stop();
        running_ = false;
        written_ = current();
        written_.running = false;
        writer_.write(written_, {false, false});
        writer_.waitIdle();
        // A file left marked running would make the next start offer a programme the operator
        // ended; removing it needs no room on the disk.
        if (!writer_.lastWriteSucceeded())
            QFile::remove(app::dataFile(fileName));
    }

private:
    void listChanged(int deck)
    {
        listDirty_[size_t(deck)] = true;
        settle_.start();
    }

    State closedState() const
    {
        State s = written_;
        s.running = false;
        return s;
    }

    // The operator hears once of a disk that refuses the file, which meanwhile goes stale, and
    // once more only after it took a write again.
    void noteWriteResult()
    {
        const bool ok = writer_.lastWriteSucceeded();
        if (!ok && !failureTold_)
            dialogs().notice(QString::fromUtf8(writeErrorText));
        failureTold_ = !ok;
    }

    // Writes when anything but the positions changed, or every 10 s while a deck plays; a
    // refused write is tried again every few seconds.
    void check()
    {
        if (!running_)
            return;
        noteWriteResult();
        for (int deck = 0; deck < 2; ++deck) {
            Deck& d = w_.deck(deck + 1);
            // Lists filled in steps are written once both halves have the same length.
            if (d.listBox->count() != d.paths.size()) {
                settle_.start();
                return;
            }
        }
        const State now = current();
        State withoutPositions = now;
        for (DeckState& d : withoutPositions.decks)
            d.positionMs = 0;
        State writtenWithoutPositions = written_;
        for (DeckState& d : writtenWithoutPositions.decks)
            d.positionMs = 0;
        const bool plays = !now.decks[0].playing.isEmpty() || !now.decks[1].playing.isEmpty();
        const bool retry = failureTold_ && sinceWrite_.isValid() && sinceWrite_.elapsed() >= kRetryEveryMs;
        const bool due = retry || (plays && sinceWrite_.isValid() && sinceWrite_.elapsed() >= kPositionEveryMs);
        const bool listsChanged = listDirty_[0] || listDirty_[1];
        if (!listsChanged && withoutPositions == writtenWithoutPositions && sinceWrite_.isValid() && !due)
            return;
        // The lists travel as shared copies; the writer's thread encodes them.
        State handed = now;
        for (int deck = 0; deck < 2; ++deck) {
            if (!listDirty_[size_t(deck)])
                continue;
            Deck& d = w_.deck(deck + 1);
            QStringList& names = handed.decks[size_t(deck)].names;
            names.reserve(d.listBox->count());
            for (int row = 0; row < d.listBox->count(); ++row)
                names << d.listBox->item(row)->text();
            handed.decks[size_t(deck)].paths = d.paths;
        }
        written_ = now;
        sinceWrite_.start();
        writer_.write(handed, listDirty_);
        listDirty_ = {false, false};
    }

    // The window's state now, without the lists.
    State current()
    {
        State s;
        s.running = true;
        s.autoMix = w_.LEDButton1->isOn();
        s.sensor = w_.LEDButton2->isOn();
        for (int deck = 0; deck < 2; ++deck) {
            Deck& d = w_.deck(deck + 1);
            DeckState& saved = s.decks[size_t(deck)];
            saved.selected = d.listBox->currentRow();
            if (!d.channel->Playing)
                continue;
            if (d.mixing) {
                // Fading out: a resumed run starts the entry after it, as the stop handler would.
                saved.selected = selectionAfterFade(d);
                continue;
            }
            saved.playing = d.channel->FilePath;
            saved.positionMs = d.channel->GetPosition();
        }
        return s;
    }

    Tform_mixer& w_;
    Writer writer_;
    QTimer check_;
    QTimer settle_;
    bool running_ = true;
    bool failureTold_ = false;
    std::array<bool, 2> listDirty_{true, true};
    State written_;
    QElapsedTimer sinceWrite_;
};

// Loads the deck's selected entry and, when it was playing, plays it from where it was.
void restoreDeck(Tform_mixer& w, Deck& d, const DeckState& saved)
{
    playlist::replaceEntries(d, saved.names, saved.paths);
    playlist::showCount(d);
    // The playing track is normally the selected entry; after a click elsewhere during play
    // it is another one, loaded and played here, with the selection put back afterwards.
    int row = saved.selected;
    if (!saved.playing.isEmpty() && (row < 0 || saved.paths[row] != saved.playing))
        row = int(saved.paths.indexOf(saved.playing));
    d.listBox->setCurrentRow(row >= 0 ? row : saved.selected);
    (w.*d.listClick)();
    if (row >= 0 && !saved.playing.isEmpty() && d.playButton->isEnabled()) {
        d.playButton->click();
        if (d.channel->Playing)
            d.channel->SetPosition(int32_t(std::min<int64_t>(saved.positionMs, INT32_MAX)));
    }
    d.listBox->setCurrentRow(saved.selected);
}

void restore(Tform_mixer& w, const State& saved)
{
    // A box about a file gone since must not keep the resumed programme waiting.
    const Unattended unattended;
    setSwitch(w.LEDButton1, saved.autoMix);
    setSwitch(w.LEDButton2, saved.sensor);
    for (int deck = 0; deck < 2; ++deck)
        restoreDeck(w, w.deck(deck + 1), saved.decks[size_t(deck)]);
}

// The beep and the box of the program's other confirmations, answered OK when nobody does.
bool askToResume()
{
    dialogs().beep();
    return dialogs().confirmOrProceed(QString::fromUtf8(resumeQuestion), QString::fromUtf8(confirmaCaption),
                                      resumeAnswerSeconds, QString::fromUtf8(resumeCountdown));
}

} // namespace

void start(Tform_mixer& window)
{
    QStringList lines;
    if (textfile::readFileLines(app::dataFile(fileName), lines)) {
        const std::optional<State> saved = decode(lines);
        if (saved && saved->running && askToResume())
            restore(window, *saved);
    }
    new Keeper(window);
}

void close(Tform_mixer& window)
{
    if (auto* keeper = window.findChild<Keeper*>(QStringLiteral("sessao"), Qt::FindDirectChildrenOnly))
        keeper->close();
}

} // namespace session

#include "session.moc"
