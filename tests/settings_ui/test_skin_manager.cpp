#include "settings/ui/SkinManager.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QVBoxLayout>

#include <cmath>

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

double luminance(QRgb c) {
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QImage renderCheckBox(bool checked) {
    QCheckBox box(QStringLiteral("Флажок"));
    box.setChecked(checked);
    box.resize(100, 24);
    return box.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestSkinManager : public QObject {
    Q_OBJECT
private slots:
    void listHoldsTheSixtyNineNames();
    void everySkinLooksDifferent();
    void unknownNameGetsDefaultLook();
    void tickedCheckBoxShowsATickInEverySkin();
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

// Rendered ticked and unticked: the indicator is where the two differ. Inside it the ticked box
// must hold a mark that stands out from the box's own fill (contrast of at least 3 : 1), not
// merely a differently coloured square.
void TestSkinManager::tickedCheckBoxShowsATickInEverySkin() {
    SkinManager skins;
    for (const QString& name : SkinManager::Names()) {
        skins.apply(name);
        const QImage on = renderCheckBox(true);
        const QImage off = renderCheckBox(false);
        QCOMPARE(on.size(), off.size());
        QRect changed;
        for (int y = 0; y < on.height(); ++y)
            for (int x = 0; x < on.width(); ++x)
                if (on.pixel(x, y) != off.pixel(x, y))
                    changed |= QRect(x, y, 1, 1);
        QVERIFY2(changed.width() >= 6 && changed.height() >= 6, qPrintable(name));
        const QRect inside = changed.adjusted(2, 2, -2, -2);
        QHash<QRgb, int> counts;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                ++counts[on.pixel(x, y)];
        QRgb fill = 0;
        int most = 0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (it.value() > most)
                most = it.value(), fill = it.key();
        int mark = 0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (contrast(it.key(), fill) >= 3.0)
                mark += it.value();
        QVERIFY2(mark >= 6, qPrintable(QStringLiteral("%1: %2 mark pixels in %3x%4")
                                           .arg(name)
                                           .arg(mark)
                                           .arg(inside.width())
                                           .arg(inside.height())));
    }
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestSkinManager t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_skin_manager.moc"
