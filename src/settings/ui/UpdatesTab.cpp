#include "settings/ui/UpdatesTab.h"

#include "platform/AppDir.h"
#include "platform/MessageSink.h"
#include "platform/Shell.h"
#include "settings/LanguagePack.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <limits>

namespace {
int clampToInt(qint64 n) {
    return int(std::clamp<qint64>(n, 0, std::numeric_limits<int>::max()));
}
} // namespace

UpdatesTab::UpdatesTab(HttpClient& http, QLabel* publishedVersion, QProgressBar* progress,
                       MessageSink& messages, Shell& shell, std::function<void()> closeProgram,
                       QObject* parent)
    : QObject(parent), checker_(http, SiteUrls::ProjectSite), publishedVersion_(publishedVersion),
      progress_(progress), messages_(messages), shell_(shell), closeProgram_(std::move(closeProgram)) {
    // The body comes from the network: it is shown as text, never interpreted as markup.
    publishedVersion_->setTextFormat(Qt::PlainText);

    connect(&checker_, &UpdateChecker::progressBegin, this, &UpdatesTab::begin);
    connect(&checker_, &UpdateChecker::progressWork, this, &UpdatesTab::work);
    connect(&checker_, &UpdateChecker::progressEnd, this, &UpdatesTab::end);
    connect(&checker_, &UpdateChecker::checked, publishedVersion_, &QLabel::setText);
    connect(&checker_, &UpdateChecker::checkFailed, this, &UpdatesTab::failed);
    connect(&checker_, &UpdateChecker::downloaded, this, &UpdatesTab::installerSaved);
    connect(&checker_, &UpdateChecker::downloadFailed, this, &UpdatesTab::failed);
    // Not a transfer fault: the user must learn which file could not be written, and why.
    connect(&checker_, &UpdateChecker::saveFailed, this,
            [this](const QString& message) { messages_.show(message); });
}

void UpdatesTab::setProjectSite(const QString& baseUrl) {
    checker_.setBaseUrl(baseUrl);
}

void UpdatesTab::setProxy(const QString& host, int port) {
    checker_.setProxy(host, port);
}

void UpdatesTab::check() {
    checker_.check(); // refused while a transfer runs
}

void UpdatesTab::download() {
    checker_.download(AppDir());
}

void UpdatesTab::begin(qint64 total) {
    // An unknown size (0) leaves the bar in its busy look until the end.
    progress_->setRange(0, clampToInt(total));
    progress_->setValue(0);
}

void UpdatesTab::work(qint64 done) {
    const int max = progress_->maximum();
    progress_->setValue(max > 0 ? qMin(clampToInt(done), max) : clampToInt(done));
}

void UpdatesTab::end() {
    if (progress_->maximum() == 0)
        progress_->setMaximum(100); // leave the busy look
    progress_->setValue(0);
}

void UpdatesTab::installerSaved(const QString& path) {
    shell_.open(path);
    if (closeProgram_)
        closeProgram_();
}

void UpdatesTab::failed() {
    messages_.show(LangText(QStringLiteral("Message"), QStringLiteral("ErrorUpgrade")));
}
