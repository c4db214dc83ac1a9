// Connects the preview's buttons, timer and menu, and the library grids' mouse events, to their
// handlers.
#include "app/UMIXER.h"
#include "library/grid_drag.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

void Tform_mixer::connectPreviewHandlers()
{
    connect(bitbtn21, &QPushButton::clicked, this, [this] { BitBtn21Click(); });
    connect(bitbtn23, &QPushButton::clicked, this, [this] { BitBtn23Click(); });
    connect(bITBTN24, &QPushButton::clicked, this, [this] { BitBtn24Click(); });
    connect(MenuItem6, &QAction::triggered, this, [this] { MenuItem6Click(); });
    connect(MenuItem8, &QAction::triggered, this, [this] { MenuItem8Click(); });
    connect(PopupMenu7, &QMenu::aboutToShow, this, [this] { PopupMenu7Popup(); });
    connect(StringGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu7->popup(StringGrid1->viewport()->mapToGlobal(at)); });
    connect(Timer4, &QTimer::timeout, this, [this] { Timer4Timer(); });
    connect(StringGrid1, &StringGrid::rowChanged, this, [this] { StringGrid1Click(); });
    library::watchGridPresses(
        StringGrid1, [this](Qt::MouseButton button) { StringGrid1MouseDown(button); },
        [this] { StringGrid1DblClick(); });
    library::watchGridPresses(StringGrid2, [this](Qt::MouseButton button) { StringGrid2MouseDown(button); });
}
