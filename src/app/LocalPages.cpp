#include "app/LocalPages.h"

#include "platform/LogCategories.h"

#include <QDir>
#include <QSaveFile>

namespace LocalPages {

namespace {

QString text(const LangLookup& lang, const char* key) {
    const QString t = lang ? lang(QStringLiteral("TvSources"), QLatin1String(key)) : QString();
    return t.toHtmlEscaped();
}

QString page(const QString& title, const QString& body) {
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title><style>"
                          "body{font-family:sans-serif;background:#f4f6f8;color:#223;margin:0;"
                          "display:flex;align-items:center;justify-content:center;height:100vh}"
                          "main{max-width:460px;padding:24px;background:#fff;border-radius:8px;"
                          "box-shadow:0 1px 4px rgba(0,0,0,.15)}h1{font-size:20px;margin:0 0 12px}"
                          "p{font-size:14px;line-height:1.45}a.button{display:inline-block;margin-top:8px;"
                          "padding:6px 14px;background:#2a6ebb;color:#fff;border-radius:4px;"
                          "text-decoration:none}.dot{color:#2e9d3a}</style></head><body><main>%2</main>"
                          "<script>for(const a of document.querySelectorAll('a[data-action]'))"
                          "a.addEventListener('click',e=>{e.preventDefault();"
                          "location.hash='zelmo-'+a.dataset.action+'-'+Date.now();});</script>"
                          "</body></html>")
        .arg(title, body);
}

} // namespace

QString StartHtml(const LangLookup& lang) {
    const QString title = text(lang, "startTitle");
    return page(title, QStringLiteral("<h1>%1</h1><p>%2</p><p>%3</p>")
                           .arg(title, text(lang, "startText"), text(lang, "startHint")));
}

QString NoStreamHtml(const QString& channel, const LangLookup& lang) {
    const QString title = text(lang, "noStreamTitle");
    const QString line = text(lang, "noStreamText").arg(channel.trimmed().toHtmlEscaped());
    return page(title, QStringLiteral("<h1>%1</h1><p>%2</p><p><a class=\"button\" href=\"#\" "
                                      "data-action=\"%4\">%3</a></p>")
                           .arg(line, text(lang, "noStreamHint"), text(lang, "openIptv"), IptvAction));
}

std::optional<QString> Write(const QString& dir, const QString& name, const QString& html) {
    const QString path = QDir(dir).filePath(name);
    QSaveFile f(path);
    if (!QDir().mkpath(dir) || !f.open(QIODevice::WriteOnly) || f.write(html.toUtf8()) < 0 || !f.commit()) {
        qCWarning(lcWeb) << "cannot write" << path << f.errorString();
        return std::nullopt;
    }
    return path;
}

} // namespace LocalPages
