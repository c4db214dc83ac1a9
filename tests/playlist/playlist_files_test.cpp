// Saving a deck's playlist to an ".ipk" file and opening one into a deck.
#include "playlist_fixture.h"
#include "app/media_load.h"
#include "playlist/deck_list.h"
#include "support/full_disk.h"
#include "widgets/ClippedTextDelegate.h"

#include <QDir>
#include <QFile>
#include <QStyleOptionViewItem>
#include <QTimer>

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QString overwriteQuestion = "Arquivo de Seleção já Existe - Substitui-lo ??";
const QString writeError = "Ocorreu um erro durante a gravação do arquivo";

} // namespace

class PlaylistFileTest : public PlaylistTest
{
public:
    // Deck A holding the given library tracks.
    void fillDeckA(const QStringList& paths)
    {
        library(paths);
        for (int row = 1; row <= paths.size(); ++row)
            add(w->deckA, row);
    }

    void save(Deck& deck, const QString& typedName)
    {
        h.dialogs.fileAnswers << typedName;
        deck.saveButton->click();
    }
    void open(Deck& deck, const QString& fileName)
    {
        h.dialogs.fileAnswers << fileName;
        deck.openButton->click();
    }
};

// Catches a writer and a reader that disagree (order, encoding, line ends, names).
TEST_F(PlaylistFileTest, SavedOnOneDeckOpensOnTheOther)
{
    // Both decks load the first entry (on the first add, on the open): it is a real file.
    const QString first = playable("b/zeta.wav");
    const QStringList paths{first, "/m/ação/Canção.mp3", "/m/a/alfa.wav"};
    fillDeckA(paths);
    save(w->deckA, h.dataFile("noite.ipk"));
    const QString file = h.dataFile("noite.ipk.IPK");
    EXPECT_EQ(contents(file), (first + "\r\n/m/ação/Canção.mp3\r\n/m/a/alfa.wav\r\n").toUtf8());

    open(w->deckB, file);
    EXPECT_EQ(w->lista_b, paths);
    EXPECT_EQ(names(w->deckB), (QStringList{"ZETA.WAV", "CANÇÃO.MP3", "ALFA.WAV"}));
    EXPECT_EQ(w->conta_direita->value(), 3);
    EXPECT_EQ(w->ListBox2->currentRow(), 0);
    EXPECT_EQ(w->arquivo_lista_b, file);
    EXPECT_TRUE(w->arquivo_lista_a.isEmpty()) << "saving remembers nothing";
    ASSERT_EQ(h.dialogs.shown.size(), 2) << "one save and one open dialog, no message";
    for (const auto& shown : h.dialogs.shown) {
        EXPECT_EQ(shown.text, "Lista Arvesto (*.ipk *.IPK)") << shown.kind.toStdString();
        EXPECT_EQ(QDir(shown.folder), QDir(h.dataDir.path())) << shown.kind.toStdString();
    }
}

// Catches a reader that drops empty lines, splits CR LF twice, needs a last line end, or reads
// Windows-1252 lists as garbage.
TEST_F(PlaylistFileTest, OpenReadsEveryLineAsAnEntry)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList paths;
        QStringList names;
    };
    const QList<Case> cases{
        {"empty line kept", "/m/x.mp3\r\n\r\n/m/y.mp3\r\n", {"/m/x.mp3", "", "/m/y.mp3"}, {"X.MP3", "", "Y.MP3"}},
        {"CR alone", "/m/x.mp3\r/m/y.mp3\r", {"/m/x.mp3", "/m/y.mp3"}, {"X.MP3", "Y.MP3"}},
        {"LF, no final end", "/m/x.mp3\n/m/y.mp3", {"/m/x.mp3", "/m/y.mp3"}, {"X.MP3", "Y.MP3"}},
        {"no folder", "solta.mp3\r\n", {"solta.mp3"}, {"SOLTA.MP3"}},
        {"Windows-1252", "/m/can\xe7\xe3o.mp3\r\n", {"/m/canção.mp3"}, {"CANÇÃO.MP3"}},
        {"empty file", "", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        h.writeDataFile("caso.ipk", c.bytes);
        h.dialogs.clear();
        open(w->deckA, h.dataFile("caso.ipk"));
        EXPECT_EQ(w->lista_a, c.paths);
        EXPECT_EQ(names(w->deckA), c.names);
        expectPaired(w->deckA);
        EXPECT_EQ(w->ListBox1->currentRow(), c.paths.isEmpty() ? -1 : 0);
        EXPECT_EQ(w->arquivo_lista_a, h.dataFile("caso.ipk"));
        // The open itself says nothing; the deck then loads entry 0, which names no file here,
        // and says so with the path as read.
        QStringList expected{playlist::ipkFilter};
        if (!c.paths.isEmpty())
            expected << "Arquivo ->" + c.paths[0] + " - Não Localizado !!";
        EXPECT_EQ(h.dialogs.texts(), expected);
        EXPECT_EQ(h.dialogs.beeps, expected.size() - 1);
    }
}

