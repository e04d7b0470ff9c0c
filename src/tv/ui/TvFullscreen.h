#pragma once
#include <QTimer>
#include <QWidget>

class TvScreen;
class TvVideoView;

// The TV picture on a whole screen: a window of its own on the main window's screen that takes
// the video view while it is on, and gives it back when it is left (Escape, a double-click, the
// TV stopping). The main window keeps its layout meanwhile. The pointer hides after two seconds
// without moving over the picture.
class TvFullscreen : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPointerHideMs = 2000;

    TvFullscreen(TvScreen& screen, TvVideoView& view, QWidget* mainWindow);
    ~TvFullscreen() override;

    bool isOn() const { return on_; }
    // Only while the TV plays.
    void enter();
    void leave();
    void toggle();

signals:
    void changed(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void pointerMoved();

    TvScreen& screen_;
    TvVideoView& view_;
    QWidget* mainWindow_;
    QTimer pointerIdle_;
    bool on_ = false;
};
