#include "common/Control.h"
#include "favorites/ui/TFavoriteForm.h"
#include "platform/MessageSink.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
class RecordingSink : public MessageSink {
public:
    void show(const QString& text) override { texts << text; }
    QStringList texts;
};

const QString kMissing = QStringLiteral("<missing>");
const QString kNoFavorite = QStringLiteral("Message/NoFavorite");

QString lang(const QString& section, const QString& key) {
    return section + u'/' + key;
}
} // namespace

class TestFavoriteForm : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsFile> store_;
    RecordingSink sink_;
    QStringList opened_;

    QString path() const { return dir_->filePath(QStringLiteral("Setting.ini")); }
    // What a fresh reader finds in the file for slot k.
    QString stored(int slot) const {
        return SettingsFile(path()).ReadString(QStringLiteral("Favorite"), FavoriteSlots::Key(slot),
                                               kMissing);
    }
    void preset(int slot, const QString& caption) {
        store_->WriteString(QStringLiteral("Favorite"), FavoriteSlots::Key(slot), caption);
    }
    std::unique_ptr<TFavoriteForm> makeForm() {
        return std::make_unique<TFavoriteForm>(
            *store_, [this](const QString& name) { opened_ << name; }, sink_, nullptr, &lang);
    }
    QByteArray fileBytes() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Opens PopupMenu2 on the button as a right click does, then chooses "Очистить".
    static void clearVia(TFavoriteForm& form, QPushButton* button) {
        QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(4, 4), button->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(button, &ev);
        QCOMPARE(form.popupButton(), button);
        Control<QAction>(*Control<QMenu>(form, "PopupMenu2"), "N1")->trigger();
        Control<QMenu>(form, "PopupMenu2")->hide();
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        store_ = std::make_unique<SettingsFile>(path());
        sink_.texts.clear();
        opened_.clear();
    }

    void keysRunFromFaToFx() {
        QCOMPARE(FavoriteSlots::Key(1), QStringLiteral("fa"));
        QCOMPARE(FavoriteSlots::Key(10), QStringLiteral("fj"));
        QCOMPARE(FavoriteSlots::Key(24), QStringLiteral("fx"));
    }

    void startUpFillKeepsGapsAndLayout() {
        preset(1, QStringLiteral("ОРТ"));
        preset(3, QStringLiteral("НТВ"));
        auto form = makeForm();
        QCOMPARE(form->slotButton(1)->text(), QStringLiteral("ОРТ"));
        QCOMPARE(form->slotButton(2)->text(), QString());
        QCOMPARE(form->slotButton(3)->text(), QStringLiteral("НТВ"));
        for (int k = 4; k <= 24; ++k)
            QVERIFY2(form->slotButton(k)->text().isEmpty(), qPrintable(QString::number(k)));

        QCOMPARE(form->size(), QSize(224, 388));
        QCOMPARE(form->slotButton(1)->geometry(), QRect(15, 8, 64, 38));
        QCOMPARE(form->slotButton(8)->geometry(), QRect(15, 288, 64, 38));
        QCOMPARE(form->slotButton(9)->geometry(), QRect(81, 8, 64, 38));
        QCOMPARE(form->slotButton(24)->geometry(), QRect(147, 288, 64, 38));
        QCOMPARE(Control<QPushButton>(*form, "sBitBtn25")->geometry(), QRect(81, 345, 64, 25));
        QVERIFY(Control<QPushButton>(*form, "sButton1")->isHidden());
        QCOMPARE(form->findChild<QPushButton*>(QStringLiteral("sBitBtn17")), form->slotButton(17));
    }

    void addFillsLowestFreeSlotWithoutDuplicateCheck() {
        auto form = makeForm();
        form->AddFavorite(QStringLiteral("ОРТ"));
        form->AddFavorite(QStringLiteral("ОРТ"));
        QCOMPARE(stored(1), QStringLiteral("ОРТ"));
        QCOMPARE(stored(2), QStringLiteral("ОРТ"));
        QCOMPARE(stored(3), kMissing);

        // A lone space takes a slot; a cleared slot is a gap that the next add fills.
        form->AddFavorite(QStringLiteral(" "));
        form->AddFavorite(QStringLiteral("НТВ"));
        clearVia(*form, form->slotButton(3));
        QCOMPARE(stored(3), QString());
        form->AddFavorite(QStringLiteral("Радио"));
        QCOMPARE(form->slotButton(3)->text(), QStringLiteral("Радио"));
        QCOMPARE(stored(3), QStringLiteral("Радио"));
        QCOMPARE(stored(4), QStringLiteral("НТВ"));
        QCOMPARE(stored(5), kMissing);
        QVERIFY(sink_.texts.isEmpty());
    }

    void lastFreeSlotAndFullStoreBothReport() {
        for (int k = 1; k <= 24; ++k)
            if (k != 17)
                preset(k, QStringLiteral("K%1").arg(k));
        auto form = makeForm();

        form->AddFavorite(QStringLiteral("Последний"));
        QCOMPARE(stored(17), QStringLiteral("Последний"));
        QCOMPARE(sink_.texts, QStringList{kNoFavorite});

        const QByteArray before = fileBytes();
        form->AddFavorite(QStringLiteral("Лишний"));
        QCOMPARE(fileBytes(), before);
        QCOMPARE(sink_.texts, (QStringList{kNoFavorite, kNoFavorite}));
        for (int k = 1; k <= 24; ++k)
            QVERIFY(form->slotButton(k)->text() != QStringLiteral("Лишний"));
    }

    void captionTravelsExactly_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        QTest::newRow("runs of spaces") << QStringLiteral("Радио   ULTRA") << QStringLiteral("Радио   ULTRA");
        QTest::newRow("ampersand") << QStringLiteral("Rock & Roll") << QStringLiteral("Rock && Roll");
        QTest::newRow("quotes, outer spaces")
            << QStringLiteral(" \"Муз\" 'ТВ'. ") << QStringLiteral(" \"Муз\" 'ТВ'. ");
        QTest::newRow("category caption") << QStringLiteral("Радио") << QStringLiteral("Радио");
    }

    // Stored, shown, reloaded at the next start and dispatched without a change.
    void captionTravelsExactly() {
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        {
            auto form = makeForm();
            form->AddFavorite(caption);
            QCOMPARE(form->slotButton(1)->text(), shown);
            QCOMPARE(stored(1), caption);
        }
        auto form = makeForm();
        QCOMPARE(form->slotButton(1)->text(), shown);
        QTest::mouseClick(form->slotButton(1), Qt::LeftButton);
        QCOMPARE(opened_, QStringList{caption});
    }

    void pickingOpensEachTimeAndKeepsWindowOpen() {
        preset(2, QStringLiteral("НТВ"));
        auto form = makeForm();
        form->show();
        QTest::mouseClick(form->slotButton(2), Qt::LeftButton);
        QTest::mouseClick(form->slotButton(2), Qt::LeftButton);
        QTest::mouseClick(form->slotButton(1), Qt::LeftButton);
        QCOMPARE(opened_, (QStringList{QStringLiteral("НТВ"), QStringLiteral("НТВ"), QString()}));
        QVERIFY(form->isVisible());
    }

    void clearingTouchesOnlyItsOwnSlot() {
        for (int k = 1; k <= 24; ++k)
            preset(k, QStringLiteral("K%1").arg(k));
        auto form = makeForm();

        clearVia(*form, form->slotButton(10));
        QCOMPARE(form->slotButton(10)->text(), QString());
        QCOMPARE(stored(10), QString()); // the key stays, empty
        for (int k = 1; k <= 24; ++k)
            if (k != 10) {
                QCOMPARE(form->slotButton(k)->text(), QStringLiteral("K%1").arg(k));
                QCOMPARE(stored(k), QStringLiteral("K%1").arg(k));
            }

        const QByteArray before = fileBytes();
        clearVia(*form, Control<QPushButton>(*form, "sBitBtn25"));
        QCOMPARE(fileBytes(), before);
        QCOMPARE(form->slotButton(11)->text(), QStringLiteral("K11"));

        form->AddFavorite(QStringLiteral("Новый"));
        QCOMPARE(stored(10), QStringLiteral("Новый"));
    }

    // A refused write propagates (the general error handling shows it), and the slot keeps and
    // shows its new caption for the run: what the button shows is what it opens.
    void refusedWriteKeepsCaptionOnScreen() {
        QFile blocker(dir_->filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsFile unwritable(dir_->filePath(QStringLiteral("blocker/Setting.ini")));
        TFavoriteForm form(
            unwritable, [this](const QString& name) { opened_ << name; }, sink_, nullptr, &lang);
        for (const QString& caption : {QStringLiteral("ОРТ"), QStringLiteral("НТВ")}) {
            bool refused = false;
            try {
                form.AddFavorite(caption);
            } catch (const SettingsWriteError&) {
                refused = true;
            }
            QVERIFY(refused);
        }
        QCOMPARE(form.slotButton(1)->text(), QStringLiteral("ОРТ"));
        QCOMPARE(form.slotButton(2)->text(), QStringLiteral("НТВ"));
        QTest::mouseClick(form.slotButton(1), Qt::LeftButton);
        QCOMPARE(opened_, QStringList{QStringLiteral("ОРТ")});
    }

    void closeHidesAndAddsStillLand() {
        auto form = makeForm();
        form->show();
        QTest::mouseClick(Control<QPushButton>(*form, "sBitBtn25"), Qt::LeftButton);
        QVERIFY(form->isHidden());
        form->AddFavorite(QStringLiteral("ОРТ"));
        form->show();
        QCOMPARE(form->slotButton(1)->text(), QStringLiteral("ОРТ"));
    }
};

QTEST_MAIN(TestFavoriteForm)
#include "test_favorite_form.moc"
