#pragma once
#include "web/ui/PartnerForm.h"

class ChromiumView;

// The Ovego partner window: a Chromium view cropped to the region around the partner's player.
class TOvegoPlayerForm : public PartnerForm {
    Q_OBJECT
public:
    TOvegoPlayerForm(WebView& mainView, QWidget* mainWindow);
    void openPage(const QString& url) override;

    ChromiumView* Chromium1;

protected:
    void blankView() override;
};
