#pragma once
#include "web/ui/PartnerForm.h"

#include <QRect>

class ChromiumView;

// A partner window showing one Chromium view, larger than the window and shifted up and left so
// that only the region around the partner's player shows.
class ChromiumPartnerForm : public PartnerForm {
    Q_OBJECT
public:
    void openPage(const QString& url) override;

protected:
    // viewGeometry: where the view sits in the window's client area (the crop).
    ChromiumPartnerForm(WebView& mainView, QWidget* mainWindow, QString titlePath, QSize clientSize,
                        Qt::WindowFlags extraButtons, const QString& formName, QRect viewGeometry);
    void blankView() override;

private:
    ChromiumView* Chromium1; // objectName = member name
};
