#include "library/udir.h"

#include "library/VoltariaScan.h"

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// The directory capture walks at most this deep, whatever the level switch shows.
constexpr quint16 directoryCaptureDepth = 20;

QString withoutTrailingSlash(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

} // namespace

Tform_dir::Tform_dir(QString& pasta_captura, TVoltariaScan& scanner, Message message, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      pasta_captura_(pasta_captura), scanner_(scanner), message_(std::move(message)),
      folders_(new QFileSystemModel(this))
{
    setWindowTitle(QStringLiteral("Captura por Diretório"));
    setModal(true);
    resize(420, 440);

    panel1 = new QFrame(this);
    panel1->setFrameShape(QFrame::Panel);
    panel1->setFrameShadow(QFrame::Raised);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel1);

    Label1 = new QLabel(QStringLiteral("Selecione a Pasta Musical"), panel1);
    Checkbox1 = new QCheckBox(QStringLiteral("Incluir SubDiretórios"), panel1);
    Checkbox1->setChecked(true);

    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setRootPath(QStringLiteral("/"));
    Dir = new QTreeView(panel1);
    Dir->setModel(folders_);
    Dir->setHeaderHidden(true);
    for (int column = 1; column < folders_->columnCount(); ++column)
        Dir->hideColumn(column);
    // The folder highlighted with the arrow keys is chosen as a clicked one is.
    connect(Dir, &QTreeView::clicked, this, &Tform_dir::DirListBoxClick);
    connect(Dir->selectionModel(), &QItemSelectionModel::currentChanged, this, &Tform_dir::DirListBoxClick);

    bitbtn1 = new QPushButton(QStringLiteral("OK"), panel1);
    bitbtn2 = new QPushButton(QStringLiteral("Cancelar"), panel1);
    connect(bitbtn1, &QPushButton::clicked, this, &Tform_dir::BitBtn1Click);
    connect(bitbtn2, &QPushButton::clicked, this, &Tform_dir::BitBtn2Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Checkbox1);
    buttons->addStretch();
    buttons->addWidget(bitbtn1);
    buttons->addWidget(bitbtn2);
    auto* inner = new QVBoxLayout(panel1);
    inner->addWidget(Label1);
    inner->addWidget(Dir, 1);
    inner->addLayout(buttons);
}

QModelIndex Tform_dir::folderIndex(const QString& path) const
{
    return folders_->index(withoutTrailingSlash(QDir::cleanPath(path)));
}

void Tform_dir::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    FormShow();
}

void Tform_dir::FormShow()
{
    // A remembered folder that is gone leaves the list where it can be; nothing to report.
    const QModelIndex start = folderIndex(pasta_captura_.trimmed());
    Dir->setCurrentIndex(start.isValid() ? start : folders_->index(0, 0));
    Dir->scrollTo(Dir->currentIndex());
    Dir->expand(Dir->currentIndex());
    // Where the list opens is not a choice: OK needs a folder the operator moved to.
    pasta_escolhida.clear();
    confirmado = 0;
}

void Tform_dir::DirListBoxClick(const QModelIndex& index)
{
    pasta_escolhida = folders_->filePath(index);
}

bool Tform_dir::isRefused(const QString& folder) const
{
    if (folder.isEmpty())
        return true;
    const QString chosen = withoutTrailingSlash(folder);
    if (chosen == u"/")
        return true;
    for (const QString& root : driveRoots) {
        if (withoutTrailingSlash(root) == chosen)
            return true;
    }
    return false;
}

void Tform_dir::BitBtn1Click()
{
    if (isRefused(pasta_escolhida.trimmed())) {
        message_(QStringLiteral("Selecione uma Pasta"));
        return;
    }
    scanner_.SubDirectories = Checkbox1->isChecked();
    pasta_captura_ = pasta_escolhida;
    scanner_.xnivel = directoryCaptureDepth;
    confirmado = 1;
    accept();
}

void Tform_dir::BitBtn2Click()
{
    reject();
}
