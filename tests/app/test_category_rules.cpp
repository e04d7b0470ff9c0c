#include "FakeGridSurface.h"

#include "navigation/CategoryRules.h"
#include "navigation/Layouts.h"
#include "navigation/SiteUrls.h"

#include <QTest>

using Part = GridSurface::StripPart;

namespace {
QList<int> range(int a, int b) {
    QList<int> r;
    for (int k = a; k <= b; ++k)
        r << k;
    return r;
}
QString zero(const QString&, const QString&) {
    return QStringLiteral("0");
}
} // namespace

class TestCategoryRules : public QObject {
    Q_OBJECT

    struct Grid {
        FakeGridSurface s;
        CategoryRules rules;
        explicit Grid(LangLookup lang = CategoryText) : rules(s, lang) { ApplyStartCaptions(s, lang); }
    };

private slots:
    void layouts_data() {
        QTest::addColumn<bool>("foreign");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("layout");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<bool>("strip");
        QTest::addColumn<QString>("slot1or4");

        const QStringList none;
        auto row = [&](const char* name, bool foreign, int button, LayoutId id, QList<int> shown,
                       QStringList headings, bool strip, const QString& first) {
            QTest::newRow(name) << foreign << button << int(id) << shown << headings << strip << first;
        };
        row("public", false, 1, LayoutId::Public, range(1, 30), none, false, "ОРТ");
        row("radio", false, 2, LayoutId::Radio, range(1, 24), none, true, "DFM");
        row("music", false, 3, LayoutId::Music, range(1, 30), none, false, "A-one");
        row("entertainment", false, 4, LayoutId::Entertainment, range(1, 27), none, false, "Деревня дураков");
        row("Research", false, 5, LayoutId::Research, range(1, 24), none, false, "Как это работает");
        row("Sport", false, 6, LayoutId::Sport, range(1, 24), none, false, "Россия 2");
        row("movie", false, 7, LayoutId::Movie, range(1, 24), none, false, "ТВ1000");
        row("Cartoons", false, 8, LayoutId::Cartoons, range(1, 24), none, false, "Барашек Шон");
        row("Records", false, 9, LayoutId::Records, range(1, 24), none, false, "Черный плащ");
        row("Ukrainian", true, 1, LayoutId::Ukrainian, range(1, 24), none, false, "4 TV");
        row("CISa", true, 2, LayoutId::CISa, range(4, 9) + range(13, 18) + range(22, 27),
            {"1:Грузия", "2:Казахстан", "3:Армения"}, false, "Rustavi 2");
        row("CISb", true, 3, LayoutId::CISb, range(4, 6) + range(13, 15), {"1:Азербайджан", "2:Беларусь"},
            false, "AzTV");
        row("Miscellaneous", true, 4, LayoutId::Miscellaneous, range(1, 19), none, false, "Первый Интернет");
    }

    // Every layout from a fresh start of its set: the slots it shows with its captions, the slots
    // it hides, its headings and the radio strip.
    void layouts() {
        QFETCH(bool, foreign);
        QFETCH(int, button);
        QFETCH(int, layout);
        QFETCH(QList<int>, shown);
        QFETCH(QStringList, headings);
        QFETCH(bool, strip);
        QFETCH(QString, slot1or4);

        Grid g;
        if (foreign)
            g.rules.click(44);
        g.rules.click(button);

        QCOMPARE(g.s.shownSlots(), shown);
        const SlotCaptions& captions = LayoutCaptions(static_cast<LayoutId>(layout));
        for (int k : shown)
            QCOMPARE(g.s.slotText[k - 1], captions[k - 1]);
        QCOMPARE(g.s.slotText[shown.first() - 1], slot1or4);
        QCOMPARE(g.s.shownHeadings(), headings);
        QCOMPARE(g.s.strip[Part::Panel], strip);
        QCOMPARE(g.s.strip[Part::VolumeBar], strip);
        QCOMPARE(g.s.strip[Part::Record], strip);
        QCOMPARE(g.s.strip[Part::RadioOff], strip);
        QCOMPARE(g.s.strip[Part::StopRecord], false);
    }

