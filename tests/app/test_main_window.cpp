#include "FakeGridSurface.h"
#include "common/Control.h"
#include "common/MainWindowControls.h"
#include "common/TestFakes.h"

#include "app/MinimizePolicy.h"
#include "app/ui/TDonationForm.h"
#include "app/ui/TForm1.h"
#include "navigation/Layouts.h"
#include "navigation/SiteUrls.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/CaptionButton.h"
#include "platform/ui/ChromiumView.h"
#include "radio/MainWindowRadio.h"
#include "radio/ui/TMyRadioForm.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <optional>

namespace {

struct FakeRadio : MainWindowRadio {
    bool startResult = true;
    QStringList calls;
    QList<QByteArray> played;
    QList<float> volumes;
    bool StartAudio() override {
        calls << "StartAudio";
        return startResult;
    }
    void ShutdownAudio() override { calls << "ShutdownAudio"; }
    void PlayStream(const QByteArray& url) override { played << url; }
    void StopStream() override { calls << "StopStream"; }
    void SetVolume(float v) override { volumes << v; }
};

struct Fixture {
    FakeRadio radio;
    FakeMessages messages;
    FakeShell shell;
    QString trayMode = QStringLiteral("0");
    bool trayAvailable = false;
    QStringList started;
    std::unique_ptr<TForm1> form;
    std::optional<MainWindowControls> ui; // its controls, by object name

