#include "settings/ui/SkinManager.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A small panel with the kinds of control every window uses, rendered in the current skin.
QImage renderSample() {
    QWidget panel;
    panel.setFixedSize(180, 150);
    auto* layout = new QVBoxLayout(&panel);
    auto* group = new QGroupBox(QStringLiteral("Группа"));
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(new QPushButton(QStringLiteral("Кнопка")));
    inner->addWidget(new QCheckBox(QStringLiteral("Флажок")));
    layout->addWidget(group);
    layout->addWidget(new QLineEdit(QStringLiteral("текст")));
    auto* progress = new QProgressBar;
    progress->setValue(60);
    layout->addWidget(progress);
    return panel.grab().toImage();
}

} // namespace

class TestSkinManager : public QObject {
    Q_OBJECT
private slots:
    void listHoldsTheSixtyNineNames();
    void everySkinLooksDifferent();
    void unknownNameGetsDefaultLook();
};

void TestSkinManager::listHoldsTheSixtyNineNames() {
    const QStringList& names = SkinManager::Names();
    QCOMPARE(names.size(), 69);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 69);
    QCOMPARE(names.first(), QStringLiteral("Acryl (internal)"));
    QCOMPARE(names.indexOf(QStringLiteral("Neutral (internal)")), 33);
    QCOMPARE(names.indexOf(QStringLiteral("Neutral4 (internal)")), 32);
    QCOMPARE(names.indexOf(QStringLiteral("SoapSky - Lime (internal)")), 51);
    QCOMPARE(names.indexOf(QStringLiteral("WMP 2008 (internal)")), 65);
    QCOMPARE(names.last(), QStringLiteral("XPSilver (internal)"));
    QCOMPARE(SkinManager::DefaultName(), QStringLiteral("Neutral (internal)"));
}

void TestSkinManager::everySkinLooksDifferent() {
    SkinManager skins;
    QList<QImage> images;
    for (const QString& name : SkinManager::Names()) {
        skins.apply(name);
        QCOMPARE(skins.skinName(), name);
        images << renderSample();
    }
    for (int i = 0; i < images.size(); ++i)
        for (int j = i + 1; j < images.size(); ++j)
            QVERIFY2(images[i] != images[j],
                     qPrintable(SkinManager::Names()[i] + " = " + SkinManager::Names()[j]));

    // Widgets that already exist follow a change at once.
    skins.apply(SkinManager::Names().first());
    QPushButton existing(QStringLiteral("x"));
    existing.resize(60, 24);
    const QImage before = existing.grab().toImage();
    skins.apply(SkinManager::Names().last());
    QVERIFY(existing.grab().toImage() != before);
}

void TestSkinManager::unknownNameGetsDefaultLook() {
    SkinManager skins;
    skins.apply(SkinManager::DefaultName());
    const QImage neutral = renderSample();
    const QString neutralSheet = qApp->styleSheet();

    skins.apply(QStringLiteral("Nonexistent (internal)"));
    QCOMPARE(skins.skinName(), QStringLiteral("Nonexistent (internal)"));
    QVERIFY(!skins.isKnown());
    QCOMPARE(qApp->styleSheet(), neutralSheet);
    QCOMPARE(renderSample(), neutral);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestSkinManager t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_skin_manager.moc"
