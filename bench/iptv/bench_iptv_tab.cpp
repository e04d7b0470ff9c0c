// The IPTV tab of the settings window with a large playlist, offscreen: what a user waits for on
// the UI thread. Each figure is the median of several runs, each until the tab has repainted.
//   bench_iptv_tab N [RUNS]   an N-entry playlist imported from a file in a temporary folder
#include "BenchPlaylist.h"
#include "platform/QtHttpClient.h"
#include "settings/SettingsFile.h"
#include "tv/IptvImporter.h"
#include "tv/ui/IptvTab.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Figure {
    const char* what;
    std::vector<double> ms;
};

void print(const Figure& f) {
    std::vector<double> v = f.ms;
    std::sort(v.begin(), v.end());
    std::printf("iptv tab: %-34s median %7.1f ms (min %.1f, max %.1f, n=%zu)\n", f.what, v[v.size() / 2],
                v.front(), v.back(), v.size());
}

// Lets the tab finish what the action left queued (delayed layouts) and paint.
void settle(QWidget& w) {
    QCoreApplication::processEvents();
    w.repaint();
}

double timed(QWidget& w, const std::function<void()>& action) {
    QElapsedTimer t;
    t.start();
    action();
    settle(w);
    return double(t.nsecsElapsed()) / 1e6;
}

bool waitFinished(IptvImporter& importer) {
    if (!importer.busy())
        return true;
    QEventLoop loop;
    QTimer cap;
    QObject::connect(&importer, &IptvImporter::finished, &loop, [&] { loop.exit(0); });
    QObject::connect(&cap, &QTimer::timeout, &loop, [&] { loop.exit(1); });
    cap.start(120000);
    return loop.exec() == 0;
}

// The offscreen platform's notes on every popup say nothing about the tab.
void quietPlatform(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support")))
        std::fprintf(stderr, "%s%s\n", type >= QtWarningMsg ? "warning: " : "", qPrintable(text));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietPlatform);
    QApplication app(argc, argv);
    const QStringList a = app.arguments();
    const int n = a.value(1, QStringLiteral("10000")).toInt();
    const int runs = std::max(1, a.value(2, QStringLiteral("7")).toInt());

    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("list.m3u"));
    {
        QFile f(list);
        if (!f.open(QIODevice::WriteOnly) || f.write(BenchPlaylist::text(n, CatalogTvNames())) < 0)
            return 1;
    }
    SettingsFile settings(dir.filePath(QStringLiteral("Setting.ini")));
    QtHttpClient http;
    IptvImporter importer(settings, http, dir.filePath(QStringLiteral("IPTV")));

    // The tab's own share of an import finishing: its handler of playlistChanged, then its repaint.
    QElapsedTimer handler;
    double handlerMs = 0;
    QObject::connect(&importer, &IptvImporter::playlistChanged, [&] { handler.start(); });
    IptvTab tab(importer);
    QObject::connect(&importer, &IptvImporter::playlistChanged,
                     [&] { handlerMs = double(handler.nsecsElapsed()) / 1e6; });
    tab.resize(900, 600);
    tab.playlistEdit()->setText(list);

    Figure shown{"shown after an import (first fill)", {}};
    Figure imported{"import finishing while shown", {}};
    Figure select{"row of a channel selected", {}};
    Figure choose{"\"Выбрать\" (an entry not in use)", {}};
    Figure clear{"\"Убрать\"", {}};
    Figure popup{"entry list opened", {}};

    for (int run = 0; run < runs; ++run) {
        tab.hide();
        settle(tab);
        tab.loadButton()->click();
        if (!waitFinished(importer) || importer.library().playlist().empty()) {
            std::fprintf(stderr, "import failed: %s\n", qPrintable(importer.status()));
            return 1;
        }
        shown.ms.push_back(timed(tab, [&] { tab.show(); }));
    }
    for (int run = 0; run < runs; ++run) {
        tab.loadButton()->click();
        if (!waitFinished(importer))
            return 1;
        imported.ms.push_back(handlerMs + timed(tab, [] {}));
    }

    const IptvLibrary& lib = importer.library();
    const auto& matches = lib.matches();
    for (int run = 0; run < runs; ++run) {
        const QString catalog = matches[size_t(run * 7) % matches.size()].catalogName;
        // Entries 1, 2, 4, 5… are other channels: none is in use by the catalog.
        const QString entry = lib.playlist()[size_t(3 * run + 1)].name;
        select.ms.push_back(timed(tab, [&] { tab.selectChannel(catalog); }));
        tab.entryBox()->setCurrentIndex(tab.entryBox()->findText(entry));
        choose.ms.push_back(timed(tab, [&] { tab.chooseButton()->click(); }));
        if (lib.streamFor(catalog).value_or(ImportedStream{}).displayName != entry) {
            std::fprintf(stderr, "choose did not take %s for %s\n", qPrintable(entry), qPrintable(catalog));
            return 1;
        }
        clear.ms.push_back(timed(tab, [&] { tab.clearButton()->click(); }));
        if (lib.streamFor(catalog))
            return 1;
        popup.ms.push_back(timed(tab, [&] { tab.entryBox()->showPopup(); }));
        tab.entryBox()->hidePopup();
        settle(tab);
    }

    std::printf("iptv tab: %zu entries, %zu catalog channels, %d runs each\n", lib.playlist().size(),
                matches.size(), runs);
    for (const Figure* f : {&shown, &imported, &select, &choose, &clear, &popup})
        print(*f);
    return 0;
}
