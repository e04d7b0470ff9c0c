#include "web/ui/WindowPlacement.h"

#include "platform/ui/OwnedWindow.h"

#include <QWidget>
#include <QWindow>

void SetUpSecondaryWindow(QWidget& window, QSize clientSize, Qt::WindowFlags extraButtons) {
    window.setWindowFlags(
        OwnedWindowFlags(Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | extraButtons));
    window.setFixedSize(clientSize);
    window.setWindowTitle(QString());
}

void PlaceOverMainWindow(QWidget& window, const QWidget* mainWindow) {
    if (!mainWindow)
        return;
    const QWidget* main = mainWindow->window();
    QRect client(QPoint(), window.size());
    client.moveCenter(main->geometry().center());
    window.setGeometry(client); // client coordinates, whatever the frame
}

void ShowInFront(QWidget& window) {
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}
