// The about box, created hidden at start-up and shown from the window menu. Main thread only.
#pragma once
#include <QDialog>

class Tform_about : public QDialog
{
    Q_OBJECT

public:
    explicit Tform_about(QWidget* parent = nullptr);
};