    explicit Fixture(bool audioOk = true) {
        radio.startResult = audioOk;
        TForm1::Services s;
        s.radio = &radio;
        s.messages = &messages;
        s.shell = &shell;
        s.langText = CategoryText;
        form = std::make_unique<TForm1>(s);
        ui.emplace(*form);
        // What the settings window's start-up load writes onto the bar.
        const std::pair<const char*, const char*> keys[] = {
            {"sBitBtn1", "public"},        {"sBitBtn2", "radio"},    {"sBitBtn3", "music"},
            {"sBitBtn4", "entertainment"}, {"sBitBtn5", "Research"}, {"sBitBtn6", "Sport"},
            {"sBitBtn7", "movie"},         {"sBitBtn8", "Cartoons"}, {"sBitBtn9", "Records"},
            {"sBitBtn44", "foreign"},      {"sBitBtn45", "back"}};
        for (const auto& [name, key] : keys)
            form->setCategoryCaption(QString::fromLatin1(name),
                                     CategoryText("Category", QString::fromLatin1(key)));
        form->setStartTV([this](const QString& name) { started << name; });
        form->setTrayModeSource([this] { return trayMode; });
        form->setTrayAvailability([this] { return trayAvailable; });
    }
    template <typename T = QWidget> T* child(const QString& name) const { return form->findChild<T*>(name); }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void windowFrame() {
        Fixture f;
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Zelmo Player"));
        QCOMPARE(f.form->size(), QSize(807, 543));
        QCOMPARE(f.form->minimumSize(), f.form->maximumSize());
        const Qt::WindowFlags flags = f.form->windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!f.form->windowIcon().isNull());
        // The pictures are drawn on another thread: each button still has its own.
        for (QToolButton* b : f.form->findChildren<QToolButton*>())
            QVERIFY2(!b->icon().isNull(), qPrintable(b->objectName()));
    }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QRect>("rect");
        const int xs[] = {5, 89, 169, 249, 329, 409, 489, 569, 649};
        for (int i = 0; i < 9; ++i)
            QTest::addRow("sBitBtn%d", i + 1)
                << QStringLiteral("sBitBtn%1").arg(i + 1) << "Form1" << QRect(xs[i], 4, i == 0 ? 82 : 78, 28);
        QTest::newRow("sBitBtn44") << "sBitBtn44"
                                   << "Form1" << QRect(729, 4, 78, 28);
        QTest::newRow("sBitBtn45") << "sBitBtn45"
                                   << "Form1" << QRect(729, 5, 78, 28);
        QTest::newRow("sPanel1") << "sPanel1"
                                 << "Form1" << QRect(5, 35, 800, 450);
        QTest::newRow("Chromium1") << "Chromium1"
                                   << "sPanel1" << QRect(7, 7, 590, 436);
        QTest::newRow("slot 1") << "sBitBtn10"
                                << "sPanel1" << QRect(600, 4, 64, 42);
        QTest::newRow("slot 5") << "sBitBtn14"
                                << "sPanel1" << QRect(666, 48, 64, 42);
        QTest::newRow("slot 30") << "sBitBtn39"
                                 << "sPanel1" << QRect(732, 400, 64, 42);
        QTest::newRow("sPanel2") << "sPanel2"
                                 << "sPanel1" << QRect(602, 365, 190, 77);
        QTest::newRow("sSpeedButton10") << "sSpeedButton10"
                                        << "sPanel2" << QRect(15, 5, 32, 32);
        QTest::newRow("sSpeedButton11") << "sSpeedButton11"
                                        << "sPanel2" << QRect(15, 5, 32, 32);
        const std::pair<int, int> tools[] = {{8, 5},   {9, 5},   {1, 50},  {4, 95}, {2, 140},
                                             {5, 630}, {3, 675}, {7, 720}, {6, 765}};
        for (const auto& [n, x] : tools)
            QTest::addRow("sSpeedButton%d", n)
                << QStringLiteral("sSpeedButton%1").arg(n) << "Form1" << QRect(x, 495, 40, 40);
        QTest::newRow("StartTVButton") << "StartTVButton"
                                       << "Form1" << QRect(405, 491, 115, 25);
        QTest::newRow("Button1") << "Button1"
                                 << "Form1" << QRect(526, 491, 98, 25);
    }
    void geometry() {
        QFETCH(QString, name);
        QFETCH(QString, parentName);
        QFETCH(QRect, rect);
        Fixture f;
        QWidget* w = f.child(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(w->parentWidget()->objectName(), parentName);
        QCOMPARE(w->geometry(), rect);
    }

    void gridDetails() {
        Fixture f;
        for (int k = 1; k <= 30; ++k) {
            auto* b = f.child<QPushButton>(QStringLiteral("sBitBtn%1").arg(k + 9));
            QCOMPARE(b->geometry().topLeft(), QPoint(600 + 66 * ((k - 1) % 3), 4 + 44 * ((k - 1) / 3)));
            QCOMPARE(b->font().pixelSize(), 11);
        }
        const int ys[] = {20, 145, 280, 375};
        for (int h = 1; h <= 4; ++h) {
            auto* l = f.child<QLabel>(QStringLiteral("sLabel%1").arg(h));
            QCOMPARE(l->pos(), QPoint(670, ys[h - 1]));
            QCOMPARE(l->font().pixelSize(), 13);
            QVERIFY(l->isHidden());
        }
        QCOMPARE(f.ui->sLabel3->text(), QStringLiteral("Армения"));
        QCOMPARE(f.ui->sScrollBar1->minimum(), 0);
        QCOMPARE(f.ui->sScrollBar1->maximum(), 100);
        QCOMPARE(f.ui->sScrollBar1->value(), 100);
        QCOMPARE(f.ui->sScrollBar1->orientation(), Qt::Horizontal);
        QCOMPARE(f.ui->sEdit1->text(), QStringLiteral("MyRecord"));
        QVERIFY(f.ui->sEdit1->isHidden());
    }

    // Captions are shown whole in the fixed-size buttons: no channel or category name is clipped.
    void captionsFitTheirButtons() {
        Fixture f;
        const auto fitsIn = [](QPushButton* button, const QString& caption, int flags) {
            auto* b = qobject_cast<CaptionButton*>(button);
            if (!b)
                return false;
            SetButtonCaption(b, caption);
            const QRect box(QPoint(), b->captionRect().size());
            const QRect needed = QFontMetrics(b->captionFont()).boundingRect(box, flags, caption);
            return needed.width() <= box.width() && needed.height() <= box.height();
        };
        for (int id = int(LayoutId::Public); id <= int(LayoutId::Closed); ++id) {
            const SlotCaptions& captions = LayoutCaptions(LayoutId(id));
            for (int k = 1; k <= 30; ++k)
                if (!captions[k - 1].isEmpty())
                    QVERIFY2(
                        fitsIn(f.form->slotButton(k), captions[k - 1], Qt::AlignCenter | Qt::TextWordWrap),
                        qPrintable(captions[k - 1]));
        }
        // The longest category names of the language packs, in the narrow buttons.
        for (const char16_t* caption : {u"Общественные", u"Музыкальные", u"Развлечения", u"Мультфільми",
                                        u"Українські", u"Закордонні", u"Entertainment"})
            for (int button : {1, 2})
                QVERIFY2(fitsIn(f.form->categoryButton(button), QString::fromUtf16(caption),
                                Qt::AlignCenter | Qt::TextSingleLine),
                         qPrintable(QString::fromUtf16(caption)));
    }

    void designVisibilityAndHints() {
        Fixture f;
        for (const char* hidden :
             {"sPanel2", "sScrollBar1", "sSpeedButton10", "sSpeedButton11", "sSpeedButton12", "sSpeedButton9",
              "sBitBtn45", "StartTVButton", "Button1"})
            QVERIFY2(f.child(QString::fromLatin1(hidden))->isHidden(), hidden);
        for (const char* inStrip : {"sSpeedButton13", "sSpeedButton14", "VolumeCaption"})
            QVERIFY2(!f.child(QString::fromLatin1(inStrip))->isHidden(), inStrip);
        QVERIFY(!f.ui->TrayIcon1->isVisible());
        QCOMPARE(f.ui->sSpeedButton10->toolTip(), QStringLiteral("Записать радио"));
        QCOMPARE(f.ui->sSpeedButton11->toolTip(), QStringLiteral("Остановить запись"));
        QCOMPARE(f.ui->sSpeedButton12->toolTip(), QStringLiteral("Выключить радио"));
        QCOMPARE(f.ui->sSpeedButton13->toolTip(), QStringLiteral("Запуск минирадио"));
        QCOMPARE(f.ui->sSpeedButton14->toolTip(), QStringLiteral("Мое радио"));
        QCOMPARE(f.ui->sSpeedButton7->toolTip(), QStringLiteral("Помощь"));
        QCOMPARE(ButtonCaption(f.ui->StartTVButton), QStringLiteral("Запуск ТВ каналов"));
        QCOMPARE(ButtonCaption(f.ui->Button1), QStringLiteral("Запуск MyRadio"));
        QCOMPARE(f.ui->N1->text(), QStringLiteral("Добавить в Избранное"));
        for (int n = 1; n <= 9; ++n)
            QCOMPARE(f.form->findChild<QToolButton*>(QStringLiteral("sSpeedButton%1").arg(n))->iconSize(),
                     QSize(32, 32));
    }

    void formCreate() {
        Fixture bad(false);
        QVERIFY(bad.radio.calls.isEmpty()); // audio starts once the event loop runs
        QTRY_COMPARE(bad.messages.shown,
                     QStringList{QStringLiteral("Не удалось загрузить модуль GStreamer (zelmo-gst.so) или "
                                                "запустить GStreamer: программа работает без звука.")});
        QCOMPARE(bad.ui->Chromium1->lastRequested(), SiteUrls::Project(QStringLiteral("/start11")));
        bad.form.reset();
        QCOMPARE(bad.radio.calls, (QStringList{"StartAudio", "ShutdownAudio"}));

        Fixture good;
        QTRY_COMPARE(good.radio.calls, QStringList{"StartAudio"});
        QVERIFY(good.messages.shown.isEmpty());
    }

    // Captions travel to the dispatcher exactly, and show "&" as "&".
    void handOver_data() {
        QTest::addColumn<QString>("caption");
        QTest::newRow("ampersand") << QStringLiteral("2x2, ТНТ & СТС");
        QTest::newRow("runs of spaces") << QStringLiteral("РИА   Новости");
        QTest::newRow("trailing space") << QStringLiteral("Retro ");
        QTest::newRow("spaces both ends, full stop") << QStringLiteral(" Москва 24. ");
    }
    void handOver() {
        QFETCH(QString, caption);
        Fixture f;
        f.form->setSlotCaption(7, caption);
        QTest::mouseClick(f.form->slotButton(7), Qt::LeftButton);
        QCOMPARE(f.started, QStringList{caption});
        QCOMPARE(ButtonCaption(f.ui->StartTVButton), caption);
        QCOMPARE(f.form->slotButton(7)->text(), EscapeMnemonic(caption));
        QCOMPARE(f.form->slotCaption(7), caption);
    }

    void radioControls() {
        Fixture f;
        *f.form->stationHandOver().pendingStreamUrl = QStringLiteral("http://127.0.0.1:8000/мой поток.mp3");
        f.ui->Button1->click();
        QCOMPARE(f.radio.played,
                 QList<QByteArray>{f.form->stationHandOver().pendingStreamUrl->toLocal8Bit()});
        f.ui->sScrollBar1->setValue(37);
        f.ui->sScrollBar1->setValue(0);
        QCOMPARE(f.radio.volumes, (QList<float>{0.37f, 0.0f}));
        f.ui->sSpeedButton12->click();
        QVERIFY(f.radio.calls.contains("StopStream"));
    }

    void stayOnTopPair() {
        Fixture f;
        f.ui->sSpeedButton8->click();
        QVERIFY(f.form->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(f.ui->sSpeedButton8->isHidden());
        QVERIFY(!f.ui->sSpeedButton9->isHidden());
        f.ui->sSpeedButton9->click();
        QVERIFY(!(f.form->windowFlags() & Qt::WindowStaysOnTopHint));
        QVERIFY(!f.ui->sSpeedButton8->isHidden());
        QVERIFY(f.ui->sSpeedButton9->isHidden());
        // The settings window changes the stacking only; the pair keeps what it showed.
        f.form->setStayOnTop(true);
        QVERIFY(f.form->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!f.ui->sSpeedButton8->isHidden());
    }

    void stayOnTopWhileShownKeepsTheLayout() {
        Fixture f;
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        f.ui->sBitBtn3->click();
        f.ui->sSpeedButton8->click();
        QVERIFY(f.form->isVisible());
        QVERIFY(f.form->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(f.form->slotCaption(1), QStringLiteral("A-one"));
    }

    void minimizeDecisions_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("available");
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("trayIcon");
        QTest::newRow("1, tray") << "1" << true << int(MinimizeAction::HideToTray) << true;
        QTest::newRow("1, no tray: stays reachable") << "1" << false << int(MinimizeAction::Taskbar) << true;
        QTest::newRow("0") << "0" << true << int(MinimizeAction::Taskbar) << false;
        QTest::newRow("edited value") << "01" << true << int(MinimizeAction::PlatformDefault) << false;
        QTest::newRow("empty") << "" << true << int(MinimizeAction::PlatformDefault) << false;
    }
    void minimizeDecisions() {
        QFETCH(QString, mode);
        QFETCH(bool, available);
        QFETCH(int, action);
        QFETCH(bool, trayIcon);
        QCOMPARE(int(DecideMinimize(mode, available)), action);

        Fixture f;
        f.trayMode = mode;
        f.trayAvailable = available;
        f.form->show();
        QCOMPARE(f.ui->TrayIcon1->isVisible(), trayIcon);
        f.form->AppMinimize();
        QCOMPARE(f.form->isHidden(), action == int(MinimizeAction::HideToTray));
    }

    void trayDoubleClickRestoresWithoutResettingTheLayout() {
        Fixture f;
        f.trayMode = "1";
        f.trayAvailable = true;
        f.form->show();
        f.ui->sBitBtn3->click();
        f.form->AppMinimize();
        QVERIFY(f.form->isHidden());
        f.form->TrayIcon1DblClick();
        QVERIFY(f.form->isVisible());
        QVERIFY(f.ui->TrayIcon1->isVisible());
        QCOMPARE(f.form->slotCaption(1), QStringLiteral("A-one"));
    }

    void trayModeIsReadWhenAsked() {
        Fixture f;
        f.form->show();
        QVERIFY(!f.ui->TrayIcon1->isVisible());
        f.trayMode = "1"; // as if the hidden field changed; the next showing reads it again
        f.form->hide();
        f.form->show();
        QVERIFY(f.ui->TrayIcon1->isVisible());
    }

    void everyShowingReappliesTheFirstLayout() {
        Fixture f;
        f.form->show();
        QCOMPARE(f.form->slotCaption(1), QStringLiteral("ОРТ"));
        f.ui->sBitBtn2->click();
        QVERIFY(!f.ui->sPanel2->isHidden());
        f.form->hide();
        f.form->show();
        QCOMPARE(f.form->slotCaption(1), QStringLiteral("ОРТ"));
        QVERIFY(f.ui->sPanel2->isHidden());

        f.ui->sBitBtn44->click();
        f.ui->sBitBtn3->click();
        f.form->hide();
        f.form->show();
        QCOMPARE(f.form->slotCaption(2), QStringLiteral("ТВі"));
        QVERIFY(f.form->slotButton(25)->isHidden());
        QVERIFY(f.ui->sLabel1->isHidden());
    }

    void popupOffersAddingTheButtonItWasOpenedOn() {
        Fixture f;
        QSignalSpy spy(f.form.get(), &TForm1::addFavoriteRequested);
        f.form->setSlotCaption(4, QStringLiteral("Tom & Jerry "));
        for (QPushButton* b : {f.form->slotButton(4), f.ui->sBitBtn6}) {
            QCOMPARE(b->contextMenuPolicy(), Qt::CustomContextMenu);
            emit b->customContextMenuRequested(QPoint(3, 3));
            QCOMPARE(f.form->popupButton(), b);
            f.ui->PopupMenu1->hide();
            f.ui->N1->trigger();
        }
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Tom & Jerry "));
        QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("Спорт"));
    }

    void settingsWindowWritesOntoTheMainWindow() {
        Fixture f;
        f.form->setCategoryCaption(QStringLiteral("sBitBtn44"), QStringLiteral("Foreign & more"));
        QCOMPARE(f.form->categoryCaption(44), QStringLiteral("Foreign & more"));
        QCOMPARE(f.ui->sBitBtn44->text(), QStringLiteral("Foreign && more"));
        f.form->setCategoryCaption(QStringLiteral("sBitBtn10"), QStringLiteral("not a category"));
        QCOMPARE(f.form->slotCaption(1), QStringLiteral("sBitBtn10"));
        f.form->setToolHint(QStringLiteral("sSpeedButton3"), QStringLiteral("TV guide"));
        QCOMPARE(f.ui->sSpeedButton3->toolTip(), QStringLiteral("TV guide"));
        f.form->setAddFavoriteCaption(QStringLiteral("Add & keep"));
        QCOMPARE(f.ui->N1->text(), QStringLiteral("Add && keep"));
    }

    void toolButtons() {
        Fixture f;
        QWidget programme, favorites;
        TDonationForm donation(f.form.get());
        QDialog settings;
        f.form->setToolWindows({&settings, &programme, &favorites, &donation});

        f.ui->Chromium1->load(QStringLiteral("channel\\public\\ort.htm"));
        f.ui->sSpeedButton2->click();
        QCOMPARE(f.ui->Chromium1->lastRequested(), QStringLiteral("about:blank"));
        QVERIFY(!f.radio.calls.contains("StopStream"));

        f.ui->sSpeedButton7->click();
        QCOMPARE(f.shell.opened, QStringList{SiteUrls::Project(QStringLiteral("/support.php"))});

        f.ui->sSpeedButton3->click();
        f.ui->sSpeedButton5->click();
        QVERIFY(programme.isVisible());
        QVERIFY(favorites.isVisible());

        // The modal ones return only once closed; close them from inside their loops.
        for (QDialog* modal : {&settings, static_cast<QDialog*>(&donation)}) {
            bool wasModal = false;
            QTimer::singleShot(0, modal, [&] {
                wasModal = modal->isVisible() && QApplication::activeModalWidget() == modal;
                modal->reject();
            });
            (modal == &settings ? f.ui->sSpeedButton1 : f.ui->sSpeedButton6)->click();
            QVERIFY(wasModal);
            QVERIFY(!modal->isVisible());
        }
    }

    void donationWindow() {
        QWidget main;
        TDonationForm d(&main);
        QCOMPARE(d.size(), QSize(341, 132));
        QVERIFY(d.windowTitle().isEmpty());
        QVERIFY(!(d.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(d.windowFlags() & Qt::WindowMinimizeButtonHint));
        QCOMPARE(Control<QLabel>(d, "sLabel1")->geometry(), QRect(10, 10, 309, 39));
        QVERIFY(Control<QLabel>(d, "sLabel1")->wordWrap());
        QCOMPARE(Control<QLabel>(d, "sLabel1")->text(),
                 QStringLiteral("Если вам понравилась программа и вы хотите помочь дальнейшему "
                                "развитию, то вы можете перечислить любую сумму на кошельки:"));
        QCOMPARE(Control<QPlainTextEdit>(d, "sMemo1")->geometry(), QRect(10, 58, 309, 55));
        QVERIFY(Control<QPlainTextEdit>(d, "sMemo1")->isReadOnly());
        const QStringList lines = Control<QPlainTextEdit>(d, "sMemo1")->toPlainText().split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.first(), QStringLiteral("WebMoney:"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
