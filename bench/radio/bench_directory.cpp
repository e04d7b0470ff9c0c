// The station directory window with a large answer: a loopback server sends 1,000 stations and the
// time from the last byte written to the rows standing in the list (laid out and painted) is taken.
// Usage: bench_directory [STATIONS] [RUNS]   (offscreen)
#include "platform/ui/FindControl.h"
#include "radio/ui/TDirectoryForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;

    QByteArray body = "[";
    for (int i = 0; i < count; ++i) {
        if (i)
            body += ',';
        body += QStringLiteral(R"({"name":"Радио номер %1","url":"http://127.0.0.1/s%1","url_resolved":"",)"
                               R"("country":"Россия","countrycode":"RU","codec":"MP3","bitrate":128,)"
                               R"("clickcount":%1,"tags":"pop,rock"})")
                    .arg(i)
                    .toUtf8();
    }
    body += "]";
    const QByteArray answer = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                              QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;

    QElapsedTimer clock;
    clock.start();
    qint64 lastByteAt = 0;
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* s = server.nextPendingConnection();
        QObject::connect(s, &QTcpSocket::readyRead, s, [&, s] {
            if (!s->readAll().contains("\r\n\r\n"))
                return;
            auto* left = new qint64(answer.size());
            QObject::connect(s, &QTcpSocket::bytesWritten, s, [&, s, left](qint64 n) {
                if ((*left -= n) <= 0) {
                    lastByteAt = clock.elapsed();
                    delete left;
                    s->disconnectFromHost();
                }
            });
            s->write(answer);
        });
    });

    TDirectoryForm form(QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort()));
    form.show();
    auto* results = FindControl<QTreeWidget>(form, QStringLiteral("results"));
    auto* nameEdit = FindControl<QLineEdit>(form, QStringLiteral("nameEdit"));
    auto* searchButton = FindControl<QPushButton>(form, QStringLiteral("searchButton"));
    if (!results || !nameEdit || !searchButton) {
        std::fprintf(stderr, "the directory window lacks its search controls\n");
        return 1;
    }
    std::vector<qint64> shown;
    for (int run = 0; run < runs; ++run) {
        results->clear();
        lastByteAt = 0;
        nameEdit->setText(QStringLiteral("радио %1").arg(run));
        searchButton->click();
        while (results->topLevelItemCount() < count)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        results->viewport()->repaint(); // drawn, not only stored
        shown.push_back(clock.elapsed() - lastByteAt);
    }
    std::sort(shown.begin(), shown.end());
    std::printf(
        "%d stations: shown %lld ms after the server's last byte (median of %d; min %lld, max %lld)\n", count,
        static_cast<long long>(shown[shown.size() / 2]), runs, static_cast<long long>(shown.front()),
        static_cast<long long>(shown.back()));
    return 0;
}
