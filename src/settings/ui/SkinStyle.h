#pragma once
#include <QProxyStyle>

// The application style under every skin's style sheet. It draws the check box's indicator from
// the skin's palette, with a tick in whichever of black and white stands out more from the
// ticked box's fill, so the ticked state shows clearly in every skin. Everything else is the
// base style's.
class SkinStyle : public QProxyStyle {
    Q_OBJECT
public:
    SkinStyle();
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};
