// The library grid and its file: loading the grid from "lista.upd", removing one entry, and what
// start-up shows, also for a file another copy hands over.
#include "app/UMIXER.h"

#include "app/dialogs.h"
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
    library::LibraryColumns columns;
    library::TimeSlice slice;
    const library::LibraryRead read =
        library::readLibraryColumns(app::dataFile(library::libraryFileName), columns, slice);
    // A damaged file is told and left as it is, its good lines shown; the next capture replaces it.
    if (read == library::LibraryRead::Damaged || read == library::LibraryRead::TooBig)
        dialogs().notice(library::libraryLoadError);
    // A missing or empty file, or one without a line to show, leaves the grid as it was.
    if (columns.paths.isEmpty())
        return;
    library::writeLibraryHeader(*StringGrid1);
    library::showLibraryColumns(*StringGrid1, std::move(columns));
    for (QPushButton* button : {bitbtn14, bitbtn15, bitbtn21, bitbtn13})
        button->setEnabled(true);
}

void Tform_mixer::Excluir1Click()
{
    const QString file = app::dataFile(library::libraryFileName);
    QStringList lines;
    library::TimeSlice slice;
    // Written back, a damaged file would lose the lines the load left out.
    if (library::readLibraryLines(file, lines, slice) != library::LibraryRead::Read)
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
