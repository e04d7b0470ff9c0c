#include "tv/ui/StreamMarks.h"

#include "navigation/StreamLookup.h"
#include "platform/ui/ButtonCaption.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPainter>

namespace {

constexpr int kDot = 7;

// Paints the dot and keeps to the button's top right corner; clicks go through to the button.
class Dot : public QWidget {
public:
    explicit Dot(QAbstractButton* button) : QWidget(button) {
        setObjectName(QStringLiteral("StreamMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        resize(kDot, kDot);
        place();
        button->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize)
            place();
        return false;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x1d, 0x5e, 0x24), 1));
        p.setBrush(QColor(0x3c, 0xc8, 0x4b));
        p.drawEllipse(QRectF(0.5, 0.5, kDot - 1, kDot - 1));
    }

private:
    void place() { move(parentWidget()->width() - kDot - 3, 3); }
};

} // namespace

StreamMarks::StreamMarks(std::vector<QAbstractButton*> buttons, const StreamLookup& streams, QString markText,
                         QObject* parent)
    : QObject(parent), buttons_(std::move(buttons)), streams_(streams), markText_(std::move(markText)) {
    for (QAbstractButton* b : buttons_) {
        QWidget* dot = new Dot(b);
        dot->hide();
        dots_.push_back(dot);
    }
    refreshAll();
}

void StreamMarks::refreshAll() {
    for (int i = 0; i < int(buttons_.size()); ++i)
        refresh(i);
}

void StreamMarks::refresh(int index) {
    if (index < 0 || index >= int(buttons_.size()))
        return;
    QAbstractButton* b = buttons_[size_t(index)];
    const QString caption = ButtonCaption(b);
    const bool live = !caption.trimmed().isEmpty() && streams_.streamFor(caption).has_value();
    dots_[size_t(index)]->setVisible(live);
    if (live) {
        b->setToolTip(markText_);
        b->setAccessibleDescription(markText_);
    } else if (b->toolTip() == markText_) {
        b->setToolTip({});
        b->setAccessibleDescription({});
    }
}

bool StreamMarks::marked(int index) const {
    return index >= 0 && index < int(dots_.size()) && !dots_[size_t(index)]->isHidden();
}
