#include "radio/MyRadioKeys.h"

namespace {
QChar slotLetter(int slot) {
    return QChar(u'a' + (slot - 1));
}
} // namespace

namespace MyRadioKeys {
QString Section() {
    return QStringLiteral("MyRadio");
}
QString EncodingSection() {
    return QStringLiteral("RadioEncoding");
}
QString NameKey(int slot) {
    return QStringLiteral("MyRN") + slotLetter(slot);
}
QString LinkKey(int slot) {
    return QStringLiteral("MyR") + slotLetter(slot);
}
} // namespace MyRadioKeys
