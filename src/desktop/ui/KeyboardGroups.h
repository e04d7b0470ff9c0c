#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

// Keyboard reach for rows and grids of buttons that the mouse user sees as groups (a bar, a
// grid, a strip): Tab and Shift+Tab move from group to group, the arrow keys move inside a group
// to the nearest shown button in that direction, Enter and Space press. Members take focus from
// the keyboard only, so a mouse click leaves no mark behind.
//
// The focus mark is drawn by the skins for widgets whose property "keyFocus" is true; it is set
// while a member holds focus that came from the keyboard.
class KeyboardGroups : public QObject {
    Q_OBJECT
public:
    explicit KeyboardGroups(QObject* parent = nullptr);

    // Groups are visited by Tab in the order they were added. A member that is not a button
    // (a scroll bar) keeps its own arrow keys.
    void addGroup(const QList<QWidget*>& members);

    static constexpr const char* MarkProperty = "keyFocus";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Group {
        QList<QPointer<QWidget>> members;
        QPointer<QWidget> last; // the member that held focus last: Tab comes back to it
    };

    int groupOf(const QWidget* w) const;
    bool reachable(const QWidget* w) const;
    QWidget* entry(int group) const;
    QWidget* nextGroupEntry(int from, bool forward) const;
    QWidget* neighbour(const QWidget* from, int key) const;
    void moveFocus(QWidget* to, Qt::FocusReason reason);
    static void setMark(QWidget* w, bool on);

    std::vector<Group> groups_;
};
