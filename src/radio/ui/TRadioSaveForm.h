#pragma once
#include <QWidget>

// The recording name prompt: created hidden at start-up with its fixed client size; its controls come later.
class TRadioSaveForm : public QWidget {
    Q_OBJECT
public:
    explicit TRadioSaveForm(QWidget* mainWindow);

private:
    QWidget* mainWindow_;
};
