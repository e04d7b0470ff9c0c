// Placeholder until the web layer lands: records requests only.
#include "platform/ui/BrowserView.h"

#include <stdexcept>

BrowserView::BrowserView(QWidget* parent) : QWidget(parent) {}
BrowserView::~BrowserView() = default;
void BrowserView::navigate(const QString& urlOrPath) {
    lastRequested_ = urlOrPath;
    pending_ = true;
}
QVariant BrowserView::runScript(const QString&, int) { throw std::runtime_error("No document"); }
void BrowserView::showEvent(QShowEvent* e) { QWidget::showEvent(e); }
void BrowserView::resizeEvent(QResizeEvent* e) { QWidget::resizeEvent(e); }
void BrowserView::serve() {}
