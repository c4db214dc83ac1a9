// The window's periphery: the status line, the "Sair" exit, the about box on F1, the logo and
// the address labels, and the notification-area icon.
#include "mixer/deck_fixture.h"

#include "app/LinkLabel.h"
#include "app/about.h"
#include "app/paths.h"
#include "app/tray.h"
#include "audio/engine.h"
#include "widgets/LedText.h"
#include "widgets/Palette.h"

#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString productLine = "Arvesto Voltaria-PRO 4.1 - www.arvesto.example";
const QString visitLine = "Visite: www.arvesto.example";
const QString noSound = QString::fromUtf8("SEM SAÍDA DE SOM");

// The status line reads this minute of the hour for as long as it lives.
class Minute
{
public:
    explicit Minute(int minute)
    {
        app::setWallClock([minute] { return QDateTime(QDate(2026, 12, 10), QTime(15, minute, 30)); });
    }
    ~Minute() { app::setWallClock({}); }
};

// Records the addresses the program asks the desktop to open, in place of a browser.
class Browser : public QObject
{
    Q_OBJECT

public:
    Browser()
    {
        QDesktopServices::setUrlHandler("http", this, "open");
        QDesktopServices::setUrlHandler("https", this, "open");
    }
    ~Browser() override
    {
        QDesktopServices::unsetUrlHandler("http");
        QDesktopServices::unsetUrlHandler("https");
    }
    QStringList opened;

public slots:
    void open(const QUrl& url) { opened << url.toString(); }
};

// The deck window with the status line driven only by the test's own steps.
class StatusLine : public DeckTest
{
public:
    void SetUp() override
    {
        DeckTest::SetUp();
        w->Timer6->stop();
    }

    void step() { tickNow(w->Timer6); }
    int left() const { return w->label5->x(); }
    void standAt(int x) { w->label5->move(x, w->label5->y()); }
    // The monitors as the status line reads them: running or not.
    void monitors(bool a, bool b)
    {
        a ? w->Timer1->start() : w->Timer1->stop();
        b ? w->Timer2->start() : w->Timer2->stop();
    }
};

} // namespace

// Catches a swapped odd/even test, a period left at 45 ms and a step other than 3 pixels, with
// no deck playing and with both playing (a mix).
TEST_F(StatusLine, NoDeckOrBothDecksScrollTheProductOrVisitLine)
{
    const struct {
        bool both;
        int minute;
        QString text;
    } cases[] = {{false, 1, productLine}, {false, 0, visitLine}, {false, 59, productLine}, {false, 58, visitLine},
                 {true, 7, productLine},  {true, 30, visitLine}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("both %1, minute %2").arg(c.both).arg(c.minute).toStdString());
        const Minute minute(c.minute);
        monitors(c.both, c.both);
        w->Timer6->setInterval(45);
        standAt(100);
        step();
        EXPECT_EQ(w->label5->text(), c.text);
        EXPECT_EQ(w->Timer6->interval(), 200);
        EXPECT_EQ(left(), 97);
    }
}

// Catches an off-by-one at the left border in either direction and a re-entry at the panel's
// edge instead of 3 pixels inside it: the line leaves once its right edge is 3 or less.
TEST_F(StatusLine, LineReentersThreePixelsInsideTheRightBorder)
{
    const Minute minute(1);
    const struct {
        int from, to;
    } cases[] = {{-297, -300}, {-298, 391}, {-299, 391}, {-1000, 391}, {391, 388}, {394, 391}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        standAt(c.from);
        step();
        EXPECT_EQ(left(), c.to);
    }
    // A whole turn from the re-entry point: 230 moves of 3 pixels and the jump back (46.2 s).
    standAt(391);
    int steps = 0;
    do {
        step();
        ++steps;
    } while (left() != 391 && steps < 1000);
    EXPECT_EQ(steps, 231);
}

