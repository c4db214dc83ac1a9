// The main window with a small library in its grid, and the checks every playlist test makes.
#pragma once

#include "audio/media.h"
#include "support/harness.h"

#include "audio/TCorvoBass.h"
#include "playlist/ipk_file.h"
#include "widgets/LedCounter.h"
#include "widgets/StringGrid.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

class PlaylistTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        w = &h.create();
        h.show();
    }

    // Fills the library grid with one row per path (from row 1), described as the capture
    // describes files: the upper-cased file name.
    void library(const QStringList& paths, StringGrid* grid = nullptr)
    {
        grid = grid ? grid : w->StringGrid1;
        grid->setRowCount(int(paths.size()) + 1);
        for (int i = 0; i < paths.size(); ++i) {
            grid->setCells(0, i + 1, QString::number(i + 1));
            grid->setCells(1, i + 1, playlist::entryName(paths[i]));
            grid->setCells(2, i + 1, paths[i]);
        }
    }

    // The operator selects library row `row` and presses the deck's add button.
    void add(Deck& deck, int row)
    {
        w->StringGrid1->setRow(row);
        deck.addButton->click();
    }

    static QStringList names(const Deck& deck)
    {
        QStringList all;
        for (int i = 0; i < deck.listBox->count(); ++i)
            all << deck.listBox->item(i)->text();
        return all;
    }

    // Display list and path list of the same length, entry by entry the same track, and the
    // counter showing their length.
    static void expectPaired(const Deck& deck)
    {
        ASSERT_EQ(deck.listBox->count(), deck.paths.size());
        for (int i = 0; i < deck.paths.size(); ++i)
            EXPECT_EQ(deck.listBox->item(i)->text(), playlist::entryName(deck.paths[i])) << "entry " << i;
        EXPECT_EQ(deck.trackCount->value(), deck.listBox->count());
    }

    // A short playable track at `name` inside the data folder (its folders made), for an entry
    // the deck loads when the test is about something else than a missing file.
    QString playable(const QString& name) const
    {
        const QString path = h.dataFile(name);
        QDir().mkpath(QFileInfo(path).path());
        return media::writeWav(path, 44100, 2, 16, 4410, media::sine(440, 44100));
    }

    // The drop point's offset that lands on `row` of a list scrolled to its top.
    static int yOfRow(int row) { return row * 13 + 6; }

    test::Harness h;
    Tform_mixer* w = nullptr;
};
