#pragma once
#include <QString>

#include <functional>

// Reads one text of the language pack by section and key; "0" when the pack, section or key is
// missing. Core code takes it as a function so that it needs no language pack of its own.
using LangLookup = std::function<QString(const QString& section, const QString& key)>;
