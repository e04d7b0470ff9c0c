#pragma once
#include <QString>

// A plain modal message with an OK button.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void show(const QString& text) = 0;
};
