#pragma once
#include <QDialog>

class QLabel;
class QPlainTextEdit;

// A fixed text asking for support, with the accounts to send it to. No behaviour of its own.
class TDonationForm : public QDialog {
    Q_OBJECT
public:
    explicit TDonationForm(QWidget* mainWindow);

protected:
    void showEvent(QShowEvent* e) override;

private:
    // Controls (objectName = member name).
    QLabel* sLabel1;
    QPlainTextEdit* sMemo1;

    QWidget* mainWindow_;
};
