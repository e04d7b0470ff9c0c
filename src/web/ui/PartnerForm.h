#pragma once
#include "navigation/ChannelDispatcher.h"

#include <QString>
#include <QWidget>

class WebView;

// A partner-site window: shows a cropped region of the partner page in its own view. Going from
// hidden to visible it points the main view at its title page; closing blanks its view (stopping
// the partner's player) and hides it. Never destroyed before the program ends.
class PartnerForm : public QWidget, public PartnerWindow {
    Q_OBJECT
public:
    void showWindow() override;

protected:
    PartnerForm(WebView& mainView, QWidget* mainWindow, QString titlePath, QSize clientSize,
                Qt::WindowFlags extraButtons);
    // The window's own view loads or navigates to "about:blank".
    virtual void blankView() = 0;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormShow();
    void FormClose();
    WebView& mainView_;
    QWidget* mainWindow_;
    QString titlePath_;
};
