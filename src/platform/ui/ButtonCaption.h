#pragma once
#include <QString>

class QAbstractButton;

// A button caption is a channel's identity and must show and read back exactly as set: "&" is
// displayed as "&" (not as a mnemonic), and spaces are kept. The raw caption is held beside the
// displayed text, so read it back with ButtonCaption, never with text().
void SetButtonCaption(QAbstractButton* button, const QString& caption);
QString ButtonCaption(const QAbstractButton* button);
// The text a widget needs to display `caption` literally (each "&" doubled).
QString EscapeMnemonic(const QString& caption);
