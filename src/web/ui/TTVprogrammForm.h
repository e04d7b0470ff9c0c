#pragma once
#include <QWidget>

class BrowserView;

// The TV programme window: one browser filling the window, pointed at the programme page of the
// channel last started. Closing only hides it, page and all.
class TTVprogrammForm : public QWidget {
    Q_OBJECT
public:
    explicit TTVprogrammForm(QWidget* mainWindow);
    // Makes the window visible (centred over the main window if it was hidden) and brings it to the front.
    void showWindow();

    // The programme page's view, which the channel dispatcher points at each channel's page.
    BrowserView* guideView() const { return WebBrowser1; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    BrowserView* WebBrowser1;
    QWidget* mainWindow_;
};
