// The substring search and the type-ahead over a list of descriptions (rows from 1).
#include "library/library_search.h"
#include "library/time_slice.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct Library {
    QStringList descriptions; // row r is descriptions[r - 1]
    library::DescriptionAt at() const
    {
        return [this](int row) { return row >= 1 && row <= descriptions.size() ? descriptions[row - 1] : QString(); };
    }
    QList<int> find(const QString& typed) const
    {
        library::TimeSlice slice;
        return library::findInDescriptions(int(descriptions.size()), at(), library::searchNeedle(typed), slice);
    }
};

} // namespace

TEST(LibrarySearch, MatchesWithinTheFirstFiftyCharactersOnly)
{
    // "ROCK" starting at character 47 (index 46) ends at 50: found; starting at 48 it is not.
    const Library lib{{QString(46, 'x') + "ROCK", QString(47, 'x') + "ROCK", "classic rock.mp3", "ROCKET.MP3", "OTHER"}};
    EXPECT_EQ(lib.find("rock"), (QList<int>{1, 3, 4}));
    EXPECT_EQ(lib.find("ROCK "), QList<int>{});           // the blank typed is part of the needle
    EXPECT_EQ(lib.find("OTHER").size(), 1);
    EXPECT_TRUE(lib.find(QString(51, 'X')).isEmpty());   // longer than the window: never
    const Library exact{{QString(50, 'X'), QString(51, 'X')}};
    EXPECT_EQ(exact.find(QString(50, 'x')), (QList<int>{1, 2}));
}

TEST(LibrarySearch, TrailingBlankNarrowsToWordsFollowedByABlank)
{
    const Library lib{{"LOVE SONG", "LOVER", "GLOVE BOX", "MY LOVE"}};
    EXPECT_EQ(lib.find("love"), (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(lib.find("love "), (QList<int>{1, 3}));
    EXPECT_EQ(lib.find(QString::fromUtf8("ção")), QList<int>{});
    const Library accented{{QString::fromUtf8("CANÇÃO.MP3")}};
    EXPECT_EQ(accented.find(QString::fromUtf8("canção")), QList<int>{1});
}

TEST(LibrarySearch, TypeAheadKeysAreCharactersOfQtKeyCodes)
{
    EXPECT_EQ(library::typeAheadCharacter(Qt::Key_A), QChar('A'));
    EXPECT_EQ(library::typeAheadCharacter(Qt::Key_Z), QChar('Z'));
    EXPECT_EQ(library::typeAheadCharacter(Qt::Key_0), QChar('0'));
    for (int key : {Qt::Key_Space, Qt::Key_Minus, Qt::Key_Period, Qt::Key_Slash, Qt::Key_Equal, Qt::Key_Underscore})
        EXPECT_EQ(library::typeAheadCharacter(key), QChar(char16_t(key)));
    // F1's code ends in 0x30 and Delete's was '.' on the old key codes: neither types anything.
    for (int key : {Qt::Key_F1, Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Down, Qt::Key_Backspace, Qt::Key_Comma})
        EXPECT_TRUE(library::typeAheadCharacter(key).isNull()) << key;
}

TEST(LibrarySearch, TypeAheadSequence)
{
    const Library lib{{"ABBA.MP3", "MADONNA.MP3", "METALLICA.MP3", "MU.MP3", "ZZ.MP3"}};
    QString prefix;
    int current = 1;
    auto press = [&](int key) {
        const library::TypeAheadStep step = library::typeAheadKey(prefix, key, current, 5, lib.at());
        if (step.row > 0)
            current = step.row;
        return step;
    };
    EXPECT_EQ(press(Qt::Key_M).row, 2); // the upper of the "M" rows
    EXPECT_EQ(press(Qt::Key_E).row, 3); // the second letter of the lower one
    EXPECT_EQ(prefix, "ME");
    const library::TypeAheadStep none = press(Qt::Key_Q); // no "MEQ": nothing moves, prefix kept
    EXPECT_TRUE(none.accepted);
    EXPECT_EQ(none.row, -1);
    EXPECT_EQ(prefix, "ME");
    EXPECT_EQ(press(Qt::Key_Backspace).row, -1); // shortens without moving
    EXPECT_EQ(prefix, "M");
    EXPECT_EQ(current, 3);
    EXPECT_TRUE(press(Qt::Key_Down).accepted); // not a type-ahead key, box still rewritten
    EXPECT_EQ(prefix, "M");
    prefix.clear();
    EXPECT_EQ(press(Qt::Key_Backspace).row, -1); // on an empty prefix: nothing to remove
    EXPECT_EQ(prefix, "");
}

TEST(LibrarySearch, TypeAheadComparesUpperCasedPrefixes)
{
    const Library lib{{"", QString::fromUtf8("ábc"), "abc", "a-b.mp3"}};
    QString prefix;
    // The current row has no description: the key is ignored altogether.
    EXPECT_FALSE(library::typeAheadKey(prefix, Qt::Key_A, 1, 4, lib.at()).accepted);
    EXPECT_EQ(prefix, "");
    EXPECT_EQ(library::typeAheadKey(prefix, Qt::Key_A, 2, 4, lib.at()).row, 3); // lower case matches, "Á" does not
    EXPECT_EQ(library::typeAheadKey(prefix, Qt::Key_Minus, 3, 4, lib.at()).row, 4);
    EXPECT_EQ(prefix, "A-");
}
