#pragma once
#include <QObject>

class QWidget;

// Screen readers announce a button by its caption; a button that shows only a picture has none.
// Such buttons are named after their hint, and renamed whenever the hint changes (the language
// pack replaces the hints at start-up).
class AccessibleNames : public QObject {
    Q_OBJECT
public:
    explicit AccessibleNames(QObject* parent = nullptr);
    // Names every picture-only button inside the window (and those added to it later are not
    // seen: call again for them).
    void nameButtonsOf(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
