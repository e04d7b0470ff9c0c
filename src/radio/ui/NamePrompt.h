#pragma once
#include <QString>

// Asks for the recording name. True when the user confirmed it; the confirmed name is then in the
// main window's record-name edit.
class NamePrompt {
public:
    virtual ~NamePrompt() = default;
    virtual bool confirmName() = 0;
    // Before the next confirmName(): the name to offer (empty keeps what the prompt shows) and the
    // sentence that names the folder the file goes to.
    virtual void prepare(const QString& suggestedName, const QString& folderText) {
        (void)suggestedName;
        (void)folderText;
    }
};
