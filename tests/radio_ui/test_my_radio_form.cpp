#include "RadioFakes.h"
#include "common/Control.h"
#include "common/LoopbackServer.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/CaptionButton.h"
#include "radio/ui/TDirectoryForm.h"
#include "radio/ui/TMyRadioForm.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {
const QString kSection = QStringLiteral("MyRadio");
const char* const kLetters = "abcdefghi";

QString nameKey(int k) {
    return QStringLiteral("MyRN") + QLatin1Char(kLetters[k - 1]);
}
QString linkKey(int k) {
    return QStringLiteral("MyR") + QLatin1Char(kLetters[k - 1]);
}
} // namespace

class TestMyRadioForm : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SettingsFile> settings;
    FakeMessages messages;
    QString pending;
    QStringList played; // what Button1 saw in PendingStreamUrl at each click
    std::unique_ptr<QPushButton> button1;
    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<TMyRadioForm> form;

    QString stored(const QString& key) {
        return settings->ReadString(kSection, key, QStringLiteral("<none>"));
    }

    void add(const QString& name, const QString& link) {
        Control<QLineEdit>(*form, "sEdit1")->setText(name);
        Control<QLineEdit>(*form, "sEdit2")->setText(link);
        QTest::mouseClick(Control<QPushButton>(*form, "sBitBtn10"), Qt::LeftButton);
    }

    void removeVia(QPushButton* button) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &event);
        QVERIFY(Control<QMenu>(*form, "PopupMenu3")->isVisible());
        Control<QAction>(*Control<QMenu>(*form, "PopupMenu3"), "N1")->trigger();
        Control<QMenu>(*form, "PopupMenu3")->close();
    }

    void fillAll() {
        for (int k = 1; k <= 9; ++k) {
            settings->WriteString(kSection, nameKey(k), QStringLiteral("Station %1").arg(k));
            settings->WriteString(kSection, linkKey(k), QStringLiteral("http://127.0.0.1/%1").arg(k));
        }
    }

