#pragma once
#include <QString>

#include <array>
#include <memory>

// One language file, read only. Every text is read with the default "0".
class LanguagePack {
public:
    LanguagePack() = default; // no pack: every text is "0"
    explicit LanguagePack(const QString& path);
    QString LangText(const QString& section, const QString& key) const;

    // The five fixed language captions, in button order, and their pack files.
    static const std::array<QString, 5>& FixedCaptions();
    static const std::array<QString, 5>& FileNames();
    // The key, in section "Settings", of the localised caption of language `index`'s button.
    static const char* CaptionKey(int index);
    // The locale of Qt's own translations (file dialogs, text-field menus, standard buttons) for
    // language `index`.
    static QString QtLocale(int index);
    // Index (0..4) of the language a stored choice selects: exact comparison, Russian otherwise.
    static int IndexForChoice(const QString& choice);
    // AppDir() + "Language/" + the pack file of that index.
    static QString PackPath(int index);

private:
    struct Data;
    std::shared_ptr<const Data> data_;
};

// The pack opened at start-up, shared by every window.
void SetLanguagePack(LanguagePack pack);
const LanguagePack& CurrentLanguagePack();
QString LangText(const QString& section, const QString& key);
