#pragma once
#include "closed/ClosedSectionGate.h"

#include <QDialog>

#include <functional>

class MessageSink;
class QLabel;
class QLineEdit;
class QPushButton;

// The closed-section code prompt. Not modal; there is one prompt for the whole run, closing it
// only hides it, and the entry keeps its text.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    struct Deps {
        std::function<QString()> code;          // the settings window's code field, as it stands
        std::function<bool()> askForCode;       // the settings window's ask-for-code box
        std::function<void()> showClosedLayout; // applies the closed layout to the main window
        MessageSink* messages = nullptr;
        LangLookup langText; // defaults to the shared pack
    };

    // Reads the prompt text from the language pack once, here.
    TForm2(Deps deps, QWidget* mainWindow);

public slots:
    // The main window's closed-section button.
    void OpenClosedSection();
    // Shows the prompt, or brings it forward when it is already up.
    void ShowPrompt();
    void sBitBtn1Click();

private:
    // Controls (objectName = member name).
    QLabel* sLabel1;
    QLineEdit* sEdit1;
    QPushButton* sBitBtn1;

    QWidget* mainWindow_;
    ClosedSectionGate gate_;
};
