#include "favorites/ui/TFavoriteForm.h"

TFavoriteForm::TFavoriteForm(QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("FavoriteForm"));
    setWindowTitle(QString());
    setFixedSize(224, 388);
}
