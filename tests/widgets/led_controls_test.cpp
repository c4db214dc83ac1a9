// LED button, lamp, number panels and switch: the click order handlers rely on, silent
// setters, clamping and the change-only signals.
#include "widgets/LedButton.h"
#include "widgets/LedCounter.h"
#include "widgets/LedLamp.h"
#include "widgets/LedPanel.h"
#include "widgets/LedText.h"
#include "widgets/MultiSwitch.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Handlers of an LED button read its state to decide what the click means, so they must see
// the state from before the click; catches a flip done before clicked() is raised.
TEST(LedButton, ClickRaisesClickedWithTheOldStateThenFlips)
{
    for (const bool start : {false, true}) {
        for (const bool byMouse : {false, true}) {
            LedButton b(QStringLiteral("Auto Mix"));
            b.resize(b.sizeHint());
            b.show();
            b.setOn(start);
            std::vector<bool> seen;
            QObject::connect(&b, &LedButton::clicked, [&] { seen.push_back(b.isOn()); });
            if (byMouse)
                QTest::mouseClick(&b, Qt::LeftButton);
            else
                b.click();
            EXPECT_EQ(seen, std::vector<bool>{start}) << "start " << start << " mouse " << byMouse;
            EXPECT_EQ(b.isOn(), !start);
        }
    }
}

TEST(LedButton, SetOnIsSilentAndDisabledButtonIgnoresClicks)
{
    LedButton b;
    b.resize(b.sizeHint());
    b.show();
    QSignalSpy spy(&b, &LedButton::clicked);
    b.setOn(true);
    b.setOn(false);
    EXPECT_EQ(spy.count(), 0);

    b.setEnabled(false);
    b.click();
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_FALSE(b.isOn());

    // A right click is no operator click either.
    b.setEnabled(true);
    QTest::mouseClick(&b, Qt::RightButton);
    EXPECT_EQ(spy.count(), 0);
}

TEST(LedLamp, LeftClickWhileEnabledRaisesClickedAndLeavesTheLampAlone)
{
    LedLamp lamp;
    lamp.resize(lamp.sizeHint());
    lamp.show();
    QSignalSpy spy(&lamp, &LedLamp::clicked);
    QTest::mouseClick(&lamp, Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_FALSE(lamp.active());
    lamp.setEnabled(false);
    QTest::mouseClick(&lamp, Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
}

TEST(LedPanel, ClampsToItsRangeAndPadsWithZeros)
{
    struct Case {
        int value;
        int digits;
        int expected;
        const char* shown;
    };
    const Case cases[] = {
        {0, 2, 0, "00"},   {7, 2, 7, "07"},     {59, 2, 59, "59"}, {100, 2, 100, "100"},
        {101, 2, 100, "100"}, {-1, 2, 0, "00"}, {7, 3, 7, "007"},
    };
    for (const Case& c : cases) {
        LedPanel panel;
        panel.setDigits(c.digits);
        panel.setValue(c.value);
        EXPECT_EQ(panel.value(), c.expected) << c.value;
        EXPECT_EQ(panel.displayText(), QString::fromLatin1(c.shown)) << c.value;
    }
}

TEST(LedPanel, NarrowingTheRangeClampsTheValueShown)
{
    LedPanel panel;
    panel.setValue(80);
    panel.setRange(0, 59);
    EXPECT_EQ(panel.value(), 59);
}

TEST(LedCounter, ShowsFiveDigitsOverZeroTo99999)
{
    LedCounter counter;
    EXPECT_EQ(counter.displayText(), QStringLiteral("00000"));
    counter.setValue(123);
    EXPECT_EQ(counter.displayText(), QStringLiteral("00123"));
    counter.setValue(123456);
    EXPECT_EQ(counter.value(), 99999);
}

TEST(MultiSwitch, SignalsOnlyWhenThePositionChanges)
{
    MultiSwitch sw;
    sw.setLabels({"1", "2", "3", "4"});
    QSignalSpy spy(&sw, &MultiSwitch::positionChanged);
    sw.setPosition(0); // already there
    sw.setPosition(2);
    sw.setPosition(2);
    sw.setPosition(9); // clamps to 3
    sw.setPosition(-4); // clamps to 0
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 2);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 3);
    EXPECT_EQ(spy.at(2).at(0).toInt(), 0);
}

TEST(MultiSwitch, ClickGoesToTheClickedPositionOrStepsOnWrapping)
{
    MultiSwitch sw;
    sw.setLabels({"1", "2", "3", "4"});
    sw.resize(40, 80);
    sw.show();
    const auto slotCentre = [&](int i) { return QPoint(20, 80 * i / 4 + 10); };
    ASSERT_EQ(sw.positionAt(slotCentre(2)), 2);

    QTest::mouseClick(&sw, Qt::LeftButton, {}, slotCentre(2));
    EXPECT_EQ(sw.position(), 2);
    QTest::mouseClick(&sw, Qt::LeftButton, {}, slotCentre(2)); // the current one: next
    EXPECT_EQ(sw.position(), 3);
    QTest::mouseClick(&sw, Qt::LeftButton, {}, slotCentre(3)); // past the last: wraps
    EXPECT_EQ(sw.position(), 0);
}

} // namespace
