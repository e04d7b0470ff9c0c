#pragma once
#include <QTimer>
#include <QWidget>

// A short line over the bottom of the TV picture: the channel and what is on, shown for a few
// seconds after a channel change, then gone. Lies inside the video view and follows its size.
class ChannelLine : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMs = 4000;

    explicit ChannelLine(QWidget* video);

    // Shows text (one or two lines) for kShowMs from now.
    void showText(const QString& text);
    QString text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void place();

    QString text_;
    QTimer hideTimer_;
};
