// The window's warning that nothing is heard, on the test sound server in real time: the status
// line's own timer and the engine's supervisor, as the operator meets them.
#include "sound_fixture.h"

#include "support/eventually.h"
#include "support/harness.h"

#include "app/tray.h"
#include "widgets/LedText.h"

#include <QListWidget>
#include <QPushButton>

using namespace soundtest;

// Catches a window that goes on scrolling its texts while the sound server is gone under a
// playing deck, and a warning that stays once the server is back.
TEST_F(SoundTest, StatusLineWarnsWhileTheServerIsGone)
{
    const QString file = tuneFile(30.0);
    const QString noSound = QString::fromUtf8("SEM SAÍDA DE SOM");
    test::Harness h{test::Harness::RealOutputs{}};
    h.writeDataFile("VOLTARIA4.INI", "PLACA_MUSICAS=Radio\r\nPLACA_CUE=Cue\r\n");
    Tform_mixer& w = h.create();
    h.show();
    w.ListBox1->addItem("TUNE.WAV");
    w.lista_a << file;
    w.ListBox1->setCurrentRow(0);
    w.ListBox1Click();
    w.bitbtn2->click();
    ASSERT_TRUE(w.canal_a->Playing);
    EXPECT_EVENTUALLY(w.label5->text() == "TUNE - 00:30", 5000);

    ASSERT_TRUE(server.stop());
    EXPECT_EVENTUALLY(w.label5->text() == noSound, 5000);
    EXPECT_EQ(w.Systray1->icon()->toolTip(), noSound);
    const int64_t position = w.canal_a->GetPosition();

    ASSERT_TRUE(server.start());
    EXPECT_EVENTUALLY(w.label5->text() == "TUNE - 00:30", 10000);
    EXPECT_EQ(w.Systray1->icon()->toolTip(), "Arvesto Voltaria-Pro 4.0");
    EXPECT_GT(w.canal_a->GetPosition(), position);
    EXPECT_TRUE(w.canal_a->Playing);
    w.bitbtn4->click();
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
}