// Catches a missing file that keeps the old playlist, forgets the counter or the beep, or
// overwrites the remembered file.
TEST_F(PlaylistFileTest, MissingFileEmptiesThePlaylist)
{
    // The good list's entry is a real file, so its load adds no beep of its own.
    h.writeDataFile("boa.ipk", (playable("x.wav") + "\r\n").toUtf8());
    open(w->deckA, h.dataFile("boa.ipk"));
    open(w->deckA, h.dataFile("sumiu.ipk"));
    EXPECT_EQ(h.dialogs.texts().last(), "Arquivo não Localizado - Verifique !!");
    EXPECT_EQ(h.dialogs.beeps, 1);
    EXPECT_TRUE(w->lista_a.isEmpty());
    expectPaired(w->deckA);
    EXPECT_EQ(w->arquivo_lista_a, h.dataFile("boa.ipk"));

    QDir(h.dataDir.path()).mkdir("pasta.ipk");
    open(w->deckA, h.dataFile("boa.ipk"));
    open(w->deckA, h.dataFile("pasta.ipk"));
    EXPECT_EQ(h.dialogs.texts().last(), "Arquivo não Localizado - Verifique !!");
    EXPECT_TRUE(w->lista_a.isEmpty());
    expectPaired(w->deckA);

    h.dialogs.clear();
    w->bitbtn1->click(); // the operator cancels the dialog
    EXPECT_EQ(h.dialogs.texts(), QStringList{playlist::ipkFilter});
}

TEST(SaveTarget, AppendsCapitalIpkUnlessPresent)
{
    const QList<std::pair<QString, QString>> cases{
        {"/d/lista", "/d/lista.IPK"},          {"/d/lista.ipk", "/d/lista.ipk.IPK"},
        {"/d/lista.Ipk", "/d/lista.Ipk.IPK"},  {"/d/lista.IPK", "/d/lista.IPK"},
        {"/d/a.IPK.velha", "/d/a.IPK.velha"}, {" /d/lista  ", "/d/lista.IPK"},
        {" /d/x.IPK ", " /d/x.IPK "},
    };
    for (const auto& [typed, target] : cases)
        EXPECT_EQ(playlist::saveTarget(typed), target) << typed.toStdString();
}

// Catches a save that writes without asking over an existing file, writes after Cancel, or asks
// about a new file.
TEST_F(PlaylistFileTest, OverwriteQuestionBothWays)
{
    fillDeckA({"/m/a/um.mp3"});
    h.writeDataFile("velha.IPK", "antiga\r\n");
    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer ? "OK" : "Cancel");
        h.dialogs.clear();
        h.dialogs.confirmAnswers = {answer};
        save(w->deckA, h.dataFile("velha.IPK"));
        ASSERT_EQ(h.dialogs.texts(), (QStringList{playlist::ipkFilter, overwriteQuestion}));
        EXPECT_EQ(h.dialogs.shown[1].caption, "Zulo Sistemas");
        EXPECT_EQ(contents(h.dataFile("velha.IPK")), answer ? "/m/a/um.mp3\r\n" : "antiga\r\n");
    }
    h.dialogs.clear();
    save(w->deckA, h.dataFile("nova"));
    EXPECT_EQ(h.dialogs.texts(), QStringList{playlist::ipkFilter});
    EXPECT_EQ(contents(h.dataFile("nova.IPK")), "/m/a/um.mp3\r\n");
}