private slots:
    void init() {
        QVERIFY(dir.isValid());
        QFile::remove(dir.filePath(QStringLiteral("Setting.ini")));
        settings = std::make_unique<SettingsFile>(dir.filePath(QStringLiteral("Setting.ini")));
        messages.shown.clear();
        pending.clear();
        played.clear();
        mainWindow = std::make_unique<QWidget>();
        button1 = std::make_unique<QPushButton>();
        connect(button1.get(), &QPushButton::clicked, this, [this] { played << pending; });
        form = std::make_unique<TMyRadioForm>(*settings, messages, StationHandOver{&pending, button1.get()},
                                              mainWindow.get());
    }
    void cleanup() {
        form.reset();
        button1.reset();
        mainWindow.reset();
        settings.reset(); // its writes reach the file before the next test removes it
    }

    void addsToLowestFreeSlotAndStoresBothKeys() {
        form->show();
        add(QStringLiteral("Радио Один"), QStringLiteral("http://127.0.0.1/один"));
        add(QStringLiteral("Two"), QStringLiteral("http://127.0.0.1/2"));
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(stored(QStringLiteral("MyRNa")), QStringLiteral("Радио Один"));
        QCOMPARE(stored(QStringLiteral("MyRa")), QStringLiteral("http://127.0.0.1/один"));
        QCOMPARE(stored(QStringLiteral("MyRNb")), QStringLiteral("Two"));
        QCOMPARE(stored(QStringLiteral("MyRb")), QStringLiteral("http://127.0.0.1/2"));
        QCOMPARE(stored(QStringLiteral("MyRNc")), QStringLiteral("<none>"));
        QCOMPARE(form->slotButton(1)->text(), QStringLiteral("Радио Один"));
        QCOMPARE(form->slotButton(2)->text(), QStringLiteral("Two"));
        // The fields keep their text for the next entry.
        QCOMPARE(Control<QLineEdit>(*form, "sEdit1")->text(), QStringLiteral("Two"));
        QCOMPARE(Control<QLineEdit>(*form, "sEdit2")->text(), QStringLiteral("http://127.0.0.1/2"));
    }

    void refusesIncompleteEntries_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("link");
        QTest::newRow("both empty") << QString() << QString();
        QTest::newRow("no link") << QStringLiteral("Name") << QString();
        QTest::newRow("no name") << QString() << QStringLiteral("http://127.0.0.1/x");
    }
    void refusesIncompleteEntries() {
        QFETCH(QString, name);
        QFETCH(QString, link);
        form->show();
        add(name, link);
        QCOMPARE(messages.shown, QStringList{QStringLiteral("Некорректно заполнены обязательные поля")});
        QVERIFY(!QFile::exists(settings->path()));
        QVERIFY(form->slotButton(1)->text().isEmpty());
    }

    void fullStoreRefusesAnotherStation() {
        fillAll();
        form->show();
        add(QStringLiteral("Tenth"), QStringLiteral("http://127.0.0.1/10"));
        QCOMPARE(messages.shown, QStringList{QStringLiteral("Нет свободных кнопок")});
        for (int k = 1; k <= 9; ++k) {
            QCOMPARE(stored(nameKey(k)), QStringLiteral("Station %1").arg(k));
            QCOMPARE(stored(linkKey(k)), QStringLiteral("http://127.0.0.1/%1").arg(k));
        }
    }

    void removedSlotIsRefilledFirstAndOthersStay() {
        fillAll();
        form->show();
        removeVia(form->slotButton(5));
        QCOMPARE(stored(QStringLiteral("MyRNe")), QString());
        QCOMPARE(stored(QStringLiteral("MyRe")), QString());
        QVERIFY(form->slotButton(5)->text().isEmpty());
        for (int k : {4, 6})
            QCOMPARE(stored(nameKey(k)), QStringLiteral("Station %1").arg(k));

        add(QStringLiteral("New"), QStringLiteral("http://127.0.0.1/new"));
        QCOMPARE(stored(QStringLiteral("MyRNe")), QStringLiteral("New"));
        QCOMPARE(stored(QStringLiteral("MyRe")), QStringLiteral("http://127.0.0.1/new"));
        QVERIFY(messages.shown.isEmpty());
    }

    void removeOnAddButtonChangesNothing() {
        fillAll();
        QVERIFY(settings->flush(60000));
        const QByteArray before = [&] {
            QFile f(settings->path());
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        form->show();
        removeVia(Control<QPushButton>(*form, "sBitBtn10"));
        QVERIFY(settings->flush(60000));
        QFile f(settings->path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(form->slotButton(k)->text(), QStringLiteral("Station %1").arg(k));
    }

    void directoryChoiceFillsTheFieldsForAnOrdinaryAdd() {
        LoopbackServer server;
        const QByteArray body =
            R"([{"name":"Радио Лоопбэк","url":"http://127.0.0.1/a.pls",)"
            R"("url_resolved":"http://127.0.0.1/live","country":"Россия","countrycode":"RU",)"
            R"("codec":"MP3","bitrate":128}])";
        server.fallback = {"HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body};
        settings->WriteString(QStringLiteral("Directory"), QStringLiteral("server"), server.base());
        form->show();
        QTest::mouseClick(Control<QToolButton>(*form, "DirectoryButton"), Qt::LeftButton);
        TDirectoryForm* directory = form->directoryForm();
        QVERIFY(directory && directory->isVisible());
        // The first screen needs no typing: one row per country asked for.
        QTRY_COMPARE_WITH_TIMEOUT(Control<QTreeWidget>(*directory, "results")->topLevelItemCount(), 4, 20000);
        QCOMPARE(Control<QTreeWidget>(*directory, "results")->topLevelItem(0)->text(0),
                 QStringLiteral("Радио Лоопбэк"));
        QCOMPARE(Control<QTreeWidget>(*directory, "results")->topLevelItem(0)->text(1),
                 QStringLiteral("Россия"));
        QCOMPARE(Control<QTreeWidget>(*directory, "results")->topLevelItem(0)->text(2),
                 QStringLiteral("MP3"));
        QCOMPARE(Control<QTreeWidget>(*directory, "results")->topLevelItem(0)->text(3),
                 QStringLiteral("128"));
        Control<QTreeWidget>(*directory, "results")
            ->setCurrentItem(Control<QTreeWidget>(*directory, "results")->topLevelItem(0));
        QTest::mouseClick(Control<QPushButton>(*directory, "chooseButton"), Qt::LeftButton);
        QCOMPARE(Control<QLineEdit>(*form, "sEdit1")->text(), QStringLiteral("Радио Лоопбэк"));
        QCOMPARE(Control<QLineEdit>(*form, "sEdit2")->text(), QStringLiteral("http://127.0.0.1/live"));
        QTest::mouseClick(Control<QPushButton>(*form, "sBitBtn10"), Qt::LeftButton);
        QCOMPARE(stored(nameKey(1)), QStringLiteral("Радио Лоопбэк"));
        QCOMPARE(stored(linkKey(1)), QStringLiteral("http://127.0.0.1/live"));

        // A failing directory leaves a line in the window, no message box.
        server.fallback = {LoopbackServer::status("503 Service Unavailable")};
        Control<QLineEdit>(*directory, "nameEdit")->setText(QStringLiteral("jazz"));
        QTest::mouseClick(Control<QPushButton>(*directory, "searchButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(
            Control<QLabel>(*directory, "statusLine")->text().contains(QStringLiteral("503")), 20000);
        QVERIFY(messages.shown.isEmpty());
    }

    void titleEncodingIsChosenPerStation() {
        add(QStringLiteral("KOI"), QStringLiteral("http://127.0.0.1/koi"));
        form->show();
        QPushButton* slot = form->slotButton(1);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), slot->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(slot, &event);
        QVERIFY(Control<QMenu>(*Control<QMenu>(*form, "PopupMenu3"), "EncodingMenu")->isEnabled());
        QAction* koi = nullptr;
        QStringList offered;
        for (QAction* a : Control<QMenu>(*Control<QMenu>(*form, "PopupMenu3"), "EncodingMenu")->actions()) {
            offered << a->data().toString();
            if (a->data().toString() == QLatin1String("koi8-r"))
                koi = a;
        }
        QCOMPARE(offered, (QStringList{"auto", "utf-8", "windows-1251", "koi8-r", "windows-1252"}));
        QVERIFY(koi && !koi->isChecked());
        koi->trigger();
        Control<QMenu>(*form, "PopupMenu3")->close();
        QCOMPARE(settings->ReadString(QStringLiteral("RadioEncoding"), linkKey(1), QString()),
                 QStringLiteral("koi8-r"));
        QCOMPARE(form->titleEncoding(1), QStringLiteral("koi8-r"));
        // Removing the station forgets its choice; the next station in the slot starts on "auto".
        removeVia(slot);
        QCOMPARE(form->titleEncoding(1), QStringLiteral("auto"));
        // A free slot offers no choice.
        QApplication::sendEvent(slot, &event);
        QVERIFY(!Control<QMenu>(*Control<QMenu>(*form, "PopupMenu3"), "EncodingMenu")->isEnabled());
        Control<QMenu>(*form, "PopupMenu3")->close();
    }

    void slotButtonHandsItsLinkToTheMainWindow() {
        settings->WriteString(kSection, QStringLiteral("MyRNc"), QStringLiteral("Three"));
        settings->WriteString(kSection, QStringLiteral("MyRc"), QStringLiteral("http://127.0.0.1/три"));
        form->show();
        QTest::mouseClick(form->slotButton(3), Qt::LeftButton);
        QTest::mouseClick(form->slotButton(1), Qt::LeftButton); // free slot: an empty link stops the radio
        QCOMPARE(played, (QStringList{QStringLiteral("http://127.0.0.1/три"), QString()}));
    }

    void everyShowReloadsFromTheFile() {
        form->show();
        QVERIFY(form->slotButton(1)->text().isEmpty());
        form->hide();
        settings->WriteString(kSection, QStringLiteral("MyRNa"), QStringLiteral("Rock & Roll"));
        settings->WriteString(kSection, QStringLiteral("MyRa"), QStringLiteral("http://127.0.0.1/rr"));
        form->show();
        QCOMPARE(form->stationName(1), QStringLiteral("Rock & Roll"));
        // Shown literally, not as a shortcut marker.
        QCOMPARE(form->slotButton(1)->text(), QStringLiteral("Rock && Roll"));
        QTest::mouseClick(form->slotButton(1), Qt::LeftButton);
        QCOMPARE(played, QStringList{QStringLiteral("http://127.0.0.1/rr")});
    }

    // A refused write is reported; the station stays on its button and in memory for the run, so
    // what the button shows is what it plays, and the next station takes the next slot.
    void refusedWriteIsReportedAndTheStationStaysForTheRun() {
        QFile blocker(dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsFile unwritable(dir.filePath(QStringLiteral("blocker/Setting.ini")));
        TMyRadioForm refused(unwritable, messages, StationHandOver{&pending, button1.get()},
                             mainWindow.get());
        refused.show();
        for (const char* name : {"Name", "Second"}) {
            Control<QLineEdit>(refused, "sEdit1")->setText(QString::fromLatin1(name));
            Control<QLineEdit>(refused, "sEdit2")
                ->setText(QStringLiteral("http://127.0.0.1/") + QString::fromLatin1(name));
            QTest::mouseClick(Control<QPushButton>(refused, "sBitBtn10"), Qt::LeftButton);
        }
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY(messages.shown.first().startsWith(QStringLiteral("Unable to write to ")));
        QCOMPARE(refused.slotButton(1)->text(), QStringLiteral("Name"));
        QCOMPARE(refused.stationName(1), QStringLiteral("Name"));
        QCOMPARE(refused.stationLink(1), QStringLiteral("http://127.0.0.1/Name"));
        QCOMPARE(refused.slotButton(2)->text(), QStringLiteral("Second"));
        QTest::mouseClick(refused.slotButton(1), Qt::LeftButton);
        QCOMPARE(played, QStringList{QStringLiteral("http://127.0.0.1/Name")});
    }

    // The name is written before the link.
    void nameIsStoredBeforeLink() {
        form->show();
        add(QStringLiteral("Первое"), QStringLiteral("http://127.0.0.1/1"));
        QVERIFY(settings->flush(60000));
        QFile file(dir.filePath(QStringLiteral("Setting.ini")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        const qsizetype name = text.indexOf("MyRNa="), link = text.indexOf("MyRa=");
        QVERIFY2(name >= 0 && link > name, text.constData());
    }

    // Captions are shown whole, wrapped or in a smaller face, never cut at both ends.
    void captionsShowWhole() {
        form->show();
        const QStringList names{QStringLiteral("Тест Радио"), QStringLiteral("Радиостанция"),
                                QStringLiteral("Europa Plus Москва"), QStringLiteral("Хит FM & Ретро")};
        for (int k = 1; k <= names.size(); ++k) {
            add(names[k - 1], QStringLiteral("http://127.0.0.1/%1").arg(k));
            auto* b = qobject_cast<CaptionButton*>(form->slotButton(k));
            QVERIFY2(b, "slot buttons fit their captions");
            QCOMPARE(ButtonCaption(b), names[k - 1]);
            const QRect box(QPoint(), b->captionRect().size());
            const QRect needed = QFontMetrics(b->captionFont())
                                     .boundingRect(box, Qt::AlignCenter | Qt::TextWordWrap, names[k - 1]);
            QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(),
                     qPrintable(names[k - 1]));
        }
    }

    // Only the close box closes the window: Escape leaves it open.
    void escapeDoesNotClose() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QTest::keyClick(Control<QLineEdit>(*form, "sEdit1"), Qt::Key_Escape);
        QVERIFY(form->isVisible());
        QVERIFY(form->close());
        QVERIFY(form->isHidden());
    }

    void clickIntoAFieldEmptiesItEveryTime() {
        form->show();
        for (QLineEdit* e : {Control<QLineEdit>(*form, "sEdit1"), Control<QLineEdit>(*form, "sEdit2")}) {
            for (int round = 0; round < 2; ++round) {
                e->setText(QStringLiteral("typed"));
                QTest::mouseClick(e, Qt::LeftButton);
                QCOMPARE(e->text(), QString());
            }
        }
    }

    void enterInAFieldDoesNotPlayAStation() {
        fillAll();
        form->show();
        QTest::keyClick(Control<QLineEdit>(*form, "sEdit2"), Qt::Key_Return);
        QVERIFY(played.isEmpty());
    }
};

QTEST_MAIN(TestMyRadioForm)
#include "test_my_radio_form.moc"
