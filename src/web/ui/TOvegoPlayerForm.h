#pragma once
#include "web/ui/ChromiumPartnerForm.h"

// The Ovego partner window: a Chromium view cropped to the region around the partner's player.
class TOvegoPlayerForm : public ChromiumPartnerForm {
    Q_OBJECT
public:
    TOvegoPlayerForm(WebView& mainView, QWidget* mainWindow);
};