// Catches a save dialog that forgets the opened file, or that still offers it after a clear.
TEST_F(PlaylistFileTest, SaveOffersTheOpenedFile)
{
    h.writeDataFile("aberta.ipk", "/m/x.mp3\r\n");
    open(w->deckB, h.dataFile("aberta.ipk"));
    h.dialogs.clear();
    save(w->deckB, h.dataFile("aberta.ipk"));
    EXPECT_EQ(h.dialogs.shown[0].folder, h.dataFile("aberta.ipk"));
    // "aberta.ipk" holds no ".IPK": the save goes beside it.
    EXPECT_EQ(contents(h.dataFile("aberta.ipk.IPK")), "/m/x.mp3\r\n");

    h.dialogs.clear();
    save(w->deckB, h.dataFile("aberta.ipk.IPK"));
    EXPECT_EQ(h.dialogs.texts().last(), overwriteQuestion);

    w->bitbtn19->click();
    library({"/m/y.mp3"});
    add(w->deckB, 1);
    h.dialogs.clear();
    w->bitbtn16->click(); // cancelled
    EXPECT_EQ(h.dialogs.shown[0].folder, h.dataFile("aberta.ipk.IPK")) << "the name the dialog had last";
}

// Catches an empty playlist that opens the dialog or writes a file.
TEST_F(PlaylistFileTest, EmptyPlaylistIsNotSaved)
{
    h.dialogs.fileAnswers << h.dataFile("vazia");
    w->bitbtn16->click();
    EXPECT_EQ(h.dialogs.texts(), QStringList{"Seleção está vazia"});
    EXPECT_EQ(h.dialogs.beeps, 1);
    EXPECT_FALSE(QFile::exists(h.dataFile("vazia.IPK")));
}

// Catches a failed write reported as success, or a playlist changed by the failure.
TEST_F(PlaylistFileTest, WriteFailureIsReported)
{
    fillDeckA({"/m/a/um.mp3", "/m/a/dois.mp3"});
    QDir(h.dataDir.path()).mkdir("pasta.IPK");
    h.writeDataFile("arquivo", "");
    for (const QString& typed : {h.dataFile("pasta.IPK"), h.dataFile("arquivo/lista")}) {
        SCOPED_TRACE(typed.toStdString());
        h.dialogs.clear();
        save(w->deckA, typed);
        EXPECT_EQ(h.dialogs.texts().last(), writeError);
        EXPECT_EQ(w->lista_a, (QStringList{"/m/a/um.mp3", "/m/a/dois.mp3"}));
        expectPaired(w->deckA);
    }
}

// Catches a small playlist (written inside QSaveFile's commit) replaced by a truncated copy with
// success reported, and a large one failing midway: the old file stays whole.
TEST_F(PlaylistFileTest, FullDiskKeepsTheOldFileAndReportsTheFailure)
{
    const QByteArray old = "/m/antiga.mp3\r\n";
    for (const int entries : {300, 5000}) { // about 9 KB and 150 KB, both past the room left
        SCOPED_TRACE(entries);
        QStringList paths;
        for (int i = 0; i < entries; ++i)
            paths << QString("/m/pasta/faixa%1.mp3").arg(i, 5, 10, QChar('0'));
        playlist::replaceEntries(w->deckA, QStringList(entries, "FAIXA.MP3"), paths);
        test::onFullDisk(old, "lista.IPK", [&](const QString& folder) {
            h.dialogs.clear();
            save(w->deckA, folder + "/lista.IPK");
            EXPECT_EQ(h.dialogs.texts().last(), writeError);
            EXPECT_EQ(contents(folder + "/lista.IPK"), old);
            EXPECT_EQ(w->lista_a, paths);
        });
    }
}

