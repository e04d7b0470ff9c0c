#pragma once
#include <QWidget>

// The favourites window: created hidden at start-up with its fixed client size; its controls come later.
class TFavoriteForm : public QWidget {
    Q_OBJECT
public:
    explicit TFavoriteForm(QWidget* mainWindow);

private:
    QWidget* mainWindow_;
};
