#pragma once
#include <QPushButton>

// A channel slot: a push button whose caption wraps onto two lines, because channel names are
// long for a 64 px button. The caption is drawn as given ("&" stays "&").
class SlotButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* e) override;
};
