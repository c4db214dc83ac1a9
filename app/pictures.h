// The logo, drawn rather than shipped, shown by the main window and the about box.
// Main thread only.
#pragma once
#include <QPixmap>

namespace app {

QPixmap logoPicture(QSize size);

} // namespace app