// Catches the wrong deck's captions, a title cut by other than four characters, a text not
// upper-cased by the locale, a period left at 200 ms, and a line that moves once at 2 or left of it.
TEST_F(StatusLine, OneDeckAloneShowsItsTitleSlidingToTheLeftEdge)
{
    const struct {
        bool deckA;
        const char* title;
        const char* length;
        int from, to;
        const char* shown;
    } cases[] = {
        {true, "música de verão.mp3", "03:20", 394, 389, "MÚSICA DE VERÃO - 03:20"},
        {false, "Fim.wav", "59:59", 3, -2, "FIM - 59:59"},
        {true, "a.mp3", "00:07", 2, 2, "A - 00:07"},
        {false, "abc", "00:00", -120, -120, " - 00:00"},
        {true, "Música:", "00:00", -400, -400, "MÚS - 00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        monitors(c.deckA, !c.deckA);
        Deck& playing = deck(c.deckA ? 1 : 2);
        Deck& other = deck(c.deckA ? 2 : 1);
        playing.title->setText(QString::fromUtf8(c.title));
        playing.durationText->setText(c.length);
        other.title->setText("outra.mp3");
        other.durationText->setText("01:00");
        standAt(c.from);
        step();
        EXPECT_EQ(w->label5->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(w->Timer6->interval(), 45);
        EXPECT_EQ(left(), c.to);
    }
}

// The whole road with real decks: A alone slides its title in 5 pixels a step and rests; B
// joining puts the product line back, scrolling from where B's Play left it; B stopping leaves
// A's title to slide in again from where the line stands.
TEST_F(StatusLine, DecksStartingAndStoppingSwitchTheLine)
{
    const Minute minute(3);
    freshDeck(1);
    w->Timer6->stop();
    ASSERT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(left(), 394); // Play starts the line at the panel's right edge
    QList<int> slide;
    for (int i = 0; i < 82; ++i) {
        step();
        slide << left();
    }
    EXPECT_EQ(w->label5->text(), "ONE - 00:01");
    EXPECT_EQ(slide.first(), 389);
    EXPECT_EQ(slide[77], 4);
    EXPECT_EQ(slide[78], -1);
    EXPECT_EQ(slide.last(), -1);

    fill(w->deckB, threeTracks());
    clickRow(w->deckB, 1);
    press(w->deckB.playButton);
    w->Timer6->stop();
    ASSERT_TRUE(w->Timer2->isActive());
    EXPECT_EQ(left(), 394);
    step();
    step();
    EXPECT_EQ(w->label5->text(), productLine);
    EXPECT_EQ(w->Timer6->interval(), 200);
    EXPECT_EQ(left(), 388);

    press(w->deckB.stopButton);
    ASSERT_FALSE(w->Timer2->isActive());
    step();
    EXPECT_EQ(w->label5->text(), "ONE - 00:01");
    EXPECT_EQ(left(), 383);
}

namespace {

// Whether any LED of the line is lit in `colour`.
bool litIn(LedText* line, const QColor& colour)
{
    const QImage image = line->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

// Catches a line that goes on with its texts while nothing is heard, a warning that moves, is
// pushed out by a deck's Play, or keeps its red once the output is back, and a tray tip that does
// not say it.
TEST_F(StatusLine, SteadyRedWarningWhileTheMusicOutputIsFailed)
{
    const Minute minute(3);
    Deck& a = deck(1);
    fill(a, {track("long.wav", 5000)});
    clickRow(a, 0);
    press(a.playButton);
    w->Timer6->stop();
    QSystemTrayIcon& icon = *w->Systray1->icon();
    step();
    ASSERT_EQ(w->label5->text(), "LONG - 00:05");
    audio::setOutputFailing(1, true);
    h.render(100);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        if (i == 1) { // Play starts the line at the panel's edge
            press(a.stopButton);
            press(a.playButton);
        }
        step();
        EXPECT_EQ(w->label5->text(), noSound);
        EXPECT_GE(left(), 0);
        EXPECT_LE(left() + w->label5->textWidth(), w->Panel18->width());
        EXPECT_EQ(icon.toolTip(), noSound);
    }
    EXPECT_TRUE(litIn(w->label5, skin::ledRed));
    EXPECT_FALSE(litIn(w->label5, skin::statusText));
    const int standing = left();
    step();
    EXPECT_EQ(left(), standing);
    EXPECT_TRUE(a.channel->Playing);

    // The output answers again (it is retried every second): the line clears itself.
    audio::setOutputFailing(1, false);
    h.render(1500);
    step();
    EXPECT_EQ(w->label5->text(), "LONG - 00:05");
    EXPECT_TRUE(litIn(w->label5, skin::statusText));
    EXPECT_FALSE(litIn(w->label5, skin::ledRed));
    EXPECT_EQ(icon.toolTip(), "Arvesto Voltaria-Pro 4.0");
}

// Catches accents, cedillas and hooks cut off at the line's edges: every pixel of the text drawn
// in the line's own font lights an LED of the status line as the window has it.
TEST(Periphery, StatusLineDrawsWholeGlyphs)
{
    test::Harness h;
    Tform_mixer& w = h.create();
    h.show();
    LedText& line = *w.label5;
    EXPECT_EQ(w.Panel18->size(), QSize(394, 28));
    EXPECT_GE(line.ledFont().pixelSize(), 10) << "the letters shrank";
    for (const char* text : {"CANÇÃO", "ÁGUA", "JOÃO - 03:20", "Visite: www.arvesto.example"}) {
        SCOPED_TRACE(text);
        line.setText(QString::fromUtf8(text));
        const QFontMetrics metrics(line.ledFont());
        QImage drawn(metrics.horizontalAdvance(line.text()) + 40, 80, QImage::Format_Grayscale8);
        drawn.fill(0);
        QPainter painter(&drawn);
        painter.setFont(line.ledFont());
        painter.setPen(Qt::white);
        painter.drawText(20, 50, line.text());
        painter.end();
        int ink = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                ink += qGray(drawn.pixel(x, y)) > 127;
        int lit = 0; // each lit LED fills a square of 2 by 2 pixels
        const QImage shown = line.grab().toImage();
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                lit += shown.pixelColor(x, y) == skin::statusText;
        EXPECT_GT(ink, 0);
        EXPECT_EQ(lit, 4 * ink);
    }
}

// Catches the warning missing where there is no output at all: the decks on the null device.
TEST(Periphery, WarningWithTheDecksOnTheNullDevice)
{
    test::Harness h;
    h.writeDataFile("VOLTARIA4.INI", "DEVICE_TRANSMISSAO=3\r\nDEVICE_CUE=1\r\n");
    Tform_mixer& w = h.create();
    h.show();
    ASSERT_EQ(w.canal_a->DeviceName(w.canal_a->Device), QString::fromUtf8("Sem saída de som"));
    h.tick("Timer6");
    EXPECT_EQ(w.label5->text(), noSound);
    EXPECT_EQ(w.Systray1->icon()->toolTip(), noSound);
}

using ExitButton = DeckTest;

// "Sair" runs the window's exit: the question, then on OK the decks stop and the settings are
// written; on Cancel the window stays and the deck plays on.
TEST_F(ExitButton, SairRunsTheExitBothWays)
{
    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        Deck& a = freshDeck(1);
        QFile::remove(h.dataFile("VOLTARIA4.INI"));
        h.dialogs.confirmAnswers = {ok};
        h.click("bitbtn11");
        EXPECT_EQ(h.dialogs.texts(), QStringList{"Deseja Sair do Arvesto Voltaria ??"});
        EXPECT_EQ(w->isVisible(), !ok);
        EXPECT_EQ(a.channel->Playing, !ok);
        EXPECT_EQ(QFile::exists(h.dataFile("VOLTARIA4.INI")), ok);
    }
}

namespace {

// Presses F1 and, while the box it opens is up, lets `look` see it and then clicks its OK.
// A box that OK does not close is closed instead of hanging the test. Returns the box, which
// is null again once it was destroyed.
QPointer<Tform_about> openAbout(test::Harness& h, const std::function<void(Tform_about&)>& look)
{
    QPointer<Tform_about> seen;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<Tform_about*>(modal);
        if (box && box == seen) {
            ADD_FAILURE() << "OK did not close the box";
            box->reject();
        } else if (box) {
            seen = box;
            look(*box);
            QTest::mouseClick(box->OKButton, Qt::LeftButton);
        } else if (modal) {
            ADD_FAILURE() << "another modal window came up";
            modal->close();
        }
    });
    watcher.start();
    h.key(Qt::Key_F1);
    watcher.stop();
    return seen;
}

} // namespace

