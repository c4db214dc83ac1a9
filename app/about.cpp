#include "app/about.h"

#include "app/paths.h"

#include <QLabel>
#include <QVBoxLayout>

Tform_about::Tform_about(QWidget* parent) : QDialog(parent)
{
    setObjectName("form_about");
    setWindowTitle("Sobre");
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("Arvesto Voltaria-Pro IV\nVisite: ") + QString::fromLatin1(app::webAddress), this);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
}
