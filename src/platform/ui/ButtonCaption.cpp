#include "platform/ui/ButtonCaption.h"

#include <QAbstractButton>
#include <QVariant>

namespace {
constexpr const char* kCaptionProperty = "zelmoCaption";
}

QString EscapeMnemonic(const QString& caption) {
    QString text = caption;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return text;
}

void SetButtonCaption(QAbstractButton* button, const QString& caption) {
    button->setProperty(kCaptionProperty, caption);
    button->setText(EscapeMnemonic(caption));
}

QString ButtonCaption(const QAbstractButton* button) {
    const QVariant v = button->property(kCaptionProperty);
    if (v.isValid())
        return v.toString();
    // A caption given at design time with setText: undo the escaping.
    QString text = button->text();
    text.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return text;
}
