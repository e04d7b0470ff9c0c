#include "platform/SlotGuard.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include <stdexcept>

// A sender with a signal carrying an argument, to show that guarded slots take it.
class Sender : public QObject {
    Q_OBJECT
signals:
    void fired(int value);
};

class Receiver : public QObject {
public:
    int got = 0;
    void take(int value) {
        got = value;
        if (value < 0)
            throw std::invalid_argument("negative");
    }
};

class TestSlotGuard : public QObject {
    Q_OBJECT
private slots:
    void errorsStopAtTheSlotAndReachTheReporter() {
        QStringList reported;
        SlotGuard::SetReporter([&](const QString& m) { reported << m; });
        Sender sender;
        Receiver receiver;
        int calls = 0;
        QObject::connect(&sender, &Sender::fired, &receiver, SlotGuard::Guarded(&receiver, &Receiver::take));
        QObject::connect(&sender, &Sender::fired, &receiver, SlotGuard::Guarded([&calls] {
            if (++calls == 2)
                throw 42; // not a std::exception
        }));
        emit sender.fired(7);
        emit sender.fired(-1);
        QCOMPARE(receiver.got, -1);
        QCOMPARE(calls, 2);
        QCOMPARE(reported, (QStringList{"negative", "Unknown error"}));

        // A reporter that fails itself still lets the slot return.
        SlotGuard::SetReporter([](const QString&) { throw std::runtime_error("no way to show it"); });
        emit sender.fired(-2);
        SlotGuard::SetReporter({});
        emit sender.fired(-3); // no reporter: the log has it
        QCOMPARE(receiver.got, -3);
    }
};

QTEST_GUILESS_MAIN(TestSlotGuard)
#include "test_slot_guard.moc"
