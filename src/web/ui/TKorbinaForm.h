#pragma once
#include "web/ui/PartnerForm.h"

class ChromiumView;

// The Korbina partner window: a Chromium view cropped to the region around the partner's player.
class TKorbinaForm : public PartnerForm {
    Q_OBJECT
public:
    TKorbinaForm(WebView& mainView, QWidget* mainWindow);
    void openPage(const QString& url) override;

    ChromiumView* Chromium1;

protected:
    void blankView() override;
};
