// Filling, reordering, deleting and clearing a deck's playlist.
#include "playlist_fixture.h"

#include "app/media_load.h"
#include "playlist/deck_list.h"

#include <QMimeData>
#include <QUrl>

namespace {

const QStringList songs{"/m/a/s1.mp3", "/m/b/s2.mp3", "/m/a/s3.mp3", "/m/c/s4.mp3", "/m/a/s5.mp3"};

// One operator action on deck A. Rows of the library count from 1, entries of the list from 0;
// -1 selects nothing.
struct Op {
    enum Kind { Add, Delete, Move, MoveFromOtherList, DropFromLibrary, Clear, Open } kind;
    int a = 0; // library row, or the entry selected before the action
    int b = 0; // the drop row
};

struct Sequence {
    const char* name;
    std::vector<Op> ops;
    QStringList expected; // deck A's names at the end
};

} // namespace

class OperationSequences : public PlaylistTest, public ::testing::WithParamInterface<Sequence>
{
public:
    void apply(const Op& op)
    {
        Deck& d = w->deckA;
        switch (op.kind) {
        case Op::Add:
            add(d, op.a);
            break;
        case Op::Delete:
            d.listBox->setCurrentRow(op.a);
            d.deleteButton->click();
            break;
        case Op::Move:
            d.listBox->setCurrentRow(op.a);
            w->ListBox1DragDrop(w->ListBox1, yOfRow(op.b));
            break;
        case Op::MoveFromOtherList:
            d.listBox->setCurrentRow(op.a);
            w->ListBox1DragDrop(w->ListBox2, yOfRow(op.b));
            break;
        case Op::DropFromLibrary:
            w->StringGrid1->setRow(op.a);
            w->ListBox1DragDrop(w->StringGrid1->viewport(), yOfRow(op.b));
            break;
        case Op::Clear:
            d.clearButton->click();
            break;
        case Op::Open:
            h.dialogs.fileAnswers << playlistFile;
            d.openButton->click();
            break;
        }
    }

    QString playlistFile;
};

