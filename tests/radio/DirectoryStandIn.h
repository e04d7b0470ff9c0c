#pragma once
// A loopback stand-in for the station directory's JSON API, answering from a fixture as the real
// directory does: /json/stations/search (name as a part of the station's name, any case; the
// country code exactly; hidebroken; order and reverse; limit) and /json/url/<uuid> (a click).
// Query values are decoded as the directory's server decodes forms: "+" is a space.
#include "common/LoopbackServer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <algorithm>

class DirectoryStandIn {
public:
    // fixture: a JSON array of directory entries; "{stream}" in any text becomes streamBase.
    DirectoryStandIn(const QString& fixture, const QString& streamBase) {
        QFile f(fixture);
        if (f.open(QIODevice::ReadOnly)) {
            QByteArray text = f.readAll();
            text.replace("{stream}", streamBase.toUtf8());
            stations = QJsonDocument::fromJson(text).array();
        }
        server.handler = [this](const QByteArray& target) { return answer(target); };
    }

    QJsonArray stations;
    LoopbackServer server;
    QStringList names;  // every name searched for, as the server decoded it
    QStringList clicks; // station ids clicked
    bool down = false;  // answers 503 to every request

    QString base() const { return server.base(); }
    int searches() const { return int(names.size()); }

    // Replaces the stream address of every entry with this station id.
    void moveStream(const QString& uuid, const QString& url) {
        for (qsizetype i = 0; i < stations.size(); ++i) {
            QJsonObject o = stations[i].toObject();
            if (o.value("stationuuid").toString() == uuid) {
                o["url"] = url;
                o["url_resolved"] = url;
                stations[i] = o;
            }
        }
    }

private:
    static QString formValue(const QByteArray& raw) {
        QByteArray plus = raw;
        plus.replace('+', ' ');
        return QUrl::fromPercentEncoding(plus);
    }

    static QByteArray json(const QByteArray& body) {
        return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
               QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

    std::optional<LoopbackServer::Route> answer(const QByteArray& target) {
        if (down)
            return LoopbackServer::Route{LoopbackServer::status("503 Service Unavailable")};
        const qsizetype q = target.indexOf('?');
        const QByteArray path = target.left(q < 0 ? target.size() : q);
        if (path.startsWith("/json/url/")) {
            const QString uuid = QString::fromUtf8(path.mid(10));
            clicks << uuid;
            for (const QJsonValue& v : stations)
                if (v.toObject().value("stationuuid").toString() == uuid)
                    return LoopbackServer::Route{
                        json(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact))};
            return LoopbackServer::Route{LoopbackServer::status("404 Not Found")};
        }
        if (path != "/json/stations/search")
            return std::nullopt;
        QHash<QString, QString> args;
        for (const QByteArray& pair : target.mid(q + 1).split('&')) {
            const qsizetype eq = pair.indexOf('=');
            if (eq > 0)
                args[QString::fromUtf8(pair.left(eq))] = formValue(pair.mid(eq + 1));
        }
        const QString name = args.value("name");
        names << name;
        QList<QJsonObject> found;
        for (const QJsonValue& v : stations) {
            const QJsonObject o = v.toObject();
            if (!name.isEmpty() && !o.value("name").toString().contains(name, Qt::CaseInsensitive))
                continue;
            if (!args.value("countrycode").isEmpty() &&
                o.value("countrycode").toString().compare(args.value("countrycode"), Qt::CaseInsensitive) !=
                    0)
                continue;
            if (args.value("hidebroken") == "true" && o.value("lastcheckok").toInt() != 1)
                continue;
            found << o;
        }
        const QString order = args.value("order", "name");
        std::stable_sort(found.begin(), found.end(), [&order](const QJsonObject& a, const QJsonObject& b) {
            const QJsonValue x = a.value(order), y = b.value(order);
            return x.isDouble() ? x.toDouble() < y.toDouble() : x.toString() < y.toString();
        });
        if (args.value("reverse") == "true")
            std::reverse(found.begin(), found.end());
        const int limit = args.value("limit", "100000").toInt();
        QJsonArray out;
        for (const QJsonObject& o : found)
            if (out.size() < limit)
                out.append(o);
        return LoopbackServer::Route{json(QJsonDocument(out).toJson(QJsonDocument::Compact))};
    }
};
