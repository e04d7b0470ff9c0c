#include "settings/ui/MainWindowTexts.h"

#include "navigation/CategoryBar.h"
#include "settings/LanguagePack.h"
#include "settings/ui/MainWindowSurface.h"

#include <utility>

void WriteMainWindowTexts(MainWindowSurface& main) {
    const auto text = [](const char* section, const char* key) {
        return LangText(QLatin1String(section), QLatin1String(key));
    };
    for (const CategoryButton& b : CategoryBar::Buttons())
        main.setCategoryCaption(CategoryBar::ControlName(b.number),
                                text(CategoryBar::kLanguageSection, CategoryBar::StartKey(b)));
    const std::pair<const char*, QString> hints[] = {
        {"sSpeedButton1", text("Hint", "Settings")},  {"sSpeedButton2", text("Settings", "turnoff")},
        {"sSpeedButton3", text("Hint", "TVProgram")}, {"sSpeedButton4", text("Hint", "Closedsection")},
        {"sSpeedButton5", text("Hint", "favorites")}, {"sSpeedButton6", text("Hint", "Donations")},
    };
    for (const auto& [buttonName, hint] : hints)
        main.setToolHint(QLatin1String(buttonName), hint);
    main.setAddFavoriteCaption(text("Message", "AddtoFavorites"));
}
