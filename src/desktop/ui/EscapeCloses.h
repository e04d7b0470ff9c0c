#pragma once
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

// Escape closes the listed windows the way their close box does: through close(), so that
// their own close handling runs.
class EscapeCloses : public QObject {
    Q_OBJECT
public:
    explicit EscapeCloses(QObject* parent = nullptr);
    ~EscapeCloses() override;
    void add(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QPointer<QWidget>> windows_;
};
