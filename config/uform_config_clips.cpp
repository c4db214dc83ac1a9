// The configuration dialog's clip page: a row per clip with its path box, browse, clear and
// test buttons. The boxes are stored only by the dialog's OK.
#include "config/uform_config.h"

#include "app/UMIXER.h"
#include "app/dialogs.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {

QPushButton* rowButton(QWidget* parent, const QString& name, QRect rect, const QString& hint)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setGeometry(rect);
    button->setToolTip(hint);
    return button;
}

// The names of row n's test, browse and clear buttons, clip 10's breaking the sequence.
QString testName(int clip) { return QStringLiteral("BitBtn%1").arg(clip == 10 ? 30 : clip + 2); }
QString browseName(int clip) { return QStringLiteral("BitBtn%1").arg(clip == 10 ? 31 : clip + 11); }
QString clearName(int clip) { return QStringLiteral("BitBtn%1").arg(clip == 10 ? 32 : clip + 20); }

} // namespace

void Tform_config::buildClipPage()
{
    Panel4 = new QFrame(this);
    Panel4->setObjectName("Panel4");
    Panel4->setGeometry(354, 4, 420, 339);
    Panel4->setFrameStyle(QFrame::Panel | QFrame::Raised);
    for (int clip = 1; clip <= 10; ++clip) {
        ClipRow& row = rows[size_t(clip - 1)];
        const int top = 10 + (clip - 1) * 32;
        row.test = rowButton(Panel4, testName(clip), QRect(8, top, 46, 28), QString());
        row.test->setText(QStringLiteral("F%1").arg(clip + 1));
        row.path = new QLineEdit(Panel4);
        row.path->setObjectName(QStringLiteral("Edit%1").arg(clip));
        row.path->setGeometry(58, top + 2, 278, 24);
        row.path->setReadOnly(true);
        // Shown in upper case, kept as the file system spells it, so the stored path opens the
        // file where letter case matters.
        QFont upper = row.path->font();
        upper.setCapitalization(QFont::AllUppercase);
        row.path->setFont(upper);
        row.browse = rowButton(Panel4, browseName(clip), QRect(340, top, 34, 28),
                               QStringLiteral("Procurar Arquivo de Mídia"));
        row.browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
        row.clear = rowButton(Panel4, clearName(clip), QRect(378, top, 34, 28), QStringLiteral("Limpar"));
        row.clear->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
        connect(row.test, &QPushButton::clicked, this, [this, clip] { testClip(clip); });
        connect(row.browse, &QPushButton::clicked, this, [this, clip] { browseClip(clip); });
        connect(row.clear, &QPushButton::clicked, this, [this, clip] { clearClip(clip); });
    }
}

void Tform_config::fillClipPage()
{
    for (size_t clip = 0; clip < rows.size(); ++clip)
        showClipPath(rows[clip], form_mixer_.atalhos[clip]);
}

void Tform_config::showClipPath(ClipRow& row, const QString& path)
{
    row.path->setText(path);
    row.test->setEnabled(!path.isEmpty());
}

void Tform_config::browseClip(int clip)
{
    ClipRow& row = rows[size_t(clip - 1)];
    arquivo_escolhido = row.path->text();
    // The chooser opens at the row's file; a cancelled choice leaves arquivo_escolhido as it was.
    const QString chosen = dialogs().openFileName(QString(), arquivo_escolhido, OpenDialog1Filter);
    if (!chosen.isEmpty())
        OpenDialog1CanClose(chosen);
    showClipPath(row, arquivo_escolhido);
}

void Tform_config::OpenDialog1CanClose(const QString& fileName) { arquivo_escolhido = fileName; }

void Tform_config::clearClip(int clip) { showClipPath(rows[size_t(clip - 1)], QString()); }

// Heard on the clip channel before anything is stored, with the keys' play/stop rule.
void Tform_config::testClip(int clip) { form_mixer_.play_atalho(rows[size_t(clip - 1)].path->text(), clip); }
