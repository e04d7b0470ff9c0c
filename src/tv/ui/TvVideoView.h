#pragma once
#include <QString>
#include <QWidget>

class TvScreen;

// The picture of the native TV, letter-boxed on black, with the stream's state written in the
// middle while there is no picture to show. Lies over another widget (the web view) and takes its
// exact rectangle; visible only while the TV is active.
class TvVideoView : public QWidget {
    Q_OBJECT
public:
    // Becomes a sibling of covered, stacked above it.
    TvVideoView(TvScreen& screen, QWidget* covered);

    // What the view writes over the picture area; empty while pictures arrive.
    QString statusText() const;

    // In its place over the covered widget, as opposed to moved into a window of its own (full
    // screen), where it fills that window.
    bool docked() const { return parentWidget() == covered_->parentWidget(); }
    // Back over the covered widget, shown if the TV is active.
    void dock();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void follow();
    void announceStatus();
    // The view's size in device pixels: what the player scales the pictures to.
    QSize viewPixels() const;
    TvScreen& screen_;
    QWidget* covered_;
};
