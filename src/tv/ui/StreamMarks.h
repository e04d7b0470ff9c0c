#pragma once
#include <QObject>
#include <QString>

#include <vector>

class QAbstractButton;
class QWidget;
class StreamLookup;

// A small dot in the corner of each channel button whose caption has a stream to play; the
// button's caption and place stay as they are, its tooltip and accessible description say it.
class StreamMarks : public QObject {
    Q_OBJECT
public:
    StreamMarks(std::vector<QAbstractButton*> buttons, const StreamLookup& streams, QString markText,
                QObject* parent = nullptr);

    void refreshAll();
    void refresh(int index); // 0-based, in the order given
    bool marked(int index) const;

private:
    std::vector<QAbstractButton*> buttons_;
    std::vector<QWidget*> dots_;
    const StreamLookup& streams_;
    QString markText_;
};
