#include "platform/ui/FindControl.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

// Windows owned by a window carry controls of the same names (every prompt has its sEdit1); a
// control is found in its own window only, however the children are ordered.
class TestFindControl : public QObject {
    Q_OBJECT
private slots:
    void findsTheWindowsOwnControlNotAnOwnedWindows() {
        QWidget main;
        main.setObjectName(QStringLiteral("Form1"));
        // The owned window comes first among the children and holds a same-named control directly.
        auto* prompt = new QDialog(&main);
        auto* promptEdit = new QLineEdit(prompt);
        promptEdit->setObjectName(QStringLiteral("sEdit1"));
        auto* panel = new QFrame(&main);
        auto* ownEdit = new QLineEdit(panel);
        ownEdit->setObjectName(QStringLiteral("sEdit1"));

        QCOMPARE(FindControl<QLineEdit>(main, QStringLiteral("sEdit1")), ownEdit);
        QCOMPARE(FindControl<QLineEdit>(*prompt, QStringLiteral("sEdit1")), promptEdit);
        // Of the wrong type, or absent: none.
        QCOMPARE(FindControl<QFrame>(main, QStringLiteral("sEdit1")), nullptr);
        QCOMPARE(FindControl<QLineEdit>(main, QStringLiteral("sEdit2")), nullptr);
    }

    // A popup menu is a window of its own, yet the window's direct child: found by its name; its
    // actions are found from the menu.
    void menusAreFoundAndTheirActionsFromThem() {
        QWidget main;
        auto* menu = new QMenu(&main);
        menu->setObjectName(QStringLiteral("PopupMenu1"));
        QAction* add = menu->addAction(QStringLiteral("Добавить"));
        add->setObjectName(QStringLiteral("N1"));

        QCOMPARE(FindControl<QMenu>(main, QStringLiteral("PopupMenu1")), menu);
        QCOMPARE(FindControl<QAction>(main, QStringLiteral("N1")), nullptr);
        QCOMPARE(FindControl<QAction>(*menu, QStringLiteral("N1")), add);
    }
};

QTEST_MAIN(TestFindControl)
#include "test_find_control.moc"
