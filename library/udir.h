// Tform_dir, the directory capture dialog: the operator picks the folder a directory capture starts
// from and whether its subfolders are walked; OK hands both to the capture's scanner. Created once
// and shown modally for each directory capture. Main thread.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;
class QFileSystemModel;
class QFrame;
class QLabel;
class QModelIndex;
class QPushButton;
class QTreeView;
class TVoltariaScan;

class Tform_dir : public QDialog {
    Q_OBJECT

public:
    using Message = std::function<void(const QString&)>;

    // pasta_captura and scanner belong to the main window; message shows a refusal to the operator.
    Tform_dir(QString& pasta_captura, TVoltariaScan& scanner, Message message, QWidget* parent = nullptr);

    // Roots of the drive list: choosing one of them is refused like "/" (a whole drive is captured
    // with "Captura Geral").
    QStringList driveRoots;

    QFrame* panel1;
    QLabel* Label1;
    QCheckBox* Checkbox1;
    QTreeView* Dir;
    QPushButton* bitbtn1;
    QPushButton* bitbtn2;

    QString pasta_escolhida;
    int confirmado = 0;

    void FormShow();
    void DirListBoxClick(const QModelIndex& index);
    void BitBtn1Click();
    void BitBtn2Click();

    // The folder list's entry for path, for the view and for tests clicking it.
    QModelIndex folderIndex(const QString& path) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool isRefused(const QString& folder) const;

    QString& pasta_captura_;
    TVoltariaScan& scanner_;
    Message message_;
    QFileSystemModel* folders_;
};
