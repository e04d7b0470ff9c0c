#include "web/ui/TKorbinaForm.h"

#include "platform/ui/ChromiumView.h"

TKorbinaForm::TKorbinaForm(WebView& mainView, QWidget* mainWindow)
    : PartnerForm(mainView, mainWindow, QStringLiteral("/title/2.3.html"), QSize(714, 423),
                  Qt::WindowMinimizeButtonHint),
      Chromium1(new ChromiumView(this)) {
    setObjectName(QStringLiteral("KorbinaForm"));
    Chromium1->setObjectName(QStringLiteral("Chromium1"));
    // Larger than the window and shifted up and left: only the player's region of the page shows.
    Chromium1->setGeometry(-25, -215, 740, 660);
}

void TKorbinaForm::openPage(const QString& url) {
    Chromium1->load(url);
}

void TKorbinaForm::blankView() {
    Chromium1->load(QStringLiteral("about:blank"));
}
