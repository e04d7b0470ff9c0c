#include "web/ui/TOvegoPlayerForm.h"

#include "platform/ui/ChromiumView.h"

TOvegoPlayerForm::TOvegoPlayerForm(WebView& mainView, QWidget* mainWindow)
    : PartnerForm(mainView, mainWindow, QStringLiteral("/title/2.4.html"), QSize(589, 398), {}),
      Chromium1(new ChromiumView(this)) {
    setObjectName(QStringLiteral("OvegoPlayerForm"));
    Chromium1->setObjectName(QStringLiteral("Chromium1"));
    // Larger than the window and shifted up and left: only the player's region of the page shows.
    Chromium1->setGeometry(-275, -320, 900, 740);
}

void TOvegoPlayerForm::openPage(const QString& url) {
    Chromium1->load(url);
}

void TOvegoPlayerForm::blankView() {
    Chromium1->load(QStringLiteral("about:blank"));
}
