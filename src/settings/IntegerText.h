#pragma once
#include <QString>

#include <optional>

// The integer conversion used for stored numbers and typed minutes: an optional sign, then
// decimal digits or "0x" and hexadecimal digits, nothing else (no blanks). A decimal value
// must fit in 32 bits; a hexadecimal one may use all 32 bits and wraps like a 32-bit word.
std::optional<qint32> ParseInt32(const QString& text);