// Catches an open that leaves a stopped deck on its old track or loads another entry than the
// first (every entry is a real file, so any of them would load).
TEST_F(PlaylistFileTest, OpenLoadsTheFirstEntryIntoAStoppedDeck)
{
    const QString old = playable("velha.wav"), first = playable("primeira.wav"), second = playable("segunda.wav");
    h.writeDataFile("lista.ipk", (first + "\r\n" + second + "\r\n").toUtf8());
    library({old});
    for (Deck* d : {&w->deckA, &w->deckB}) {
        SCOPED_TRACE(d->listBox->objectName().toStdString());
        add(*d, 1);
        ASSERT_EQ(d->channel->FilePath, old);
        h.dialogs.clear();
        open(*d, h.dataFile("lista.ipk"));
        EXPECT_EQ(d->channel->FilePath, first);
        EXPECT_EQ(d->title->text(), "primeira.wav");
        EXPECT_EQ(d->listBox->toolTip(), first);
        EXPECT_TRUE(d->playButton->isEnabled());
        EXPECT_EQ(h.dialogs.texts(), QStringList{playlist::ipkFilter});
    }
}

// Catches an open, delete, clear or first add that stops or reloads a playing deck: the opened
// file's entry 0 and the added track are real files, so a load would take them.
TEST_F(PlaylistFileTest, PlayingTrackSurvivesOpenDeleteClearAndAdd)
{
    // The half-second tick locks clear and delete while the deck plays; the operator uses them
    // before it comes, so the tick is kept from coming at all.
    w->Timer3->stop();
    const QString track = media::writeWav(h.dataFile("tocando.wav"), 44100, 2, 16, 44100 * 5, media::sine(440, 44100));
    const QString other = playable("outra.wav");
    library({track, other});
    add(w->deckA, 1);
    w->bitbtn2->click();
    h.render(100);
    ASSERT_TRUE(w->canal_a->Playing);
    h.dialogs.clear();

    h.writeDataFile("outra.ipk", (other + "\r\n/m/y.mp3\r\n").toUtf8());
    open(w->deckA, h.dataFile("outra.ipk"));
    EXPECT_EQ(w->lista_a, (QStringList{other, "/m/y.mp3"}));
    EXPECT_EQ(w->ListBox1->currentRow(), 0);
    w->ListBox1->setCurrentRow(1);
    w->bitbtn18->click();
    EXPECT_EQ(w->lista_a, QStringList{other});
    w->bitbtn17->click();
    EXPECT_TRUE(w->lista_a.isEmpty());
    add(w->deckA, 2);
    EXPECT_EQ(w->lista_a, QStringList{other});
    h.render(100);
    EXPECT_TRUE(w->canal_a->Playing);
    EXPECT_EQ(w->canal_a->FilePath, track);
    EXPECT_EQ(w->label2->text(), "tocando.wav");
    EXPECT_EQ(w->canal_a->GetPosition() / 100, 2) << "kept playing from where it was";
    EXPECT_EQ(h.dialogs.texts(), QStringList{playlist::ipkFilter});
}

// Catches a deck list that takes a line no path can be (the session file would carry it at every
// save), and one that measures and elides a whole long path on every repaint: a 10 MB line is
// refused with the load message, the longest possible path is kept whole and drawn cut.
TEST_F(PlaylistFileTest, OverlongLinesAreRefusedAndLongPathsDrawnCut)
{
    const QByteArray huge(10 * 1024 * 1024, 'a');
    const QByteArray longest("/m/" + QByteArray(playlist::longestEntry - 3, 'b'));
    h.writeDataFile("estragada.ipk", "/m/" + huge + "\r\n" + longest + "\r\n/m/b.mp3\r\n");
    open(w->deckA, h.dataFile("estragada.ipk"));
    ASSERT_EQ(w->lista_a, (QStringList{QString::fromLatin1(longest), "/m/b.mp3"}));
    EXPECT_EQ(h.dialogs.texts().count(loadErrorMessage), 1) << h.dialogs.texts().join('\n').toStdString();
    QStyleOptionViewItem option;
    option.initFrom(w->ListBox1);
    const QSize shown = w->ListBox1->itemDelegate()->sizeHint(option, w->ListBox1->model()->index(0, 0));
    EXPECT_LT(shown.width(), 50 * ClippedTextDelegate::shownCharacters);
    EXPECT_FALSE(w->ListBox1->grab().isNull());
}
