#include "web/ui/ChromiumPartnerForm.h"

#include "platform/ui/ChromiumView.h"

ChromiumPartnerForm::ChromiumPartnerForm(WebView& mainView, QWidget* mainWindow, QString titlePath,
                                         QSize clientSize, Qt::WindowFlags extraButtons,
                                         const QString& formName, QRect viewGeometry)
    : PartnerForm(mainView, mainWindow, std::move(titlePath), clientSize, extraButtons),
      Chromium1(new ChromiumView(this)) {
    setObjectName(formName);
    Chromium1->setObjectName(QStringLiteral("Chromium1"));
    Chromium1->setGeometry(viewGeometry);
}

void ChromiumPartnerForm::openPage(const QString& url) {
    Chromium1->load(url);
}

void ChromiumPartnerForm::blankView() {
    Chromium1->load(QStringLiteral("about:blank"));
}
