// Media capture: the capture button walks the selected drive, or a folder chosen in the directory
// dialog, for the ticked audio types, shows what it found and writes it as the library file. A
// second click while it runs cancels it; the entries found so far are kept.
#include "app/UMIXER.h"

#include "app/dialogs.h"
#include "app/long_operation.h"
#include "app/paths.h"
#include "app/startup.h"
#include "base/textfile.h"
#include "library/VoltariaScan.h"
#include "library/drive_list.h"
#include "library/library_grid.h"
#include "library/time_slice.h"
#include "library/udir.h"
#include "widgets/LedButton.h"
#include "widgets/LedGauge.h"
#include "widgets/MultiSwitch.h"
#include "widgets/StringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>

namespace {

const QString captureCaption = QStringLiteral("Capturar");
const QString cancelCaption = QStringLiteral("Cancelar");

QList<library::DriveEntry> driveEntriesOf(const QComboBox& drives)
{
    QList<library::DriveEntry> entries;
    for (int i = 0; i < drives.count(); ++i)
        entries.append({drives.itemText(i), drives.itemData(i).toString()});
    return entries;
}

// The masks of the ticked type boxes, in the boxes' order.
QStringList tickedMasks(const Tform_mixer& w)
{
    const std::pair<QCheckBox*, const char*> boxes[] = {
        {w.Checkbox4, "*.mp3"}, {w.Checkbox3, "*.wav"}, {w.checkbox_wma, "*.wma"}, {w.Checkbox1, "*.ogg"}};
    QStringList masks;
    for (const auto& [box, mask] : boxes) {
        if (box->isChecked())
            masks.append(QString::fromLatin1(mask));
    }
    return masks;
}

// The folder the operator picks in the directory dialog, ending with "/"; empty when cancelled.
QString chooseFolder(Tform_mixer& w)
{
    const QString drive = w.raiz_drive();
    const QList<library::DriveEntry> drives = driveEntriesOf(*w.DriveComboBox1);
    // The dialog opens at the remembered folder only while it lies on the selected drive.
    if (w.pasta_captura.trimmed().isEmpty() || library::driveOf(drives, w.pasta_captura) != drive)
        w.pasta_captura = drive;
    if (!form_dir)
        return {};
    form_dir->driveRoots.clear();
    for (const library::DriveEntry& entry : drives)
        form_dir->driveRoots.append(entry.root);
    if (form_dir->exec() != QDialog::Accepted || form_dir->confirmado != 1)
        return {};
    QString folder = form_dir->pasta_escolhida.trimmed();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

void showResult(Tform_mixer& w)
{
    StringGrid& grid = *w.StringGrid1;
    grid.setEnabled(true);
    grid.setRowCount(2);
    grid.setFixedRows(1);
    library::showLibraryColumns(grid, {});
    library::writeLibraryHeader(grid);
    const QStringList& found = w.MixerScan1->SearchResult();
    // Finding nothing keeps the library file as it was.
    if (found.isEmpty())
        return;
    library::TimeSlice slice;
    library::showLibraryColumns(grid, library::columnsFromLines(found, slice));
    if (!textfile::writeFileLines(app::dataFile(library::libraryFileName), found))
        dialogs().message(QStringLiteral("Erro ao Salvar Lista de Músicas"));
    w.bitbtn21->setEnabled(true);
}

void capture(Tform_mixer& w)
{
    // Closing the window ends the capture as its Cancel does; the close follows.
    const app::LongOperation operation([&w] { w.MixerScan1->Stop(); });
    w.MixerScan1->xnivel = quint16((w.MMSwitch1->position() + 1) * 5);
    QString start = w.raiz_drive();
    if (!w.captura_geral->isOn()) {
        // An accepted dialog has set the scanner's depth and subfolder switch itself.
        start = chooseFolder(w);
        if (start.isEmpty()) {
            w.bitbtn13->setEnabled(true);
            w.carrega_lista();
            return;
        }
    }
    w.MixerScan1->FilePath = start;
    // The depth counts from the root of the drive the start folder lies on.
    const QString drive = library::driveOf(driveEntriesOf(*w.DriveComboBox1), start);
    w.MixerScan1->RootPath = drive.isEmpty() ? QStringLiteral("/") : drive;
    w.MixerScan1->SearchFilter = tickedMasks(w);

    w.Label33->setText(QStringLiteral("AGUARDE LOCALIZANDO MÍDIA..."));
    w.bitbtn13->setText(cancelCaption);
    w.CoolGauge1->hide();
    {
        const auto idleAgain = qScopeGuard([&w] {
            w.bitbtn13->setText(captureCaption);
            w.Label33->setText(QStringLiteral("Status"));
            w.CoolGauge1->show();
        });
        w.MixerScan1->Search();
    }
    showResult(w);
}

// Runs while the capture lets pending events through: the capture goes on with what it found.
void cancel(Tform_mixer& w)
{
    w.MixerScan1->Stop();
    dialogs().message(QStringLiteral("Captura Cancelada pelo usuário"));
    w.Label33->setText(QStringLiteral("status"));
    w.bitbtn13->setText(captureCaption);
}

} // namespace

QString Tform_mixer::raiz_drive() const
{
    const QString root = DriveComboBox1->currentData().toString();
    return library::rootFolder(root.isEmpty() ? QStringLiteral("/") : root);
}

void Tform_mixer::BitBtn13Click()
{
    if (bitbtn13->text() == cancelCaption)
        cancel(*this);
    else
        capture(*this);
}