// F1 opens a fresh borderless box centred on the screen at each opening, with its credits
// starting again from the bottom; the box is gone once OK closed it.
TEST(AboutBox, F1OpensAFreshBoxEachTime)
{
    test::Harness h;
    h.create();
    h.show();
    bool opened = false;
    QPointer<Tform_about> first = openAbout(h, [&](Tform_about& box) {
        opened = true;
        EXPECT_EQ(box.size(), QSize(535, 318));
        EXPECT_EQ(box.pos(), QPoint((1024 - 535) / 2, (768 - 318) / 2));
        EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(box.isModal());
        EXPECT_TRUE(box.Timer1->isActive());
        EXPECT_GE(box.sistemas->y(), box.Panel3->height() - 2);
        for (int i = 0; i < 50; ++i)
            box.Timer1Timer();
        EXPECT_LE(box.sistemas->y(), box.Panel3->height() - 50);
    });
    EXPECT_TRUE(opened) << "F1 opened no about box";
    EXPECT_TRUE(first.isNull()) << "the box outlived its closing";
    opened = false;
    openAbout(h, [&](Tform_about& box) {
        opened = true;
        EXPECT_GE(box.sistemas->y(), box.Panel3->height() - 2);
    });
    EXPECT_TRUE(opened) << "the second F1 opened no about box";
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
}

