#include "platform/ui/CentreOnWindow.h"

#include <QWidget>

void CentreOnWindow(QWidget* window, const QWidget* over) {
    if (!window || !over)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(over->frameGeometry().center());
    window->move(frame.topLeft());
}
