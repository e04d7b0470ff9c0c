#pragma once
#include <QWidget>

// The closed-section code prompt: created hidden at start-up with its fixed client size; its controls come
// later.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* mainWindow);

private:
    QWidget* mainWindow_;
};
