#pragma once
#include <QWidget>

// The mini radio window: created hidden at start-up with its fixed client size; its controls come later.
class TRadioForm : public QWidget {
    Q_OBJECT
public:
    explicit TRadioForm(QWidget* mainWindow);

private:
    QWidget* mainWindow_;
};
