// Placeholder until the web layer lands: records requests only.
#include "platform/ui/ChromiumView.h"

ChromiumView::ChromiumView(QWidget* parent) : QWidget(parent) {}
ChromiumView::~ChromiumView() = default;
void ChromiumView::load(const QString& urlOrPath) {
    lastRequested_ = urlOrPath;
    pending_ = true;
}
void ChromiumView::showEvent(QShowEvent* e) { QWidget::showEvent(e); }
void ChromiumView::resizeEvent(QResizeEvent* e) { QWidget::resizeEvent(e); }
void ChromiumView::serve() {}
