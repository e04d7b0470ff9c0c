#pragma once
#include <QLabel>

class QTimer;

// One line of information over the bottom edge of a widget (the main view): not modal, it goes on
// a click or after a while.
class NoticeBar : public QLabel {
    Q_OBJECT
public:
    static constexpr int ShownMs = 30000;

    // Placed over `over`'s bottom edge, inside `window` (an ancestor of over).
    NoticeBar(QWidget* window, QWidget* over);
    void showText(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    QWidget* over_;
    QTimer* hideTimer_;
};
