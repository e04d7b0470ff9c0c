#pragma once
#include <QWidget>

// The My Radio window: created hidden at start-up with its fixed client size; its controls come later.
class TMyRadioForm : public QWidget {
    Q_OBJECT
public:
    explicit TMyRadioForm(QWidget* mainWindow);

private:
    QWidget* mainWindow_;
};
