#include "platform/ui/MessageBoxSink.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxSink::show(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent_);
    box.setTextFormat(Qt::PlainText);
    // A message shown while the main window is hidden (mini radio, tray) must not end the program.
    box.setAttribute(Qt::WA_QuitOnClose, false);
    box.exec();
}
