#include "closed/ui/TForm2.h"
#include "common/Control.h"
#include "platform/MessageSink.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {
class RecordingSink : public MessageSink {
public:
    void show(const QString& text) override { texts << text; }
    QStringList texts;
};

const QString kWrongCode = QStringLiteral("Message/incorrectpassword");
} // namespace

class TestClosedGate : public QObject {
    Q_OBJECT

    // Stand-ins for the settings window's code field and ask-for-code box, read live.
    QString code_;
    bool ask_ = true;
    int layouts_ = 0;
    RecordingSink sink_;

    std::unique_ptr<TForm2> makePrompt() {
        TForm2::Deps d;
        d.code = [this] { return code_; };
        d.askForCode = [this] { return ask_; };
        d.showClosedLayout = [this] { ++layouts_; };
        d.messages = &sink_;
        d.langText = [](const QString& s, const QString& k) { return s + u'/' + k; };
        return std::make_unique<TForm2>(std::move(d), nullptr);
    }
    static void enter(TForm2& prompt, const QString& entry) {
        Control<QLineEdit>(prompt, "sEdit1")->setText(entry);
        QTest::mouseClick(Control<QPushButton>(prompt, "sBitBtn1"), Qt::LeftButton);
    }

private slots:
    void init() {
        code_ = QStringLiteral("759");
        ask_ = true;
        layouts_ = 0;
        sink_.texts.clear();
    }

    void createdHiddenWithPromptTextAndMaskedEntry() {
        // A skin is applied as an application-wide sheet before the prompt is created.
        qApp->setStyleSheet(QStringLiteral("QWidget { font-weight: 400; } QLineEdit { padding: 1px; }"));
        auto prompt = makePrompt();
        prompt->ensurePolished();
        Control<QLabel>(*prompt, "sLabel1")->ensurePolished();
        QVERIFY(prompt->isHidden());
        QCOMPARE(prompt->size(), QSize(341, 148));
        QCOMPARE(prompt->windowTitle(), QString());
        QCOMPARE(Control<QLabel>(*prompt, "sLabel1")->text(), QStringLiteral("Message/Password"));
        QVERIFY(Control<QLabel>(*prompt, "sLabel1")->font().bold());
        QVERIFY(Control<QLabel>(*prompt, "sLabel1")->wordWrap());
        QVERIFY(Control<QLineEdit>(*prompt, "sEdit1")->text().isEmpty());
        Control<QLineEdit>(*prompt, "sEdit1")->setText(QStringLiteral("a b"));
        QCOMPARE(Control<QLineEdit>(*prompt, "sEdit1")->displayText(), QStringLiteral("***"));
        QVERIFY(Control<QPushButton>(*prompt, "sBitBtn1")->isDefault());
        qApp->setStyleSheet(QString());
    }

    void buttonFollowsTheAskBoxAtEachPress() {
        auto prompt = makePrompt();
        ask_ = false;
        prompt->OpenClosedSection();
        QCOMPARE(layouts_, 1);
        QVERIFY(prompt->isHidden());

        ask_ = true;
        prompt->OpenClosedSection();
        QCOMPARE(layouts_, 1);
        QVERIFY(prompt->isVisible());
        prompt->OpenClosedSection(); // the same prompt again, nothing else
        QVERIFY(prompt->isVisible());
        QCOMPARE(layouts_, 1);
        QCOMPARE(QApplication::topLevelWidgets().count(prompt.get()), 1);
    }

    void entryMustMatchTheCodeExactly_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("opens");
        QTest::newRow("same") << "759"
                              << "759" << true;
        QTest::newRow("letter case") << "Secret"
                                     << "secret" << false;
        QTest::newRow("trailing space") << "759"
                                        << "759 " << false;
        QTest::newRow("shorter") << "759"
                                 << "75" << false;
        QTest::newRow("empty code, empty entry") << ""
                                                 << "" << true;
        QTest::newRow("empty entry") << "759"
                                     << "" << false;
        QTest::newRow("Cyrillic") << "пароль"
                                  << "пароль" << true;
    }

    void entryMustMatchTheCodeExactly() {
        QFETCH(QString, code);
        QFETCH(QString, entry);
        QFETCH(bool, opens);
        code_ = code;
        auto prompt = makePrompt();
        prompt->OpenClosedSection();
        enter(*prompt, entry);
        QCOMPARE(layouts_, opens ? 1 : 0);
        QCOMPARE(prompt->isVisible(), !opens);
        QCOMPARE(sink_.texts, opens ? QStringList{} : QStringList{kWrongCode});
        QCOMPARE(Control<QLineEdit>(*prompt, "sEdit1")->text(), entry); // never cleared
    }

    void theCodeIsReadWhenOkIsPressed() {
        auto prompt = makePrompt();
        prompt->OpenClosedSection();
        Control<QLineEdit>(*prompt, "sEdit1")->setText(QStringLiteral("new"));
        code_ = QStringLiteral("new"); // typed into the settings window, not saved
        QTest::keyClick(Control<QLineEdit>(*prompt, "sEdit1"), Qt::Key_Return);
        QCOMPARE(layouts_, 1);
        QVERIFY(prompt->isHidden());

        // The entry survives the hiding and opens the section again.
        prompt->OpenClosedSection();
        QCOMPARE(Control<QLineEdit>(*prompt, "sEdit1")->text(), QStringLiteral("new"));
        QTest::mouseClick(Control<QPushButton>(*prompt, "sBitBtn1"), Qt::LeftButton);
        QCOMPARE(layouts_, 2);
        QVERIFY(sink_.texts.isEmpty());
    }
};

QTEST_MAIN(TestClosedGate)
#include "test_closed_gate.moc"
