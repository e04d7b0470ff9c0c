#include "web/ui/PartnerForm.h"

#include "navigation/SiteUrls.h"
#include "platform/WebView.h"
#include "web/ui/WindowPlacement.h"

#include <QCloseEvent>
#include <QShowEvent>

PartnerForm::PartnerForm(WebView& mainView, QWidget* mainWindow, QString titlePath, QSize clientSize,
                         Qt::WindowFlags extraButtons)
    : QWidget(mainWindow), mainView_(mainView), mainWindow_(mainWindow), titlePath_(std::move(titlePath)) {
    SetUpSecondaryWindow(*this, clientSize, extraButtons);
}

void PartnerForm::showWindow() {
    ShowInFront(*this);
}

void PartnerForm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Spontaneous shows come from the window system (e.g. a restore) and are no hidden-to-visible step.
    if (!e->spontaneous())
        FormShow();
}

void PartnerForm::closeEvent(QCloseEvent* e) {
    FormClose();
    e->accept(); // accepted close hides the window; it is not deleted
}

void PartnerForm::FormShow() {
    PlaceOverMainWindow(*this, mainWindow_);
    mainView_.load(SiteUrls::Project(titlePath_));
}

void PartnerForm::FormClose() {
    blankView();
}
