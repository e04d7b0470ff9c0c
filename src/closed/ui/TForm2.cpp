#include "closed/ui/TForm2.h"

TForm2::TForm2(QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString());
    setFixedSize(341, 148);
}
