#include "desktop/ui/AccessibleNames.h"
#include "desktop/ui/EscapeCloses.h"
#include "desktop/ui/KeyboardGroups.h"
#include "radio/ui/VolumeBar.h"
#include "settings/ui/SkinManager.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {
// A window with a row of three buttons and a 3 x 3 grid whose middle is hidden.
struct Surface {
    QWidget window;
    QList<QPushButton*> row;
    QList<QPushButton*> grid;
    QPushButton* outside;

    Surface() {
        window.resize(400, 300);
        for (int i = 0; i < 3; ++i) {
            auto* b = new QPushButton(QStringLiteral("bar%1").arg(i), &window);
            b->setGeometry(10 + 60 * i, 10, 50, 25);
            row.append(b);
        }
        for (int k = 0; k < 9; ++k) {
            auto* b = new QPushButton(QStringLiteral("g%1").arg(k), &window);
            b->setGeometry(10 + 60 * (k % 3), 50 + 40 * (k / 3), 50, 30);
            grid.append(b);
        }
        grid[4]->hide();
        outside = new QPushButton(QStringLiteral("outside"), &window);
        outside->setGeometry(300, 250, 80, 25);
    }
};

QWidget* focusOf(Surface& s) {
    return s.window.focusWidget();
}

void press(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(w, Qt::Key(key), mods);
}
} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void arrowsTabAndEnter() {
        Surface s;
        KeyboardGroups groups;
        groups.addGroup({s.row[0], s.row[1], s.row[2]});
        groups.addGroup({s.grid.begin(), s.grid.end()});
        s.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        QCOMPARE(s.row[0]->focusPolicy(), Qt::TabFocus); // a mouse click leaves no focus behind

        s.grid[0]->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(focusOf(s), s.grid[0]);
        QVERIFY(s.grid[0]->property(KeyboardGroups::MarkProperty).toBool());
        // Along a row, down a column, around the hidden middle.
        const struct {
            int key;
            int to;
        } steps[] = {{Qt::Key_Right, 1}, {Qt::Key_Down, 7}, {Qt::Key_Up, 1},   {Qt::Key_Right, 2},
                     {Qt::Key_Down, 5},  {Qt::Key_Left, 3}, {Qt::Key_Left, 3}, {Qt::Key_Up, 0}};
        for (const auto& step : steps) {
            press(focusOf(s), step.key);
            QCOMPARE(focusOf(s), s.grid[step.to]);
        }
        QVERIFY(!s.grid[3]->property(KeyboardGroups::MarkProperty).toBool()); // mark follows focus
        QVERIFY(s.grid[0]->property(KeyboardGroups::MarkProperty).toBool());

        // Tab leaves the group for the next one and comes back to where it left.
        press(focusOf(s), Qt::Key_Tab);
        QCOMPARE(focusOf(s), s.row[0]);
        press(focusOf(s), Qt::Key_Right);
        QCOMPARE(focusOf(s), s.row[1]);
        press(focusOf(s), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focusOf(s), s.grid[0]);
        press(focusOf(s), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focusOf(s), s.row[1]);

        // Enter and Space press.
        QSignalSpy clicked(s.row[1], &QPushButton::clicked);
        press(s.row[1], Qt::Key_Return);
        QTRY_COMPARE(clicked.count(), 1);
        press(s.row[1], Qt::Key_Space);
        QTRY_COMPARE(clicked.count(), 2);

        // A group whose buttons are all hidden is passed over.
        for (QPushButton* b : s.row)
            b->hide();
        s.grid[8]->setFocus(Qt::TabFocusReason);
        press(s.grid[8], Qt::Key_Tab);
        QCOMPARE(focusOf(s), s.grid[8]);
    }

    // Focus that did not come from the keyboard (a click, the window being activated) shows no mark.
    void noMarkWithoutKeyboard() {
        Surface s;
        KeyboardGroups groups;
        groups.addGroup({s.row[0], s.row[1]});
        s.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.row[1]->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(focusOf(s), s.row[1]);
        QVERIFY(!s.row[1]->property(KeyboardGroups::MarkProperty).toBool());
    }

    // Every skin draws the mark on push buttons and tool buttons.
    void everySkinShowsTheMark() {
        QWidget window;
        window.resize(200, 100);
        auto* push = new QPushButton(QStringLiteral("Спорт"), &window);
        push->setGeometry(10, 10, 78, 28);
        auto* tool = new QToolButton(&window);
        tool->setGeometry(100, 10, 40, 40);
        tool->setAutoRaise(true);
        tool->setIcon(window.style()->standardIcon(QStyle::SP_DialogOkButton));
        tool->setIconSize(QSize(32, 32));
        window.show();
        SkinManager skins;
        QStringList without;
        for (const QString& name : SkinManager::Names()) {
            skins.apply(name);
            for (QWidget* w : {static_cast<QWidget*>(push), static_cast<QWidget*>(tool)}) {
                w->setProperty(KeyboardGroups::MarkProperty, false);
                w->style()->unpolish(w);
                w->style()->polish(w);
                const QImage plain = w->grab().toImage();
                w->setProperty(KeyboardGroups::MarkProperty, true);
                w->style()->unpolish(w);
                w->style()->polish(w);
                const QImage marked = w->grab().toImage();
                if (plain == marked)
                    without << name + QStringLiteral(" (") + w->metaObject()->className() + u')';
            }
        }
        QVERIFY2(without.isEmpty(), qPrintable(without.join(u", ")));
        qApp->setStyleSheet(QString());
    }

    // The volume bars: louder to the right and up, whatever a scroll bar does by default.
    void volumeBarKeysFollowTheBar() {
        QScrollBar bar(Qt::Horizontal);
        SetUpVolumeBar(bar);
        bar.setValue(50);
        const struct {
            Qt::Key key;
            int value;
        } steps[] = {{Qt::Key_Right, 51}, {Qt::Key_Up, 52}, {Qt::Key_Left, 51}, {Qt::Key_Down, 50},
                     {Qt::Key_End, 100}, {Qt::Key_Home, 0}};
        for (const auto& step : steps) {
            QTest::keyClick(&bar, step.key);
            QCOMPARE(bar.value(), step.value);
        }
    }

    // Menus and lists show the item under the keyboard in every skin.
    void everySkinHighlightsMenuItems() {
        QMenu menu;
        menu.addAction(QStringLiteral("Удалить радиостанцию"));
        menu.addAction(QStringLiteral("Кодировка названий песен"));
        SkinManager skins;
        QStringList without;
        for (const QString& name : SkinManager::Names()) {
            skins.apply(name);
            menu.setActiveAction(nullptr);
            menu.ensurePolished();
            const QImage plain = menu.grab().toImage();
            menu.setActiveAction(menu.actions().constFirst());
            const QImage marked = menu.grab().toImage();
            if (plain == marked)
                without << name;
        }
        QVERIFY2(without.isEmpty(), qPrintable(without.join(u", ")));
        qApp->setStyleSheet(QString());
    }

    void escapeClosesListedWindowsThroughClose() {
        struct Window : QWidget {
            int closes = 0;
            void closeEvent(QCloseEvent* e) override {
                ++closes;
                e->accept();
            }
        };
        Window listed;
        Window other;
        auto* inside = new QPushButton(&listed);
        new QPushButton(&other);
        EscapeCloses escape;
        escape.add(&listed);
        listed.show();
        other.show();
        QTest::keyClick(inside, Qt::Key_Escape);
        QCOMPARE(listed.closes, 1);
        QVERIFY(!listed.isVisible());
        QTest::keyClick(other.findChild<QPushButton*>(), Qt::Key_Escape);
        QCOMPARE(other.closes, 0);
        QVERIFY(other.isVisible());
    }

    void pictureButtonsNamedAfterTheirHint() {
        QWidget window;
        auto* picture = new QToolButton(&window);
        picture->setToolTip(QStringLiteral("Настройки"));
        auto* named = new QToolButton(&window);
        named->setAccessibleName(QStringLiteral("Поверх всех окон"));
        auto* captioned = new QPushButton(QStringLiteral("Спорт"), &window);
        AccessibleNames names;
        names.nameButtonsOf(&window);
        QCOMPARE(picture->accessibleName(), QStringLiteral("Настройки"));
        picture->setToolTip(QStringLiteral("Settings")); // the language pack replaces the hint
        QCOMPARE(picture->accessibleName(), QStringLiteral("Settings"));
        QCOMPARE(named->accessibleName(), QStringLiteral("Поверх всех окон"));
        QVERIFY(captioned->accessibleName().isEmpty()); // read from its caption
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
