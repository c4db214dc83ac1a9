// Creates the library's scanner, fills the drive list and connects the library's controls to
// their handlers.
#include "app/UMIXER.h"

#include "library/VoltariaScan.h"
#include "library/drive_list.h"
#include "library/event_hook.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

void Tform_mixer::connectLibraryHandlers()
{
    MixerScan1 = new TVoltariaScan(this);
    MixerScan1->setObjectName("MixerScan1");
    for (const library::DriveEntry& entry : library::driveEntries())
        DriveComboBox1->addItem(entry.text, entry.root);

    connect(bitbtn13, &QPushButton::clicked, this, &Tform_mixer::BitBtn13Click);
    connect(Excluir1, &QAction::triggered, this, &Tform_mixer::Excluir1Click);

    library::onEvents(edit1, [this](QEvent* event) {
        if (event->type() == QEvent::FocusIn) {
            // Coming back from a message box or a menu is not the operator entering the box.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                Edit1Enter();
        } else if (event->type() == QEvent::KeyPress) {
            const QChar typed = library::typedCharacter(*static_cast<QKeyEvent*>(event));
            if (!typed.isNull())
                Edit1KeyPress(typed);
        }
        return false;
    });
    library::onEvents(StringGrid2, [this](QEvent* event) {
        if (event->type() == QEvent::KeyPress) {
            const QChar typed = library::typedCharacter(*static_cast<QKeyEvent*>(event));
            if (!typed.isNull())
                StringGrid2KeyPress(typed);
        }
        return false;
    });
    // The grid still handles the key itself: arrows move the selection as usual.
    library::onEvents(StringGrid1, [this](QEvent* event) {
        if (event->type() == QEvent::KeyPress)
            StringGrid1KeyDown(static_cast<QKeyEvent*>(event)->key());
        return false;
    });
    connectPreviewHandlers();
}
