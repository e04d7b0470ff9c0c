#include "platform/ui/MessageBoxSink.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxSink::show(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
