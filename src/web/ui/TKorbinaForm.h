#pragma once
#include "web/ui/ChromiumPartnerForm.h"

// The Korbina partner window: a Chromium view cropped to the region around the partner's player.
class TKorbinaForm : public ChromiumPartnerForm {
    Q_OBJECT
public:
    TKorbinaForm(WebView& mainView, QWidget* mainWindow);
};
