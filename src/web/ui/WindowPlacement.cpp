#include "web/ui/WindowPlacement.h"

#include <QWidget>
#include <QWindow>

void SetUpSecondaryWindow(QWidget& window, QSize clientSize, Qt::WindowFlags extraButtons) {
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | extraButtons);
    window.setFixedSize(clientSize);
    window.setWindowTitle(QString());
    window.setAttribute(Qt::WA_QuitOnClose, false);
}

void PlaceOverMainWindow(QWidget& window, const QWidget* mainWindow) {
    if (!mainWindow)
        return;
    const QWidget* main = mainWindow->window();
    QRect client(QPoint(), window.size());
    client.moveCenter(main->geometry().center());
    window.setGeometry(client); // client coordinates, whatever the frame
    if (window.windowHandle() && main->windowHandle())
        window.windowHandle()->setTransientParent(main->windowHandle());
}

void ShowInFront(QWidget& window) {
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}
