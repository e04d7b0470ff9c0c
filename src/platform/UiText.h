#pragma once
#include "platform/LangLookup.h"

#include <QString>

// A text the user sees, from the language pack chosen at start-up. The keys of the sections added
// after the first four may be missing from an older or hand-made pack: then the built-in Russian
// text shows instead of "0".
QString UiText(const char* section, const char* key, const QString& builtIn);

// The number form of a counted word in the chosen language: the pack's [Plural] rule picks one of
// the three keys `key`1 (one), `key`2 (few), `key`5 (many); built-in Russian forms otherwise.
QString UiPlural(const char* section, const char* key, long long n, const QString& one, const QString& few,
                 const QString& many);

// Installed by the settings layer when it opens the pack; empty means "no pack" (built-in texts).
void SetUiTextSource(LangLookup lookup);
