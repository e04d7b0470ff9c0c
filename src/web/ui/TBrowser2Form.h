#pragma once
#include "web/ui/PartnerForm.h"

class BrowserView;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The partner window whose site wants a log-in: a cropped browser view over a strip where the
// user types a login and a password and has them filled into the page's form.
class TBrowser2Form : public PartnerForm {
    Q_OBJECT
public:
    TBrowser2Form(WebView& mainView, QWidget* mainWindow);
    void openPage(const QString& url) override;

public slots:
    void sEdit1Click();
    void sEdit2Click();
    // Fills the page's "login" and "pass" fields and clicks every submit; errors propagate.
    void sBitBtn1Click();

protected:
    void blankView() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls (objectName = member name).
    BrowserView* SeeTVWebBrowser;
    QFrame* sPanel1;
    QLabel* sLabel1;
    QLineEdit* sEdit1;
    QLabel* sLabel2;
    QLineEdit* sEdit2;
    QPushButton* sBitBtn1;
};
