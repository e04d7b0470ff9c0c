#pragma once
#include <QFont>
#include <QPushButton>
#include <QSize>
#include <QString>

// The largest font, from `base` down to a floor of a few pixels, in which `text` fits `box`: on one
// line, or word-wrapped when `wrap` is set (no word may be split). Narrower faces of the same
// family are tried at each size before a smaller size. When nothing fits, the smallest candidate.
QFont FitCaptionFont(const QFont& base, const QString& text, QSize box, bool wrap);

// A push button of fixed size whose caption is always drawn whole: the font shrinks until the
// caption fits, so long channel and category names stay readable in small buttons. The caption
// is drawn as given ("&" stays "&"); set it with SetButtonCaption.
class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    explicit CaptionButton(bool wrap, QWidget* parent = nullptr) : QPushButton(parent), wrap_(wrap) {}

    // The area the caption is fitted into, inside the button's bevel.
    QRect captionRect() const;
    // The font the caption is drawn in at the current size.
    QFont captionFont() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    bool wrap_;
};
