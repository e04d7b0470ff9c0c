#pragma once
class QWidget;

// Shows `window` application-modal and returns when it is hidden or destroyed. A QDialog runs its
// own exec(); any other window gets a local event loop.
void ShowModal(QWidget* window);
