#include "app/ui/NoticeBar.h"

#include <QTimer>

NoticeBar::NoticeBar(QWidget* window, QWidget* over) : QLabel(window), over_(over) {
    setObjectName(QStringLiteral("NoticeBar"));
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("QLabel{background:#fff7d1;color:#222;border-top:1px solid #d8c66a;"
                                 "padding:2px 6px;font-size:11px}"));
    setCursor(Qt::PointingHandCursor);
    hideTimer_ = new QTimer(this);
    hideTimer_->setSingleShot(true);
    connect(hideTimer_, &QTimer::timeout, this, &QWidget::hide);
    hide();
}

void NoticeBar::showText(const QString& text) {
    const QRect area(over_->mapTo(parentWidget(), QPoint(0, 0)), over_->size());
    const int height = fontMetrics().height() + 8;
    setGeometry(area.left(), area.bottom() + 1 - height, area.width(), height);
    setText(fontMetrics().elidedText(text, Qt::ElideRight, area.width() - 14));
    setToolTip(text);
    setAccessibleName(text);
    raise();
    show();
    hideTimer_->start(ShownMs);
}

void NoticeBar::mousePressEvent(QMouseEvent*) {
    hide();
}
