#include "../app/FakeGridSurface.h"
#include "closed/ClosedLayout.h"

#include <QtTest>

class TestClosedLayout : public QObject {
    Q_OBJECT
private slots:
    // Twelve captions into slots 1-12, everything else on the grid hidden, the rest of the window
    // exactly as the previous layout left it.
    void replacesOnlyTheGridAndHeadings() {
        FakeGridSurface grid;
        grid.category[1] = QStringLiteral("Назад");
        grid.categoryShown[45] = true;
        grid.headingShown = {true, true, false, true};
        grid.setStripPartVisible(GridSurface::StripPart::Panel, true);
        grid.setSlotVisible(5, false); // a slot the previous layout hid
        const auto categories = grid.category;
        const auto categoriesShown = grid.categoryShown;
        const auto headingText = grid.headingText;
        const auto strip = grid.strip;

        ShowClosedLayout(grid);

        const QStringList expected{"День студента", "Web TV",   "Miami TV",        "Latex",
                                   "Asia XXX",      "Playboy",  "Playboy-Classic", "Erotic TV",
                                   "Porno TV",      "Extra TV", "Fashion XXX",     "Bella Club"};
        for (int k = 1; k <= 12; ++k)
            QCOMPARE(grid.slotCaption(k), expected[k - 1]);
        QCOMPARE(grid.shownSlots(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        QCOMPARE(grid.slotCaption(13), QStringLiteral("placeholder 13")); // hidden, caption left
        QVERIFY(grid.shownHeadings().isEmpty());
        QCOMPARE(grid.headingText, headingText);
        QCOMPARE(grid.category, categories);
        QCOMPARE(grid.categoryShown, categoriesShown);
        QCOMPARE(grid.strip, strip);
        QVERIFY(grid.loads.isEmpty());
    }
};

QTEST_MAIN(TestClosedLayout)
#include "test_closed_layout.moc"
