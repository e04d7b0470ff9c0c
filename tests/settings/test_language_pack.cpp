#include "platform/AppDir.h"
#include "settings/LanguagePack.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct KeyRow {
    const char* section;
    const char* key;
    const char* builtIn; // the Russian window text, or nullptr where the window has none
};

// Every text the windows and message boxes read from a pack.
const KeyRow AllKeys[] = {
    {"Settings", "SettingsForm", "Настройки"},
    {"Settings", "About", "О программе"},
    {"Settings", "Setting", "Настройки"},
    {"Settings", "noVideo", "Нет видео"},
    {"Settings", "proxySetting", "Настройки прокси"},
    {"Settings", "updates", "Обновления"},
    {"Settings", "timer", "Таймер"},
    {"Settings", "language", "Язык"},
    {"Settings", "minimizeapplication", "Сворачивать приложение"},
    {"Settings", "Closedsection", "Закрытый раздел"},
    {"Settings", "design", "Оформление"},
    {"Settings", "Ontop", "Поверх всех окон"},
    {"Settings", "Inthesystemtray", "В системный трей"},
    {"Settings", "IntheTaskbar", "В панель задач"},
    {"Settings", "turnon", "Включить"},
    {"Settings", "turnoff", "Выключить"},
    {"Settings", "ip", "Адрес:"},
    {"Settings", "port", "Порт:"},
    {"Settings", "Useproxysettings", "Использовать настройки прокси"},
    {"Settings", "Savetheconnectionsettings", "Сохранить настройки соединения"},
    {"Settings", "Closetheprogramafter", "Закрыть программу через "},
    {"Settings", "minutes", "минут"},
    {"Settings", "confirm", "Подтвердить"},
    {"Settings", "Theprogramwillbeclosedafter", "Программа будет закрыта через "},
    {"Settings", "seconds", "секунд"},
    {"Settings", "reset", "Сброс"},
    {"Settings", "ToviewtheTVchannelsyouneed", "Для просмотра телеканалов необходимы:"},
    {"Settings", "AdobeFlashPlayerforInternetExplorer", "Adobe Flash Player"},
    {"Settings", "Install", "Установить"},
    {"Settings", "Help", "Помощь"},
    {"Settings", "Download", "Скачать"},
    {"Settings", "Yourversion", "Ваша версия программы"},
    {"Settings", "Crucialversion", "Актуальная версия программы"},
    {"Settings", "StatusDownloads", "Статус загрузки"},
    {"Settings", "Russian", "Русский [Ru]"},
    {"Settings", "Ukrainian", "Украинский [Ua]"},
    {"Settings", "English", "Английский [En]"},
    {"Settings", "Belarusian", "Белорусский [Blr]"},
    {"Settings", "Chinese", "Китайский [Chi]"},
    {"Settings", "usethepassword", "Использовать пароль"},
    {"Category", "public", "Общественные"},
    {"Category", "radio", "Радио"},
    {"Category", "music", "Музыкальные"},
    {"Category", "entertainment", "Развлечения"},
    {"Category", "Research", "Научные"},
    {"Category", "Sport", "Спорт"},
    {"Category", "movie", "Кино"},
    {"Category", "Cartoons", "Мультики"},
    {"Category", "Records", "Записи"},
    {"Category", "foreign", "Зарубежные"},
    {"Category", "back", "Назад"},
    {"Category", "Ukrainian", nullptr},
    {"Category", "CISa", nullptr},
    {"Category", "CISb", nullptr},
    {"Category", "Miscellaneous", nullptr},
    {"Hint", "Settings", "Настройки"},
    {"Hint", "TVProgram", "ТВ программа"},
    {"Hint", "Closedsection", "Закрытый раздел"},
    {"Hint", "favorites", "Избранное"},
    {"Hint", "Donations", "Помощь проекту"},
    {"Message", "AddtoFavorites", "Добавить в Избранное"},
    {"Message", "Password", "Для перехода в этот раздел необходимо ввести пароль"},
    {"Message", "incorrectpassword", nullptr},
    {"Message", "changes", nullptr},
    {"Message", "ErrorSecretCode", nullptr},
    {"Message", "Donotenteravalueoftrue", nullptr},
    {"Message", "ErrorUpgrade", nullptr},
    {"Message", "NoFavorite", nullptr},
    {"Message", "somethingiswrong", nullptr},
};

