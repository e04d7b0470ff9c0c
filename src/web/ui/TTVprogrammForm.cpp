#include "web/ui/TTVprogrammForm.h"

#include "platform/ui/BrowserView.h"
#include "web/ui/WindowPlacement.h"

#include <QShowEvent>

TTVprogrammForm::TTVprogrammForm(QWidget* mainWindow)
    : QWidget(mainWindow), WebBrowser1(new BrowserView(this)), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("TVprogrammForm"));
    SetUpSecondaryWindow(*this, QSize(564, 477));
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(0, 0, 564, 477);
}

void TTVprogrammForm::showWindow() {
    ShowInFront(*this);
}

void TTVprogrammForm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!e->spontaneous())
        PlaceOverMainWindow(*this, mainWindow_);
}
