#include "radio/ui/RecordingOptionsTab.h"

#include "platform/LogCategories.h"
#include "settings/SettingsFile.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>

namespace {
QString text(const LangLookup& lang, const char* key, const QString& russian) {
    if (lang) {
        const QString t = lang(RecordingOptionsTab::kSection, QLatin1String(key));
        if (!t.isEmpty() && t != QLatin1String("0"))
            return QString(t).replace(QLatin1String("\\n"),
                                      QLatin1String("\n")); // a pack line holds one line
    }
    return russian;
}
} // namespace

RecordingOptionsTab::RecordingOptionsTab(SettingsFile& settings, const QString& folder,
                                         const LangLookup& lang, QWidget* parent)
    : QWidget(parent), settings_(settings) {
    setObjectName(QStringLiteral("RecordingOptionsTab"));
    const QString where = folder.isEmpty() ? QDir::currentPath() : folder;
    folder_ = new QLabel(text(lang, "folder", QStringLiteral("Файл будет записан в папку:\n%1"))
                             .arg(QDir::toNativeSeparators(where)),
                         this);
    folder_->setObjectName(QStringLiteral("RecordingFolder"));
    folder_->setTextFormat(Qt::PlainText);
    folder_->setWordWrap(true);
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folder_->setGeometry(16, 12, 456, 48);

    split_ =
        new QCheckBox(text(lang, "splitbysong", QStringLiteral("Делить запись на файлы по песням")), this);
    split_->setObjectName(QStringLiteral("RecordingSplitOption"));
    split_->setToolTip(
        text(lang, "splitbysonghint",
             QStringLiteral("Новый файл начинается, когда станция сообщает название новой песни")));
    split_->setGeometry(16, 70, 456, 26);
    split_->setChecked(splitBySong(settings));
    connect(split_, &QCheckBox::toggled, this, [this](bool on) {
        try {
            settings_.WriteString(kSection, kSplitKey, on ? QStringLiteral("1") : QStringLiteral("0"));
        } catch (const SettingsWriteError& e) {
            qCWarning(lcSettings) << "recording split switch not stored:" << e.what();
        }
        emit splitBySongChanged(on);
    });
}

bool RecordingOptionsTab::splitBySong(SettingsFile& settings) {
    return settings.ReadString(kSection, kSplitKey, QStringLiteral("0")).trimmed() == QLatin1String("1");
}

QString RecordingOptionsTab::caption(const LangLookup& lang) {
    return text(lang, "tab", QStringLiteral("Запись"));
}
