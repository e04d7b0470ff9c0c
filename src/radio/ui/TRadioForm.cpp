#include "radio/ui/TRadioForm.h"

TRadioForm::TRadioForm(QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("RadioForm"));
    setWindowTitle(QString());
    setFixedSize(274, 37);
}
