// channel-catalog: prints the two built-in channel lists, or writes the channel tree of pages and
// programme pages that the lists refer to, so the tree can never disagree with the program; or
// shows which playlist entries the grid's TV slots play.
#include "MatchCommand.h"
#include "navigation/ChannelCatalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <map>

namespace {

constexpr char kUsage[] =
    "usage: channel-catalog list | channel-catalog tree DIR | channel-catalog match FILE|URL...\n";

void writeOut(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

int list() {
    QString out;
    const auto dump = [&out](const char* listName, const std::vector<ChannelEntry>& entries) {
        int pos = 0;
        for (const ChannelEntry& e : entries) {
            out += QStringList{QLatin1String(listName),
                               QString::number(++pos),
                               e.Name,
                               TargetName(e.target),
                               e.Page,
                               e.Guide,
                               QString::fromLatin1(e.Stream)}
                       .join(u'\t');
            out += u'\n';
        }
    };
    dump("main", MainCatalog());
    dump("favorite", FavoriteCatalog());
    writeOut(out);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

struct PageContent {
    QStringList names; // channels that show this page, in list order, each once
    bool programme = false;
};

void addName(PageContent& content, const QString& name) {
    if (!content.names.contains(name))
        content.names.append(name);
}

// Channel pages stand in for a player: a dark screen with the channel's name under it.
constexpr char16_t kChannelStyle[] = uR"CSS(
html, body { margin: 0; height: 100%; }
body {
  font-family: Tahoma, "DejaVu Sans", Arial, sans-serif; color: #e8ecf3; text-align: center;
  background: #10151f linear-gradient(160deg, #1d2738 0%, #0b0f17 100%);
  display: flex; flex-direction: column; align-items: center; justify-content: center; overflow: hidden;
}
.badge {
  display: inline-block; margin-bottom: 14px; padding: 3px 12px; border-radius: 11px;
  background: rgba(255, 255, 255, .08); color: #aab4c5; font-size: 12px; letter-spacing: .08em;
  text-transform: uppercase;
}
.badge.live::before {
  content: ""; display: inline-block; width: 8px; height: 8px; margin: -2px 7px 0 0; border-radius: 50%;
  background: #e53935; vertical-align: middle;
}
.screen {
  width: min(72vw, 420px); aspect-ratio: 16 / 9; border-radius: 8px; background: #000;
  box-shadow: 0 6px 24px rgba(0, 0, 0, .55); display: flex; align-items: center; justify-content: center;
}
.button {
  width: 60px; height: 60px; border-radius: 50%; border: 2px solid rgba(255, 255, 255, .7);
  display: flex; align-items: center; justify-content: center; color: rgba(255, 255, 255, .85); font-size: 30px;
}
.play {
  width: 0; height: 0; margin-left: 6px; border-style: solid; border-width: 14px 0 14px 24px;
  border-color: transparent transparent transparent rgba(255, 255, 255, .85);
}
h1 { margin: 16px 12px 2px; font-size: 26px; font-weight: 600; white-space: pre; }
p { margin: 4px 12px; font-size: 13px; color: #8e99ab; }
)CSS";

// Programme pages fit the programme window: a header with the channel, the listing below it.
constexpr char16_t kProgrammeStyle[] = uR"CSS(
html, body { margin: 0; }
body { font-family: Tahoma, "DejaVu Sans", Arial, sans-serif; background: #f3f5f9; color: #1d2433; }
header { background: #1d2738; color: #fff; padding: 14px 18px 16px; }
header .label { font-size: 12px; letter-spacing: .08em; text-transform: uppercase; color: #aab4c5; }
h1 { margin: 6px 0 0; font-size: 22px; font-weight: 600; white-space: pre; }
main { padding: 16px 18px; }
.card {
  background: #fff; border-radius: 8px; box-shadow: 0 1px 4px rgba(0, 0, 0, .1); padding: 14px 16px;
  font-size: 14px; line-height: 1.5; color: #4a5568;
}
)CSS";

QString html(const QString& title, const QString& style, const QString& body) {
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<title>%1</title>\n<style>%2</style>\n</head>\n<body>\n%3</body>\n</html>\n")
        .arg(title.toHtmlEscaped(), style, body);
}

// Names may carry leading or runs of spaces that are part of the name: the style keeps them visible.
QString headings(const QStringList& names) {
    QString out;
    for (const QString& n : names)
        out += QStringLiteral("<h1>%1</h1>\n").arg(n.toHtmlEscaped());
    return out;
}

// What a channel page says about itself, by the kind of channel its directory holds.
struct PageKind {
    QString badge;
    bool live;
    QString screen; // inside the round button
    QString note;
};

PageKind kindOf(const QString& rel) {
    if (rel.startsWith(QStringLiteral("channel\\radio-program\\")))
        return {QStringLiteral("Радио"), false, QStringLiteral("&#9834;"),
                QStringLiteral("Здесь будет страница радиостанции.")};
    if (rel.startsWith(QStringLiteral("channel\\records\\")))
        return {QStringLiteral("В записи"), false, QStringLiteral("<div class=\"play\"></div>"),
                QStringLiteral("Здесь будут записи передач.")};
    return {QStringLiteral("Прямой эфир"), true, QStringLiteral("<div class=\"play\"></div>"),
            QStringLiteral("Здесь будет трансляция канала.")};
}

QString channelPage(const QString& rel, const PageContent& content) {
    const PageKind kind = kindOf(rel);
    const QString body =
        QStringLiteral(
            "<div class=\"badge%1\">%2</div>\n<div class=\"screen\"><div class=\"button\">%3</div></div>\n")
            .arg(kind.live ? QStringLiteral(" live") : QString(), kind.badge, kind.screen) +
        headings(content.names) + QStringLiteral("<p>%1</p>\n").arg(kind.note);
    return html(content.names.join(QStringLiteral(", ")), QString::fromUtf16(kChannelStyle), body);
}

QString programmePage(const PageContent& content) {
    const QString body = QStringLiteral("<header>\n<div class=\"label\">Программа передач</div>\n") +
                         headings(content.names) +
                         QStringLiteral("</header>\n<main>\n<div class=\"card\">Программа передач канала "
                                        "появится здесь.</div>\n</main>\n");
    return html(QStringLiteral("Программа передач: ") + content.names.join(QStringLiteral(", ")),
                QString::fromUtf16(kProgrammeStyle), body);
}

QString noProgrammePage() {
    return html(QStringLiteral("Программа передач"), QString::fromUtf16(kProgrammeStyle),
                QStringLiteral("<header>\n<div class=\"label\">Телегид</div>\n<h1>Программа передач</h1>\n"
                               "</header>\n<main>\n<div class=\"card\">Для этого канала программа передач "
                               "недоступна.</div>\n</main>\n"));
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        *error = QStringLiteral("cannot create directory %1").arg(info.absolutePath());
        return false;
    }
    // Leave an unchanged page alone so repeated builds do not touch the tree.
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.size() == bytes.size() && existing.readAll() == bytes)
        return true;
    existing.close();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() || !f.flush()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

int tree(const QString& dir) {
    std::map<QString, PageContent> pages; // relative path with backslashes -> what the page shows
    for (const auto* entries : {&MainCatalog(), &FavoriteCatalog()}) {
        for (const ChannelEntry& e : *entries) {
            if (e.hasLocalPage())
                addName(pages[e.Page], e.Name);
            if (!e.Guide.isEmpty() && e.Guide != NoProgrammeGuide) {
                PageContent& content = pages[e.Guide];
                content.programme = true;
                addName(content, e.Name);
            }
        }
    }
    const QString root = dir.endsWith(u'/') ? dir : dir + u'/';
    QString error;
    for (const auto& [rel, page] : pages) {
        const QString text = page.programme ? programmePage(page) : channelPage(rel, page);
        if (!writeFile(root + QString(rel).replace(u'\\', u'/'), text.toUtf8(), &error))
            break;
    }
    if (error.isEmpty())
        writeFile(root + QString(NoProgrammeGuide).replace(u'\\', u'/'), noProgrammePage().toUtf8(), &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "channel-catalog: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 2 && args[1] == QLatin1String("list"))
        return list();
    if (args.size() == 3 && args[1] == QLatin1String("tree") && !args[2].isEmpty())
        return tree(args[2]);
    if (args.size() >= 3 && args[1] == QLatin1String("match"))
        return MatchCommand(args.mid(2));
    std::fputs(kUsage, stderr);
    return 2;
}
