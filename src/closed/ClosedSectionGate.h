#pragma once
#include "platform/LangLookup.h"

#include <QString>

#include <functional>

class MessageSink;

// The way into the closed section. It keeps no state: the code and whether it is asked for are
// read from their current source each time (unsaved edits in the settings window count).
class ClosedSectionGate {
public:
    struct Deps {
        std::function<QString()> code;          // the code as it stands now
        std::function<bool()> askForCode;       // whether the prompt is wanted now
        std::function<void()> showPrompt;       // show the prompt, or bring it forward
        std::function<void()> showClosedLayout; // put the closed channels into the grid
        MessageSink* messages = nullptr;
        LangLookup langText;
    };

    explicit ClosedSectionGate(Deps deps) : d_(std::move(deps)) {}

    // The closed-section button: the prompt when a code is asked for, the layout at once otherwise.
    void Open();
    // The prompt's OK: true when the entry equals the code exactly (the layout is then shown);
    // otherwise the wrong-code message is shown and false returned.
    bool Submit(const QString& entry);

private:
    Deps d_;
};
