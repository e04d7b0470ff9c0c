#pragma once
#include "platform/MessageSink.h"

class QWidget;

// A plain modal message box with an OK button, titled with the application's name.
class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}
    void show(const QString& text) override;

private:
    QWidget* parent_;
};
