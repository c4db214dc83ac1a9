// Tform_config, the configuration dialog: the music and cue outputs, the default fade-out time
// and the ten shortcut clips. Built from the main window's values at each opening, shown
// modally and destroyed when it closes; device numbers and the fade time stay in memory until
// the exit writes them, the clips are stored at once. Main thread only.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <memory>

class FadePicture;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRubberBand;
class QSlider;
class Tform_mixer;

class Tform_config : public QDialog
{
    Q_OBJECT

public:
    explicit Tform_config(Tform_mixer& form_mixer);
    ~Tform_config() override;

    // ---- left panel: outputs and fade time
    QFrame* Panel1 = nullptr;
    QLabel *Label11 = nullptr, *Label12 = nullptr;
    QComboBox *ComboBox1 = nullptr, *ComboBox2 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label2 = nullptr;
    FadePicture* PaintBox1 = nullptr;
    QLabel* Label7 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QPushButton *BitBtn1 = nullptr, *BitBtn2 = nullptr;

    // ---- right panel: the clip page, row n for clip n + 1 (F2..F11)
    QFrame* Panel4 = nullptr;
    struct ClipRow {
        QPushButton* test = nullptr;   // BitBtn3..BitBtn11, BitBtn30: "F2".."F11"
        QLineEdit* path = nullptr;     // Edit1..Edit10
        QPushButton* browse = nullptr; // BitBtn12..BitBtn20, BitBtn31
        QPushButton* clear = nullptr;  // BitBtn21..BitBtn29, BitBtn32
    };
    std::array<ClipRow, 10> rows;

    // On once the operator picked an entry of either device list, the same one again included.
    bool device_alterado = false;
    // The file the chooser last accepted, or the row's text when it was cancelled.
    QString arquivo_escolhido;

    // The file chooser's filter: wave files first, then MP3, then every audio file.
    static const QString OpenDialog1Filter;

    void FormCreate();
    void FormShow();
    void FormPaint();
    void ComboBox1Click();
    void TrackBar1Change();
    void BitBtn1Click();
    void BitBtn2Click();
    void OpenDialog1CanClose(const QString& fileName);
    void Panel1MouseDown(QWidget* panel, QPoint point);
    void Panel1MouseMove(QWidget* panel, QPoint point);
    void Panel1MouseUp(QWidget* panel, QPoint point);

    // The clip page's buttons, for clip 1..10.
    void browseClip(int clip);
    void clearClip(int clip);
    void testClip(int clip);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildDevicePanel();
    void buildClipPage();
    void fillClipPage();
    void showClipPath(ClipRow& row, const QString& path);

    Tform_mixer& form_mixer_;
    bool shown_ = false;
    // The drag: on while the left button is held on a panel, from the press point (in panel
    // coordinates), with the outline where the dialog would land.
    bool dragging_ = false;
    QPoint pressPoint_;
    QRect outline_;
    std::unique_ptr<QRubberBand> outlineBand_;
};
