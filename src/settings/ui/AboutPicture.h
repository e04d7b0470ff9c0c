#pragma once
#include <QLabel>
#include <QPixmap>
#include <QSize>

// The picture of the about tab: the program's logo, drawn rather than shipped as a file.
QPixmap AboutPicture(const QSize& size);

// A label that shows AboutPicture, drawn when the label is first shown: drawing it takes a large
// bold face the start-up has no other use for.
class AboutPictureLabel : public QLabel {
public:
    AboutPictureLabel(QSize pictureSize, QWidget* parent) : QLabel(parent), pictureSize_(pictureSize) {}

protected:
    void showEvent(QShowEvent* e) override;

private:
    QSize pictureSize_;
};
