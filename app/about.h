// The about box: the product, its version and the maker's address on the left, the credits
// scrolling up on the right. Shown modally from the window menu (F1); destroyed when it closes.
// Main thread only.
#pragma once
#include <QDialog>

class LinkLabel;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

class Tform_about : public QDialog
{
    Q_OBJECT

public:
    explicit Tform_about(QWidget* parent = nullptr);

    // Left panel.
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    LinkLabel* Label1 = nullptr;
    QLabel* Image3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    // Right panel and its credits, in their scrolling order.
    QFrame* Panel3 = nullptr;
    QLabel* sistemas = nullptr;
    QLabel* cidade = nullptr;
    LinkLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* OKButton = nullptr;
    QTimer* Timer1 = nullptr;

    void FormCreate();
    // One step of the credits: each one at the top re-enters below, then all move up a pixel.
    void Timer1Timer();
    void Label1Click();
    void OKButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildBox();
};
