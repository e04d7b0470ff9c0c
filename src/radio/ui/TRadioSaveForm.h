#pragma once
#include "radio/ui/NamePrompt.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The recording name prompt. Created once and reused: its edit keeps whatever was typed last,
// confirmed or not; only OK hands the text on to the main window's record-name edit.
class TRadioSaveForm : public QDialog, public NamePrompt {
    Q_OBJECT
public:
    // recordName: the main window's hidden edit holding the recording name; mainWindow: the window
    // to centre on. Neither is owned.
    TRadioSaveForm(QLineEdit* recordName, QWidget* mainWindow, QWidget* parent = nullptr);

    bool confirmName() override;
    // The suggestion replaces what the edit holds; the folder text becomes the hint of the label
    // and the edit, and the folder itself the window's title.
    void prepare(const QString& suggestedName, const QString& folderText) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Controls (objectName = member name).
    QLabel* sLabel1;
    QLineEdit* sEdit1;
    QPushButton* sBitBtn1;
    QPushButton* sBitBtn2;

    void sBitBtn1Click();

    QString folderText_;
    QLineEdit* recordName_;
    QWidget* mainWindow_;
};
