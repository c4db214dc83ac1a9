// Tform_dir: the refusals of OK, what an accepted folder sets, and what carries over between showings.
#include "library/VoltariaScan.h"
#include "library/drive_list.h"
#include "library/udir.h"
#include "temp_tree.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace {

struct DirDialog {
    TempTree tree;
    QString pasta_captura = "/";
    TVoltariaScan scanner;
    QStringList messages;
    Tform_dir dialog{pasta_captura, scanner, [this](const QString& text) { messages.append(text); }};

    void click(const QString& folder) { emit dialog.Dir->clicked(dialog.folderIndex(folder)); }
};

} // namespace

TEST(DirDialog, OkRefusesNoChoiceAndRoots)
{
    DirDialog d;
    d.dialog.driveRoots = {"/", d.tree.path("drive")};
    d.tree.folder("drive/music");
    d.dialog.show();
    d.dialog.bitbtn1->click(); // nothing clicked yet
    d.click("/");
    d.dialog.bitbtn1->click();
    d.click(d.tree.path("drive"));
    d.dialog.bitbtn1->click();
    EXPECT_EQ(d.messages, QStringList(3, "Selecione uma Pasta"));
    EXPECT_EQ(d.dialog.confirmado, 0);
    EXPECT_TRUE(d.dialog.isVisible());
    EXPECT_EQ(d.pasta_captura, "/");
    EXPECT_EQ(d.scanner.xnivel, 0);

    d.click(d.tree.path("drive/music"));
    d.dialog.bitbtn1->click();
    EXPECT_EQ(d.messages.size(), 3);
    EXPECT_EQ(d.dialog.confirmado, 1);
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(d.pasta_captura, d.tree.path("drive/music"));
}

TEST(DirDialog, AcceptedFolderSetsTheScannerAndTheBoxCarriesOver)
{
    DirDialog d;
    d.tree.folder("music");
    d.dialog.show();
    EXPECT_TRUE(d.dialog.Checkbox1->isChecked());
    d.click(d.tree.path("music"));
    d.dialog.Checkbox1->setChecked(false);
    d.dialog.bitbtn1->click();
    EXPECT_FALSE(d.scanner.SubDirectories);
    EXPECT_EQ(d.scanner.xnivel, 20);

    d.dialog.show(); // opens again at the folder accepted last, with nothing chosen yet
    EXPECT_FALSE(d.dialog.Checkbox1->isChecked());
    EXPECT_TRUE(d.dialog.pasta_escolhida.isEmpty());
    EXPECT_EQ(d.dialog.confirmado, 0);
    EXPECT_EQ(d.dialog.Dir->currentIndex(), d.dialog.folderIndex(d.tree.path("music")));
}

TEST(DirDialog, CancelAfterAClickChangesNothing)
{
    DirDialog d;
    d.pasta_captura = d.tree.path("gone/"); // a remembered folder that no longer exists
    d.tree.folder("music");
    d.dialog.show();
    d.click(d.tree.path("music"));
    d.dialog.bitbtn2->click();
    EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(d.dialog.confirmado, 0);
    EXPECT_EQ(d.pasta_captura, d.tree.path("gone/"));
    EXPECT_TRUE(d.scanner.SubDirectories);
    EXPECT_TRUE(d.messages.isEmpty());
}

TEST(DriveList, FolderLiesOnTheDriveWithTheLongestRoot)
{
    const QList<library::DriveEntry> drives{{"/", "/"}, {"/home/u", "/home/u"}, {"/media/u/STICK", "/media/u/STICK"}};
    struct Case {
        QString folder;
        QString drive;
    };
    for (const Case& c : {Case{"/", "/"}, Case{"/home/u", "/home/u/"}, Case{"/home/u/music/", "/home/u/"},
                          Case{"/home/user2/", "/"}, Case{" /media/u/STICK/a ", "/media/u/STICK/"}, Case{"", ""},
                          Case{"relative/", ""}})
        EXPECT_EQ(library::driveOf(drives, c.folder), c.drive) << c.folder.toStdString();
}

// Catches a dialog that follows only the mouse: the folder reached with the arrow keys is the
// one OK accepts, and where the list opens is no choice of its own.
TEST(DirDialog, ArrowKeysChooseTheFolderOkAccepts)
{
    DirDialog d;
    d.tree.folder("a");
    d.tree.folder("b");
    d.pasta_captura = d.tree.path("a");
    d.dialog.show();
    d.dialog.bitbtn1->click();
    EXPECT_EQ(d.messages, QStringList{"Selecione uma Pasta"});
    const QModelIndex parent = d.dialog.folderIndex(d.tree.root());
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.dialog.Dir->model()->rowCount(parent) == 2; }, 5000));
    d.dialog.Dir->setFocus();
    QTest::keyClick(d.dialog.Dir, Qt::Key_Down);
    d.dialog.bitbtn1->click();
    EXPECT_EQ(d.dialog.confirmado, 1);
    EXPECT_EQ(d.pasta_captura, d.tree.path("b"));
}
