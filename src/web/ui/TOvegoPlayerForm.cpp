#include "web/ui/TOvegoPlayerForm.h"

TOvegoPlayerForm::TOvegoPlayerForm(WebView& mainView, QWidget* mainWindow)
    : ChromiumPartnerForm(mainView, mainWindow, QStringLiteral("/title/2.4.html"), QSize(589, 398), {},
                          QStringLiteral("OvegoPlayerForm"), QRect(-275, -320, 900, 740)) {}