QString S(const char* s) {
    return QString::fromUtf8(s);
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestLanguagePack : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        const QString appDir = qEnvironmentVariable("ZELMO_TEST_APPDIR");
        QVERIFY(!appDir.isEmpty());
        SetAppDirForTesting(appDir + QLatin1Char('/'));
    }

    void shippedPacks_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 5; ++i)
            QTest::newRow(LanguagePack::FileNames()[i].toUtf8().constData()) << i;
    }
    void shippedPacks() {
        QFETCH(int, index);
        QVERIFY(QFile::exists(LanguagePack::PackPath(index)));
        const LanguagePack pack(LanguagePack::PackPath(index));
        for (const KeyRow& row : AllKeys) {
            const QString text = pack.LangText(S(row.section), S(row.key));
            QVERIFY2(text != QLatin1String("0") && !text.trimmed().isEmpty(), row.key);
            if (index == 0 && row.builtIn)
                QCOMPARE(text, S(row.builtIn));
        }
        // The stored language choice is the button caption, so every pack keeps the five fixed ones.
        const char* buttons[] = {"Russian", "Ukrainian", "English", "Belarusian", "Chinese"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(pack.LangText(QStringLiteral("Settings"), S(buttons[i])),
                     LanguagePack::FixedCaptions()[i]);
        // A category button tells its views apart by these texts alone.
        const auto cat = [&](const char* key) { return pack.LangText(QStringLiteral("Category"), S(key)); };
        const std::pair<const char*, const char*> pairs[] = {{"public", "Ukrainian"},
                                                             {"radio", "CISa"},
                                                             {"music", "CISb"},
                                                             {"entertainment", "Miscellaneous"}};
        for (const auto& [main, foreign] : pairs) {
            QVERIFY2(cat(main) != cat(foreign), main);
            QVERIFY2(cat("Research") != cat(main) && cat("Research") != cat(foreign), main);
        }
    }

    void readsLikeTheSettingsFile() {
        const QString utf16 = dir.filePath(QStringLiteral("utf16.lng"));
        const QString text = QStringLiteral(
            "[settings]\r\nSETTINGSFORM=  设置  \r\n[Message]\r\nchanges=\"Сохранено\"\r\nempty=\r\n");
        QByteArray bytes("\xFF\xFE");
        bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        writeAll(utf16, bytes);
        const QString utf8 = dir.filePath(QStringLiteral("utf8.lng"));
        writeAll(utf8, "\xEF\xBB\xBF" + text.toUtf8());

        for (const QString& path : {utf16, utf8}) {
            const LanguagePack pack(path);
            QCOMPARE(pack.LangText(QStringLiteral("Settings"), QStringLiteral("SettingsForm")),
                     QStringLiteral("设置"));
            QCOMPARE(pack.LangText(QStringLiteral("MESSAGE"), QStringLiteral("Changes")),
                     QStringLiteral("Сохранено"));
            QCOMPARE(pack.LangText(QStringLiteral("Message"), QStringLiteral("empty")), QString());
            QCOMPARE(pack.LangText(QStringLiteral("Message"), QStringLiteral("NoFavorite")),
                     QStringLiteral("0"));
            QCOMPARE(pack.LangText(QStringLiteral("Hint"), QStringLiteral("Settings")), QStringLiteral("0"));
        }
        QCOMPARE(LanguagePack(dir.filePath(QStringLiteral("missing.lng")))
                     .LangText(QStringLiteral("Settings"), QStringLiteral("About")),
                 QStringLiteral("0"));
        QCOMPARE(LanguagePack().LangText(QStringLiteral("Settings"), QStringLiteral("About")),
                 QStringLiteral("0"));
    }

    void packIsReadOnceAtConstruction() {
        const QString path = dir.filePath(QStringLiteral("once.lng"));
        writeAll(path, "[Hint]\nfavorites=A\n");
        const LanguagePack pack(path);
        writeAll(path, "[Hint]\nfavorites=B\n");
        QCOMPARE(pack.LangText(QStringLiteral("Hint"), QStringLiteral("favorites")), QStringLiteral("A"));
    }

    void choiceSelectsPack_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("index");
        for (int i = 0; i < 5; ++i)
            QTest::newRow(qPrintable(LanguagePack::FixedCaptions()[i]))
                << LanguagePack::FixedCaptions()[i] << i;
        QTest::newRow("default 0") << QStringLiteral("0") << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("letter case differs") << QStringLiteral("украинский [Ua]") << 0;
        QTest::newRow("trailing space") << QStringLiteral("Китайский [Chi] ") << 0;
        QTest::newRow("translated caption") << QStringLiteral("Ukrainian [Ua]") << 0;
    }
    void choiceSelectsPack() {
        QFETCH(QString, choice);
        QFETCH(int, index);
        QCOMPARE(LanguagePack::IndexForChoice(choice), index);
    }

    void sharedPack() {
        SetLanguagePack(LanguagePack());
        QCOMPARE(LangText(QStringLiteral("Category"), QStringLiteral("public")), QStringLiteral("0"));
        SetLanguagePack(LanguagePack(
            LanguagePack::PackPath(LanguagePack::IndexForChoice(QStringLiteral("Английский [En]")))));
        QCOMPARE(LangText(QStringLiteral("Category"), QStringLiteral("back")), QStringLiteral("Back"));
        QCOMPARE(CurrentLanguagePack().LangText(QStringLiteral("Settings"), QStringLiteral("English")),
                 QStringLiteral("Английский [En]"));
    }
};

QTEST_GUILESS_MAIN(TestLanguagePack)
#include "test_language_pack.moc"
