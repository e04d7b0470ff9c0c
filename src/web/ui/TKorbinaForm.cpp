#include "web/ui/TKorbinaForm.h"

TKorbinaForm::TKorbinaForm(WebView& mainView, QWidget* mainWindow)
    : ChromiumPartnerForm(mainView, mainWindow, QStringLiteral("/title/2.3.html"), QSize(714, 423),
                          Qt::WindowMinimizeButtonHint, QStringLiteral("KorbinaForm"),
                          QRect(-25, -215, 740, 660)) {}
