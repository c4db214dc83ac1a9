// The library grid and its file: loading the grid from "lista.upd", removing one entry, and what
// start-up shows, also for a file another copy hands over.
#include "app/UMIXER.h"

#include "app/long_operation.h"
#include "app/paths.h"
#include "audio/TCorvoBass.h"
#include "base/path_bytes.h"
#include "base/textfile.h"
#include "library/library_file.h"
#include "library/library_grid.h"
#include "library/time_slice.h"
#include "widgets/StringGrid.h"

#include <QPushButton>

void Tform_mixer::abre_biblioteca()
{
    if (base::isFile(parametro.trimmed())) {
        BUSCA_PARAMETRO();
        return;
    }
    parametro.clear();
    carrega_lista();
}

void Tform_mixer::openFromOutside(const QString& commandLine)
{
    showRestoredInFront();
    if (!base::isFile(commandLine.trimmed()))
        return;
    // A capture, a search or a load fills the grids while it runs: the listing waits for its end.
    app::LongOperation::whenNoneRuns(this, [this, commandLine] {
        parametro = commandLine;
        // The listing is the library grid's; the file's preview replaces the one that plays.
        StringGrid2->hide();
        if (canal_00->Playing)
            BitBtn23Click();
        BUSCA_PARAMETRO();
    });
}

void Tform_mixer::carrega_lista()
{
    QStringList lines;
    // A missing or empty file leaves the grid as it was.
    if (!textfile::readFileLines(app::dataFile(library::libraryFileName), lines) || lines.isEmpty())
        return;
    library::writeLibraryHeader(*StringGrid1);
    library::TimeSlice slice;
    library::showLibraryColumns(*StringGrid1, library::columnsFromLines(lines, slice));
    for (QPushButton* button : {bitbtn14, bitbtn15, bitbtn21, bitbtn13})
        button->setEnabled(true);
}

void Tform_mixer::Excluir1Click()
{
    const QString file = app::dataFile(library::libraryFileName);
    QStringList lines;
    if (!textfile::readFileLines(file, lines))
        return;
    const int row = StringGrid1->Row();
    const library::LibraryEntry shown{StringGrid1->Cells(1, row), StringGrid1->Cells(2, row)};
    // A failed write is not reported: the grid is reloaded from the file as it then stands.
    if (library::removeEntryLine(lines, row, shown) && textfile::writeFileLines(file, lines) && lines.isEmpty()) {
        // The load leaves the grid alone for an empty file; the removed entry must not stay on show.
        library::showLibraryColumns(*StringGrid1, {});
    }
    carrega_lista();
}
