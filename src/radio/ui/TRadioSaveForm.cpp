#include "radio/ui/TRadioSaveForm.h"

TRadioSaveForm::TRadioSaveForm(QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("RadioSaveForm"));
    setWindowTitle(QString());
    setFixedSize(230, 109);
}
