#pragma once
#include "platform/MessageSink.h"

#include <QPointer>

class QWidget;

// A plain modal message box with an OK button, titled with the application's name. The box
// belongs to the window the user is working in (the active modal window, else the active
// window, else the fallback), so that it opens in front of that window whatever its stacking.
class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* fallbackOwner = nullptr) : fallbackOwner_(fallbackOwner) {}
    void setFallbackOwner(QWidget* owner) { fallbackOwner_ = owner; }
    void show(const QString& text) override;

    // The window a message shown now belongs to; null when there is none.
    static QWidget* ownerFor(QWidget* fallback);

private:
    QPointer<QWidget> fallbackOwner_;
};
