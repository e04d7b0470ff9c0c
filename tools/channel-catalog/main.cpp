// channel-catalog: prints the two built-in channel lists, or writes the channel tree of pages and
// programme pages that the lists refer to, so the tree can never disagree with the program.
#include "navigation/ChannelCatalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <map>

namespace {

constexpr char kUsage[] = "usage: channel-catalog list | channel-catalog tree DIR\n";

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

QString html(const QString& title, const QString& body) {
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
               "</head>\n<body>\n%2</body>\n</html>\n")
        .arg(title.toHtmlEscaped(), body);
}

// Names may carry leading or runs of spaces that are part of the name: keep them visible.
QString heading(const QString& name) {
    return QStringLiteral("<h1 style=\"white-space: pre\">%1</h1>\n").arg(name.toHtmlEscaped());
}

QString channelPage(const PageContent& content) {
    QString body;
    for (const QString& n : content.names)
        body += heading(n);
    return html(content.names.join(QStringLiteral(", ")), body);
}

QString programmePage(const PageContent& content) {
    QString body;
    for (const QString& n : content.names)
        body += heading(n);
    body += QStringLiteral("<h2>Программа передач</h2>\n<p>Программа передач канала появится здесь.</p>\n");
    return html(QStringLiteral("Программа передач: ") + content.names.join(QStringLiteral(", ")), body);
}

QString noProgrammePage() {
    return html(QStringLiteral("Программа передач"),
                QStringLiteral(
                    "<h1>Программа передач</h1>\n<p>Для этого канала программа передач недоступна.</p>\n"));
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
        const QString text = page.programme ? programmePage(page) : channelPage(page);
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
    std::fputs(kUsage, stderr);
    return 2;
}
