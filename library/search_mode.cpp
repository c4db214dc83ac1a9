// Finding tracks: the substring search with its results grid laid over the library grid (search
// mode), the type-ahead on the library grid's keys, and the start-up listing of the folder of a
// file named on the command line.
#include "app/UMIXER.h"

#include "app/funcoes.h"
#include "base/path_bytes.h"
#include "library/library_grid.h"
#include "library/library_search.h"
#include "library/locale_text.h"
#include "library/time_slice.h"
#include "widgets/StringGrid.h"

#include <QHash>
#include <QLineEdit>

namespace {

constexpr QChar enterKey(13);
constexpr QChar escapeKey(27);
constexpr int nameLimit = 255;

library::DescriptionAt descriptionsOf(const StringGrid* grid)
{
    return [grid](int row) { return grid->Cells(1, row); };
}

// The library's rows copied whole, counter cell included, in their order.
std::vector<QStringList> copyRows(const StringGrid& grid, const QList<int>& rows)
{
    std::vector<QStringList> columns(3);
    for (int column = 0; column < 3; ++column) {
        columns[column].reserve(rows.size());
        for (int row : rows)
            columns[column].append(grid.Cells(column, row));
    }
    return columns;
}

// The folder's file names as the file system spells them (its bytes kept), by their upper-cased
// form, so the listing's paths name files that exist.
QHash<QString, QStringList> spellingsOf(const QString& folder)
{
    QHash<QString, QStringList> spellings;
    for (const QString& name : base::fileNames(folder))
        spellings[name.toUpper()].append(name);
    return spellings;
}

} // namespace

void Tform_mixer::Edit1Enter()
{
    edit1->clear();
    StringGrid2->hide();
}

void Tform_mixer::Edit1KeyPress(QChar key)
{
    StringGrid2->setRows({});
    StringGrid2->setRowCount(2);
    StringGrid2->setCells(1, 0, QStringLiteral("<ESC>-SAIR do modo Pesquisa"));
    if (key != enterKey || edit1->text().trimmed().isEmpty())
        return;

    library::TimeSlice slice;
    const QList<int> rows = library::findInDescriptions(StringGrid1->RowCount() - 1, descriptionsOf(StringGrid1),
                                                        library::searchNeedle(edit1->text()), slice);
    if (rows.isEmpty()) {
        mensagem(QStringLiteral("Nenhuma Ocorrência foi Encontrada !!"));
        // Back from the message as from any box: the operator is not entering the box anew, so
        // it keeps the text.
        edit1->setFocus(Qt::ActiveWindowFocusReason);
        return;
    }
    StringGrid2->setRows(copyRows(*StringGrid1, rows));
    StringGrid2->show();
    StringGrid2->setFocus();
}

void Tform_mixer::StringGrid2KeyPress(QChar key)
{
    if (key != escapeKey)
        return;
    // Back to the library grid; left to itself the focus could land in the search box and empty it.
    StringGrid1->setFocus();
    StringGrid2->hide();
}

void Tform_mixer::StringGrid1KeyDown(int key)
{
    const library::TypeAheadStep step =
        library::typeAheadKey(texto_busca, key, StringGrid1->Row(), StringGrid1->RowCount() - 1, descriptionsOf(StringGrid1));
    if (step.row > 0)
        StringGrid1->setRow(step.row);
    if (step.accepted)
        edit1->setText(texto_busca);
}

void Tform_mixer::BUSCA_PARAMETRO()
{
    const qsizetype nameStart = parametro.lastIndexOf(u'/') + 1;
    const QString folder = parametro.left(nameStart);
    arquivo_parametro = parametro.mid(nameStart).left(nameLimit);
    QStringList names;
    lista_arquivos(folder, QStringLiteral("*.*"), names);
    if (names.isEmpty())
        return;

    QHash<QString, QStringList> spellings = spellingsOf(folder.trimmed());
    const QString wanted = library::upperLocale(arquivo_parametro).trimmed();
    std::vector<QStringList> columns(3);
    int found = 0;
    for (qsizetype i = 0; i < names.size(); ++i) {
        QStringList& spelled = spellings[names[i]];
        const QString name = spelled.isEmpty() ? names[i] : spelled.takeFirst();
        columns[0].append(QString::number(i + 1));
        columns[1].append(library::upperLocale(base::displayName(names[i])));
        columns[2].append((folder + name).trimmed());
        if (library::upperLocale(names[i]).trimmed() == wanted)
            found = int(i) + 1;
    }
    // The counter column is hidden: the visible header cells get the library's texts, so the
    // header row does not show blank over the listing.
    library::writeLibraryHeader(*StringGrid1);
    StringGrid1->setCells(0, 0, QStringLiteral("Descrição das Músicas"));
    StringGrid1->setRows(std::move(columns));
    if (found > 0) {
        StringGrid1->setRow(found);
        BitBtn21Click();
        StringGrid1->setTopRow(found);
    }
}