// The box's texts, and the credits' turn: each moves up a pixel a step and re-enters at its
// own spacing below "sistemas" wherever that stands. Catches a re-entry at the wrong spacing,
// one at top 2 or 0 instead of 1, and credits that drift apart after a turn.
TEST(AboutBox, CreditsScrollUpAndReenterAtTheirSpacings)
{
    test::Harness h;
    Tform_about box;
    EXPECT_FALSE(box.Timer1->isActive()) << "a hidden box keeps its credits still";
    EXPECT_EQ(box.ProductName->text(), "Arvesto Voltaria");
    EXPECT_EQ(box.Version->text(), "Versão: 4.1");
    EXPECT_EQ(box.sistemas->text(), "Arvesto Sistemas de Áudio");
    for (LinkLabel* address : {box.Label1, box.Label2}) {
        EXPECT_EQ(address->text(), "www.arvesto.example");
        EXPECT_EQ(address->toolTip(), "Atualize seu software");
        EXPECT_TRUE(address->font().underline());
        EXPECT_EQ(address->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(box.OKButton->text(), "OK");
    EXPECT_TRUE(box.OKButton->isDefault());
    EXPECT_EQ(box.Timer1->interval(), 100);
    ASSERT_EQ(box.Panel3->height(), 260);

    const struct {
        int steps;
        int sistemas, cidade, site, edition;
    } cases[] = {
        {0, 260, 290, 330, 370},   {1, 259, 289, 329, 369},   {259, 1, 31, 71, 111},
        {260, 259, 30, 70, 110},   {289, 230, 1, 41, 81},     {290, 229, 259, 40, 80},
        {330, 189, 219, 259, 40},  {370, 149, 179, 219, 259}, {518, 1, 31, 71, 111},
        {519, 259, 30, 70, 110},
    };
    int done = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        for (; done < c.steps; ++done)
            box.Timer1Timer();
        EXPECT_EQ(box.sistemas->y(), c.sistemas);
        EXPECT_EQ(box.cidade->y(), c.cidade);
        EXPECT_EQ(box.Label2->y(), c.site);
        EXPECT_EQ(box.Label3->y(), c.edition);
    }
}

// The logo and both address labels open the maker's address; with no browser to answer,
// nothing is shown to the operator. Every paint sets the caption again.
TEST(Periphery, LogoAndAddressLabelsOpenTheAddressAndPaintsSetTheCaption)
{
    test::Harness h;
    Tform_mixer& w = h.create();
    // The status line as created, before its timer has run.
    EXPECT_EQ(w.Panel18->size(), QSize(394, 28));
    EXPECT_EQ(w.label5->size(), QSize(301, 25)); // twelve rows of LEDs: accents and descenders whole
    EXPECT_EQ(w.label5->text(), "Arvesto Voltaria-Pro IV   ");
    h.show();
    EXPECT_EQ(w.Image1->size(), QSize(398, 50));
    EXPECT_EQ(w.Image1->toolTip(), "VISITE NOSSO SITE:\r\nwww.arvesto.example");
    EXPECT_EQ(w.Image1->cursor().shape(), Qt::PointingHandCursor);
    Tform_about box(&w);
    {
        Browser browser;
        for (QLabel* label : {static_cast<QLabel*>(w.Image1), static_cast<QLabel*>(box.Label1),
                              static_cast<QLabel*>(box.Label2)})
            QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        EXPECT_EQ(browser.opened, QStringList(3, "http://www.arvesto.example"));
    }
    QTest::mouseClick(w.Image1, Qt::LeftButton, {}, w.Image1->rect().center());
    EXPECT_EQ(h.dialogs.texts(), QStringList{});

    w.setWindowTitle("outro");
    w.repaint();
    EXPECT_EQ(w.windowTitle(), productLine);
}

// Minimising hides the window behind the icon with its tip; only a double click brings the
// window back and removes the icon. Without a notification area the window just minimises.
TEST(Periphery, TrayIconStandsInForTheMinimisedWindow)
{
    for (bool tray : {true, false}) {
        SCOPED_TRACE(tray ? "tray" : "no tray");
        test::Harness h;
        Tform_mixer& w = h.create();
        h.show();
        TSystray& systray = *w.Systray1;
        systray.trayAvailable = [tray] { return tray; };
        QSystemTrayIcon& icon = *systray.icon();
        EXPECT_FALSE(icon.isVisible());

        w.showMinimized();
        QApplication::processEvents();
        EXPECT_EQ(icon.isVisible(), tray);
        EXPECT_EQ(w.isVisible(), !tray);
        if (!tray)
            continue;
        EXPECT_EQ(icon.toolTip(), "Arvesto Voltaria-Pro 4.0");
        for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context, QSystemTrayIcon::MiddleClick}) {
            emit icon.activated(reason);
            QApplication::processEvents();
            EXPECT_TRUE(icon.isVisible());
            EXPECT_FALSE(w.isVisible());
        }
        emit icon.activated(QSystemTrayIcon::DoubleClick);
        QApplication::processEvents();
        EXPECT_FALSE(icon.isVisible());
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(w.isMinimized());

        // Brought back by another start of the program instead: the icon goes too.
        w.showMinimized();
        QApplication::processEvents();
        ASSERT_TRUE(icon.isVisible());
        w.showRestoredInFront();
        QApplication::processEvents();
        EXPECT_FALSE(icon.isVisible());
        EXPECT_TRUE(w.isVisible());
    }
}

#include "periphery_test.moc"