// Catches any operation that changes one of the two lists without the other, at another index,
// or without the counter.
TEST_P(OperationSequences, KeepNamesPathsAndCounterPaired)
{
    library(songs);
    playlistFile = h.dataFile("open.ipk");
    h.writeDataFile("open.ipk", "/m/a/s5.mp3\r\n/m/b/s2.mp3\r\n");
    for (size_t i = 0; i < GetParam().ops.size(); ++i) {
        apply(GetParam().ops[i]);
        SCOPED_TRACE(testing::Message() << "after operation " << i);
        expectPaired(w->deckA);
        EXPECT_EQ(w->linha_drag_a, -1);
    }
    EXPECT_EQ(names(w->deckA), GetParam().expected);
    EXPECT_TRUE(w->lista_b.isEmpty());
    EXPECT_EQ(w->ListBox2->count(), 0);
    EXPECT_EQ(h.dialogs.texts().filter("Música").size(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Deck, OperationSequences,
    ::testing::Values(
        Sequence{"AddsAppend", {{Op::Add, 1}, {Op::Add, 2}, {Op::Add, 3}}, {"S1.MP3", "S2.MP3", "S3.MP3"}},
        Sequence{"DeleteInTheMiddle", {{Op::Add, 1}, {Op::Add, 2}, {Op::Add, 3}, {Op::Delete, 1}}, {"S1.MP3", "S3.MP3"}},
        Sequence{"DeleteTheLastThenTheFirst",
                 {{Op::Add, 1}, {Op::Add, 2}, {Op::Add, 3}, {Op::Delete, 2}, {Op::Delete, 0}},
                 {"S2.MP3"}},
        Sequence{"DeleteWithNothingSelected", {{Op::Add, 1}, {Op::Add, 2}, {Op::Delete, -1}}, {"S1.MP3", "S2.MP3"}},
        Sequence{"MoveDownShiftsTheOthersUp",
                 {{Op::Add, 1}, {Op::Add, 2}, {Op::Add, 3}, {Op::Add, 4}, {Op::Move, 0, 2}},
                 {"S2.MP3", "S3.MP3", "S1.MP3", "S4.MP3"}},
        Sequence{"MoveUpShiftsTheOthersDown",
                 {{Op::Add, 1}, {Op::Add, 2}, {Op::Add, 3}, {Op::Add, 4}, {Op::Move, 3, 0}},
                 {"S4.MP3", "S1.MP3", "S2.MP3", "S3.MP3"}},
        Sequence{"MoveBelowTheBottomGoesLast",
                 {{Op::Add, 1}, {Op::Add, 2}, {Op::Add, 3}, {Op::Move, 0, 40}},
                 {"S2.MP3", "S3.MP3", "S1.MP3"}},
        Sequence{"DropOnItself", {{Op::Add, 1}, {Op::Add, 2}, {Op::Add, 3}, {Op::Move, 1, 1}},
                 {"S1.MP3", "S2.MP3", "S3.MP3"}},
        Sequence{"TwoMovesInARow",
                 {{Op::Add, 1}, {Op::Add, 2}, {Op::Add, 3}, {Op::Move, 2, 0}, {Op::Move, 0, 2}},
                 {"S1.MP3", "S2.MP3", "S3.MP3"}},
        Sequence{"OtherDeckListReordersByThisSelection",
                 {{Op::Add, 1}, {Op::Add, 2}, {Op::Add, 3}, {Op::MoveFromOtherList, 2, 0}},
                 {"S3.MP3", "S1.MP3", "S2.MP3"}},
        Sequence{"LibraryDropBetweenEntriesAppends",
                 {{Op::Add, 1}, {Op::Add, 2}, {Op::DropFromLibrary, 3, 0}},
                 {"S1.MP3", "S2.MP3", "S3.MP3"}},
        Sequence{"ClearThenAdd", {{Op::Add, 1}, {Op::Add, 2}, {Op::Clear}, {Op::Add, 3}}, {"S3.MP3"}},
        Sequence{"OpenReplacesThenEdits",
                 {{Op::Add, 1}, {Op::Open}, {Op::Add, 3}, {Op::Move, 2, 0}, {Op::Delete, 1}},
                 {"S3.MP3", "S2.MP3"}},
        Sequence{"MovedEntryCanBeDeleted",
                 {{Op::Add, 1}, {Op::Add, 2}, {Op::Add, 3}, {Op::Move, 0, 2}, {Op::Delete, 2}},
                 {"S2.MP3", "S3.MP3"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Catches a move that leaves the list without a current entry, or with another track's.
TEST_F(PlaylistTest, MovedEntryStaysSelected)
{
    library(songs);
    for (int row : {1, 2, 3})
        add(w->deckA, row);
    w->ListBox1->setCurrentRow(0);
    w->ListBox1DragDrop(w->ListBox1, yOfRow(2));
    EXPECT_EQ(w->ListBox1->currentRow(), 2);
    EXPECT_EQ(w->lista_a[w->ListBox1->currentRow()], "/m/a/s1.mp3");
}

// Catches a selection moved by later adds, or a first entry left unselected (the deck loads
// the selected entry).
TEST_F(PlaylistTest, FirstEntryAddedBecomesTheCurrentOne)
{
    library(songs);
    add(w->deckB, 2);
    EXPECT_EQ(w->ListBox2->currentRow(), 0);
    w->ListBox2->setCurrentRow(-1);
    add(w->deckB, 3);
    EXPECT_EQ(w->ListBox2->currentRow(), -1);
    w->ListBox2->setCurrentRow(1);
    add(w->deckB, 4);
    EXPECT_EQ(w->ListBox2->currentRow(), 1);
    EXPECT_EQ(w->lista_b, (QStringList{"/m/b/s2.mp3", "/m/a/s3.mp3", "/m/c/s4.mp3"}));
    EXPECT_EQ(w->conta_direita->value(), 3);
    EXPECT_TRUE(w->lista_a.isEmpty());
}

// Catches a library row no path can be reaching a deck list, by the add button or by PRG: it is
// refused with the load message (once for the whole deal) and the other rows go on as before.
TEST_F(PlaylistTest, OverlongLibraryRowsAreRefused)
{
    const QString overlong = "/m/" + QString(playlist::longestEntry, u'x') + ".mp3";
    library({"/m/a/s1.mp3", overlong, "/m/b/s2.mp3", overlong, "/m/c/s3.mp3"});
    add(w->deckA, 2);
    EXPECT_TRUE(w->lista_a.isEmpty());
    EXPECT_EQ(h.dialogs.texts(), QStringList{loadErrorMessage});

    h.dialogs.clear();
    w->StringGrid1->setRow(1);
    w->BitBtn24Click();
    EXPECT_EQ(w->lista_a, (QStringList{"/m/a/s1.mp3", "/m/c/s3.mp3"}));
    EXPECT_EQ(w->lista_b, QStringList{"/m/b/s2.mp3"});
    expectPaired(w->deckA);
    expectPaired(w->deckB);
    EXPECT_EQ(h.dialogs.texts().count(loadErrorMessage), 1) << h.dialogs.texts().join('\n').toStdString();
}

// Catches a first entry that is not loaded into the stopped deck, and a later add that loads
// its own track or moves the selection.
TEST_F(PlaylistTest, FirstEntryAddedIsLoaded)
{
    const QStringList tracks{playable("um.wav"), playable("dois.wav")};
    library(tracks);
    h.tick("Timer3"); // an empty deck's Play goes off within half a second
    for (Deck* d : {&w->deckA, &w->deckB}) {
        SCOPED_TRACE(d->listBox->objectName().toStdString());
        ASSERT_FALSE(d->playButton->isEnabled());
        add(*d, 1);
        EXPECT_EQ(d->channel->FilePath, tracks[0]);
        EXPECT_EQ(d->title->text(), "um.wav");
        EXPECT_TRUE(d->playButton->isEnabled());
        add(*d, 2);
        EXPECT_EQ(d->listBox->currentRow(), 0);
        EXPECT_EQ(d->channel->FilePath, tracks[0]);
        EXPECT_EQ(d->title->text(), "um.wav");
    }
    EXPECT_TRUE(h.dialogs.shown.isEmpty());
}

// Catches a comparison by path instead of by name, a question asked once for all copies, or an
// entry added after a Cancel.
TEST_F(PlaylistTest, DuplicateQuestionComesOncePerEqualEntry)
{
    const QString question = "Música já Existente nesta programação - Deseja Continuar ??";
    // Three files of one name in three folders; the first is loaded when added, so it is real.
    const QStringList copies{playable("x/song.wav"), playable("y/song.wav"), playable("z/song.wav")};
    library(copies);
    add(w->deckA, 1);
    EXPECT_TRUE(h.dialogs.shown.isEmpty());
    EXPECT_EQ(h.dialogs.beeps, 0);

    struct Case {
        QList<bool> answers;
        int questions;
        bool added;
    };
    int expectedCount = 1;
    for (const Case& c : {Case{{false}, 1, false}, Case{{true}, 1, true}, Case{{true, false}, 2, false},
                          Case{{false}, 1, false}, Case{{true, true}, 2, true}}) {
        SCOPED_TRACE(testing::Message() << "answers " << c.answers.size() << ", added " << c.added);
        h.dialogs.clear();
        h.dialogs.confirmAnswers = c.answers;
        add(w->deckA, 1 + expectedCount % 2);
        expectedCount += c.added;
        ASSERT_EQ(h.dialogs.shown.size(), c.questions);
        for (const auto& shown : h.dialogs.shown) {
            EXPECT_EQ(shown.text, question);
            EXPECT_EQ(shown.caption, "Zulo Sistemas");
        }
        EXPECT_EQ(h.dialogs.beeps, c.questions);
        EXPECT_EQ(w->ListBox1->count(), expectedCount);
        expectPaired(w->deckA);
    }
    EXPECT_EQ(w->lista_a, (QStringList{copies[0], copies[1], copies[0]}));
}

// Catches an add that reads the hidden library grid in search mode, or that adds a row with
// no description.
TEST_F(PlaylistTest, SearchResultsAreTheSourceWhileShown)
{
    library(songs);
    library({"/busca/achada.mp3", ""}, w->StringGrid2);
    w->StringGrid2->setCells(1, 2, QString());
    w->StringGrid2->show();
    w->StringGrid1->setRow(1);
    w->StringGrid2->setRow(1);
    w->bitbtn14->click();
    w->StringGrid2->setRow(2);
    w->ListBox1DragDrop(w->StringGrid2, yOfRow(0));
    w->bitbtn14->click();
    EXPECT_EQ(w->lista_a, QStringList{"/busca/achada.mp3"});
    EXPECT_EQ(names(w->deckA), QStringList{"ACHADA.MP3"});

    w->StringGrid2->hide();
    w->bitbtn14->click();
    EXPECT_EQ(w->lista_a, (QStringList{"/busca/achada.mp3", "/m/a/s1.mp3"}));
}

// Catches a library drop that ignores a disabled add button (a playing deck's), or that leaves
// the drag row set.
TEST_F(PlaylistTest, LibraryDropNeedsTheAddButton)
{
    library(songs);
    w->bitbtn15->setEnabled(false);
    w->StringGrid1->setRow(1);
    w->ListBox2DragDrop(w->StringGrid1->viewport(), yOfRow(0));
    EXPECT_TRUE(w->lista_b.isEmpty());
    EXPECT_EQ(w->linha_drag_b, -1);
    w->bitbtn15->setEnabled(true);
    w->ListBox2DragDrop(w->StringGrid1, yOfRow(3));
    EXPECT_EQ(w->lista_b, QStringList{"/m/a/s1.mp3"});
    expectPaired(w->deckB);
}

// Catches a drop row counted from the list's top instead of its first visible entry, or rows
// that are not 13 pixels high.
TEST_F(PlaylistTest, DropRowFollowsTheScrolledList)
{
    QStringList many;
    for (int i = 0; i < 60; ++i)
        many << QString("/m/n/t%1.mp3").arg(i, 2, 10, QChar('0'));
    library(many);
    for (int row = 1; row <= 60; ++row)
        add(w->deckA, row);
    EXPECT_EQ(w->ListBox1->visualItemRect(w->ListBox1->item(1)).top(), 13);
    w->ListBox1->scrollToBottom();
    const int top = w->ListBox1->indexAt(QPoint(0, 0)).row();
    ASSERT_GT(top, 0);
    w->ListBox1->setCurrentRow(0);
    w->ListBox1DragDrop(w->ListBox1, yOfRow(3));
    EXPECT_EQ(w->lista_a[top + 3], "/m/n/t00.mp3");
    EXPECT_EQ(w->ListBox1->item(top + 3)->text(), "T00.MP3");
    expectPaired(w->deckA);
}

// Catches a drop on an empty list or above the list that touches anything or resets the drag
// row as a completed drop would.
TEST_F(PlaylistTest, DropThatFindsNoRowChangesNothing)
{
    w->linha_drag_a = 5;
    w->ListBox1DragDrop(w->ListBox1, yOfRow(0));
    EXPECT_EQ(w->linha_drag_a, -1) << "k is count - 1 on an empty list";
    // The first entry is loaded when added: a real file, so any message would be the drop's.
    library({playable("s1.wav"), songs[1]});
    add(w->deckA, 1);
    add(w->deckA, 2);
    w->ListBox1->setCurrentRow(1);
    w->ListBox1DragDrop(w->ListBox1, -20);
    EXPECT_EQ(w->linha_drag_a, -1);
    EXPECT_EQ(names(w->deckA), (QStringList{"S1.WAV", "S2.MP3"}));
    EXPECT_TRUE(h.dialogs.shown.isEmpty());
}

// Catches a drag start that forgets which entry is dragged.
TEST_F(PlaylistTest, DragStartRemembersTheSelectedEntry)
{
    library(songs);
    add(w->deckA, 1);
    add(w->deckA, 2);
    w->ListBox1->setCurrentRow(-1);
    w->ListBox1MouseDown();
    EXPECT_EQ(w->linha_drag_a, -1);
    w->ListBox1->setCurrentRow(1);
    w->ListBox1MouseDown();
    EXPECT_EQ(w->linha_drag_a, 1);
    EXPECT_TRUE(w->ListBox1DragOver(w->ListBox2, QPoint(3, 3)));
}

// Catches a clear or delete that keeps the remembered file, a counter left behind, or a delete
// key that does not reach the delete operation.
TEST_F(PlaylistTest, ClearAndDeleteKey)
{
    library(songs);
    add(w->deckB, 1);
    add(w->deckB, 2);
    w->arquivo_lista_b = "/tmp/x.ipk";
    w->ListBox2->setCurrentRow(0);
    w->ListBox2->setFocus();
    QTest::keyClick(w->ListBox2, Qt::Key_Delete);
    EXPECT_EQ(w->lista_b, QStringList{"/m/b/s2.mp3"});
    EXPECT_EQ(w->conta_direita->value(), 1);
    w->bitbtn19->click();
    EXPECT_TRUE(w->arquivo_lista_b.isEmpty());
    EXPECT_EQ(w->conta_direita->value(), 0);
    expectPaired(w->deckB);
}

// Catches a drag that starts before the list has selected the entry under the pointer, and drops
// from other programs that reach the list (they would add items without paths).
TEST_F(PlaylistTest, ListEventsReachTheDragHandlers)
{
    library(songs);
    for (int row : {1, 2, 3})
        add(w->deckA, row);
    QWidget* viewport = w->ListBox1->viewport();
    const QPoint second = w->ListBox1->visualItemRect(w->ListBox1->item(1)).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, second);
    EXPECT_EQ(w->ListBox1->currentRow(), 1);
    EXPECT_EQ(w->linha_drag_a, -1) << "a press alone is still a click";
    QTest::mouseMove(viewport, second + QPoint(0, 1));
    EXPECT_EQ(w->linha_drag_a, 1);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, second);

    QMimeData outside;
    outside.setUrls({QUrl::fromLocalFile("/m/fora.mp3")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &outside, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &outside, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);
    EXPECT_EQ(names(w->deckA), (QStringList{"S1.MP3", "S2.MP3", "S3.MP3"}));
    expectPaired(w->deckA);
}