    void setSwitches() {
        Grid g;
        g.rules.click(3); // music first, so the switch visibly replaces it
        g.rules.click(44);
        QCOMPARE(g.s.shownCategories(), (QList<int>{1, 2, 3, 4, 45}));
        QCOMPARE(g.s.category[1], QStringLiteral("Украинские"));
        QCOMPARE(g.s.category[4], QStringLiteral("Разное & прочее"));
        QCOMPARE(g.s.shownSlots(), range(1, 24));
        QCOMPARE(g.s.slotText[1], QStringLiteral("ТВі"));

        g.rules.click(3); // CISb shows headings; going back must hide them again
        g.rules.click(45);
        QCOMPARE(g.s.shownCategories(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 44}));
        QCOMPARE(g.s.category[1], QStringLiteral("Общественные"));
        QCOMPARE(g.s.category[5], QStringLiteral("Научные"));
        QCOMPARE(g.s.shownSlots(), range(1, 30));
        QCOMPARE(g.s.slotText[29], QStringLiteral("ОТР "));
        QVERIFY(g.s.shownHeadings().isEmpty());
    }

    void radioStripHidesInOrderAndComesBackOfferingToRecord() {
        Grid g;
        g.rules.click(2);
        g.s.setStripPartVisible(Part::Record, false); // a recording runs: stop button showing
        g.s.setStripPartVisible(Part::StopRecord, true);
        g.rules.click(2);
        QVERIFY(g.s.strip[Part::Record]);
        QVERIFY(!g.s.strip[Part::StopRecord]);

        g.s.stripLog.clear();
        g.rules.click(6);
        const std::vector<std::pair<Part, bool>> expected{{Part::Panel, false},
                                                          {Part::VolumeBar, false},
                                                          {Part::Record, false},
                                                          {Part::StopRecord, false},
                                                          {Part::RadioOff, false}};
        QVERIFY(g.s.stripLog == expected);
    }

    void miscellaneousLoadsItsPageOnEveryClick() {
        Grid g;
        g.rules.click(44);
        g.rules.click(4);
        g.rules.click(4);
        const QString page = SiteUrls::Project(QStringLiteral("/title/2.4.html"));
        QCOMPARE(g.s.loads, (QStringList{page, page}));
    }

    void headingsComeBackFromCISbToCISa() {
        Grid g;
        g.rules.click(44);
        g.rules.click(3);
        g.rules.click(2);
        QCOMPARE(g.s.shownHeadings(), (QStringList{"1:Грузия", "2:Казахстан", "3:Армения"}));
    }

    void radioAfterClosedLayoutShowsAllStations() {
        Grid g;
        CategoryRules::ApplyCaptions(g.s, LayoutId::Closed, 1, 12);
        CategoryRules::SetSlotsVisible(g.s, 13, 30, false);
        g.rules.click(2);
        QCOMPARE(g.s.shownSlots(), range(1, 24));
        QCOMPARE(g.s.slotText[17], QStringLiteral("Retro "));
    }

    // Without a Category section every caption and every key read "0": both branches run.
    void missingCategorySection_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("layout");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<bool>("strip");
        QTest::addColumn<int>("loads");
        QTest::newRow("1: public captions, Ukrainian visibility")
            << 1 << int(LayoutId::Public) << range(1, 24) << false << 0;
        QTest::newRow("2: ends in CISa, strip left shown by radio")
            << 2 << int(LayoutId::CISa) << range(4, 9) + range(13, 18) + range(22, 27) << true << 0;
        QTest::newRow("3: ends in CISb")
            << 3 << int(LayoutId::CISb) << range(4, 6) + range(13, 15) << false << 0;
        QTest::newRow("4: ends in Miscellaneous")
            << 4 << int(LayoutId::Miscellaneous) << range(1, 19) << false << 1;
    }
    void missingCategorySection() {
        QFETCH(int, button);
        QFETCH(int, layout);
        QFETCH(QList<int>, shown);
        QFETCH(bool, strip);
        QFETCH(int, loads);
        Grid g(zero);
        g.rules.click(button);
        QCOMPARE(g.s.shownSlots(), shown);
        const SlotCaptions& captions = LayoutCaptions(static_cast<LayoutId>(layout));
        for (int k : shown)
            QCOMPARE(g.s.slotText[k - 1], captions[k - 1]);
        QCOMPARE(g.s.strip[Part::Panel], strip);
        QCOMPARE(g.s.loads.size(), loads);
    }

    // A caption that matches none of its handler's keys.
    void unmatchedCaption_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("allSlotsShown");
        QTest::addColumn<bool>("stripHidden");
        QTest::newRow("1 shows all, hides headings and strip") << 1 << true << true;
        QTest::newRow("2 changes nothing") << 2 << false << false;
        QTest::newRow("3 only hides the strip") << 3 << false << true;
        QTest::newRow("4 only hides the strip") << 4 << false << true;
        QTest::newRow("5 changes nothing") << 5 << false << false;
    }
    void unmatchedCaption() {
        QFETCH(int, button);
        QFETCH(bool, allSlotsShown);
        QFETCH(bool, stripHidden);
        Grid g;
        g.rules.click(44);
        g.rules.click(2); // CISa: headings, gaps in the grid
        g.s.setStripPartVisible(Part::Panel, true);
        g.s.setCategoryCaption(button, QStringLiteral("Общественные ")); // trailing space: no key
        const auto before = g.s.slotText;
        const QList<int> shownBefore = g.s.shownSlots();

        g.rules.click(button);
        QVERIFY(g.s.slotText == before);
        QCOMPARE(g.s.shownSlots(), allSlotsShown ? range(1, 30) : shownBefore);
        QCOMPARE(g.s.shownHeadings().isEmpty(), allSlotsShown);
        QCOMPARE(g.s.strip[Part::Panel], !stripHidden);
        QVERIFY(g.s.loads.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCategoryRules)
#include "test_category_rules.moc"
