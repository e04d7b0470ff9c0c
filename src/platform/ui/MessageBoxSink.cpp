#include "platform/ui/MessageBoxSink.h"

#include <QApplication>
#include <QMessageBox>

QWidget* MessageBoxSink::ownerFor(QWidget* fallback) {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return fallback ? fallback->window() : nullptr;
}

void MessageBoxSink::show(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    ownerFor(fallbackOwner_));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
