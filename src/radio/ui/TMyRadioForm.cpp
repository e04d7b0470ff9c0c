#include "radio/ui/TMyRadioForm.h"

TMyRadioForm::TMyRadioForm(QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("MyRadioForm"));
    setWindowTitle(QString());
    setFixedSize(229, 278);
}
