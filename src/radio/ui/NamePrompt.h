#pragma once

// Asks for the recording name. True when the user confirmed it; the confirmed name is then in the
// main window's record-name edit.
class NamePrompt {
public:
    virtual ~NamePrompt() = default;
    virtual bool confirmName() = 0;
};
