#include "platform/ui/WebRendering.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestWebRendering : public QObject {
    Q_OBJECT
private slots:
    void aGraphicsDeviceIsFoundByItsNodes_data() {
        QTest::addColumn<QStringList>("nodes");
        QTest::addColumn<bool>("found");
        QTest::newRow("no /dev/dri") << QStringList{} << false;
        QTest::newRow("empty /dev/dri") << QStringList{"dri/"} << false;
        QTest::newRow("render node") << QStringList{"dri/renderD128"} << true;
        QTest::newRow("card only") << QStringList{"dri/card0"} << true;
        QTest::newRow("other files in dri") << QStringList{"dri/by-path/"} << false;
        QTest::newRow("NVIDIA driver") << QStringList{"nvidiactl"} << true;
    }
    void aGraphicsDeviceIsFoundByItsNodes() {
        QFETCH(QStringList, nodes);
        QFETCH(bool, found);
        QTemporaryDir dev;
        for (const QString& node : nodes) {
            if (node.endsWith(QLatin1Char('/'))) {
                QVERIFY(QDir(dev.path()).mkpath(node));
                continue;
            }
            QDir(dev.path()).mkpath(QFileInfo(node).path());
            QFile f(dev.filePath(node));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(WebRendering::HasGpuDevice(dev.path()), found);
    }

    void softwareOnlyWithoutADeviceOrWhenForced_data() {
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<bool>("gpu");
        QTest::addColumn<bool>("software");
        QTest::newRow("device") << QStringList{} << true << false;
        QTest::newRow("no device") << QStringList{} << false << true;
        QTest::newRow("GL forced to software") << QStringList{"LIBGL_ALWAYS_SOFTWARE=1"} << true << true;
        QTest::newRow("forcing turned off") << QStringList{"LIBGL_ALWAYS_SOFTWARE=0"} << true << false;
        QTest::newRow("user chose a back end") << QStringList{"QT_QUICK_BACKEND=rhi"} << false << false;
        QTest::newRow("user chose an RHI")
            << QStringList{"QSG_RHI_BACKEND=opengl", "LIBGL_ALWAYS_SOFTWARE=1"} << false << false;
    }
    void softwareOnlyWithoutADeviceOrWhenForced() {
        QFETCH(QStringList, variables);
        QFETCH(bool, gpu);
        QFETCH(bool, software);
        QProcessEnvironment env;
        for (const QString& v : variables)
            env.insert(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
        QCOMPARE(WebRendering::PreferSoftware(env, gpu), software);
    }
};

QTEST_GUILESS_MAIN(TestWebRendering)
#include "test_web_rendering.moc"
