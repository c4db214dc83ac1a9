// The library preview: listening to a library or search-result track on the preview channel
// canal_00, apart from the decks, with its level gauge, its buttons and the library grid's menu.
// Main thread only.
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/media_load.h"
#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "library/path_case.h"
#include "vis/meter_vis.h"
#include "widgets/LedGauge.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

namespace {

// Video files share the library's masks on some drives; the preview never loads them.
bool isVideo(const QString& path)
{
    const QString ending = path.right(3).toUpper();
    return ending == QLatin1String("AVI") || ending == QLatin1String("MPG");
}

} // namespace

void Tform_mixer::MenuItem6Click() { BitBtn21Click(); }
void Tform_mixer::MenuItem8Click() { BitBtn23Click(); }

void Tform_mixer::BitBtn21Click()
{
    if (canal_00->Playing)
        return;
    // In search mode the results grid stands where the library grid was.
    const bool searchMode = !StringGrid2->isHidden();
    const StringGrid* grid = searchMode ? StringGrid2 : StringGrid1;
    const QString path = grid->Cells(2, grid->Row());
    if (!searchMode && isVideo(path))
        return;

    canal_00->SetDevice(previewDevice());
    if (!carrega_midia(*canal_00, library::existingPathIgnoringCase(path)))
        return;
    canal_00->Play();
    bitbtn21->setEnabled(false);
    bitbtn23->setEnabled(true);
    CoolGauge1->setRange(0, 100);
    Timer4->start();
}

void Tform_mixer::BitBtn23Click()
{
    Timer4->stop();
    if (canal_00->Playing)
        canal_00->Stop();
    bitbtn21->setEnabled(true);
    bitbtn13->setEnabled(true);
    bitbtn23->setEnabled(false);
}

void Tform_mixer::Canal_00Stop(QObject*)
{
    Timer4->stop();
    MenuItem6->setEnabled(true);
    MenuItem8->setEnabled(false);
    Excluir1->setEnabled(true);
    bitbtn21->setEnabled(true);
    bitbtn23->setEnabled(false);
    for (QPushButton* button : {bitbtn21, bitbtn23, bITBTN24})
        button->setDown(false);
    CoolGauge1->setValue(0);
}

void Tform_mixer::Timer4Timer()
{
    if (!canal_00->Playing)
        return;
    // On the stack: twenty ticks a second touch no heap.
    TFFTBlock fft{};
    canal_00->GetFFT(fft.data());
    // The gauge clamps the meter's 0..114 to its own 0..100, as the decks' gauges do.
    CoolGauge1->setValue(meter_00->Level(fft, 0, 5));
}

void Tform_mixer::StringGrid1DblClick()
{
    if (StringGrid1->Cells(1, StringGrid1->Row()).isEmpty())
        return;
    if (canal_00->Playing)
        canal_00->Stop();
    BitBtn21Click();
}

void Tform_mixer::PopupMenu7Popup()
{
    MenuItem6->setEnabled(bitbtn21->isEnabled());
    MenuItem8->setEnabled(bitbtn23->isEnabled());
    // A library entry can be removed only while no preview plays.
    Excluir1->setEnabled(bitbtn21->isEnabled());
}
