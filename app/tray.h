// The notification-area icon that stands in for the main window while it is minimised:
// minimising hides the window and shows the icon; a double click on the icon brings the window
// back and removes the icon; single clicks do nothing. Where the desktop offers no notification
// area the window minimises as any other. Main thread only.
#pragma once
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

class TSystray : public QObject
{
    Q_OBJECT

public:
    // Watches `window`'s minimise and restore; the icon carries `hint` as its tip.
    TSystray(QWidget* window, const QString& hint);

    // Whether the desktop offers a notification area; a test may answer for it.
    std::function<bool()> trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable;

    QSystemTrayIcon* icon() const { return icon_; }

    // A warning the tip shows in place of the hint while it is not empty.
    void setAlert(const QString& alert);

    // The window was minimised: the icon replaces its taskbar button.
    void AppMinimize();
    // The window was restored, by the icon or otherwise: the icon goes away.
    void AppRestore();
    void DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QSystemTrayIcon* icon_;
    const QString hint_;
};
