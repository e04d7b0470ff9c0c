#include "web/ui/FormFiller.h"

#include "platform/ui/BrowserView.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <stdexcept>

namespace {

// Pages may name a field "forms", "elements" or "length", which shadows those properties on the
// document or the form; reading them through the prototypes' own getters sees past such names.
const QString DocumentAccess = QStringLiteral(R"JS(
const formsOf = Object.getOwnPropertyDescriptor(Document.prototype, 'forms').get;
const elementsOf = Object.getOwnPropertyDescriptor(HTMLFormElement.prototype, 'elements').get;
)JS");

// Arguments reach the page as JSON literals, never as spliced text.
QString JsonArgs(const QString& a, const QString& b) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{a, b}).toJson(QJsonDocument::Compact));
}

} // namespace

bool FillFormField(BrowserView& browser, const QString& name, const QString& text) {
    const QString script = DocumentAccess + QStringLiteral("const [name, text] = ") + JsonArgs(name, text) +
                           QStringLiteral(R"JS(;
const forms = formsOf.call(document);
const formCount = forms.length;
let filled = false;
if (formCount < 1)
    return false;
try {
    for (let i = 0; i < formCount; i++) {
        const elements = elementsOf.call(forms.item(i));
        const count = elements.length;
        for (let j = 0; j < count; j++) {
            const element = elements.item(j);
            if (element.name === name) {
                element.value = text;
                filled = true;
            }
        }
    }
} catch (e) {
    // A field that cannot be read or written ends the scan; what was filled stays filled.
}
return filled;
)JS");
    const QVariant result = browser.runScript(script);
    if (result.typeId() != QMetaType::Bool)
        throw std::runtime_error("The page gave no answer to filling the field \"" + name.toStdString() +
                                 "\"");
    return result.toBool();
}

int ClickSubmitButtons(BrowserView& browser) {
    const QString script = DocumentAccess + QStringLiteral(R"JS(
const forms = formsOf.call(document);
const formCount = forms.length;
let clicked = 0;
for (let i = 0; i < formCount; i++) {
    const elements = elementsOf.call(forms.item(i));
    const count = elements.length;
    for (let j = 0; j < count; j++) {
        const element = elements.item(j);
        if (element.type === 'submit') {
            element.click();
            clicked++;
        }
    }
}
return clicked;
)JS");
    const QVariant result = browser.runScript(script);
    bool ok = false;
    const int clicked = result.toInt(&ok);
    if (!ok)
        throw std::runtime_error("The page gave no answer to pressing its submit buttons");
    return clicked;
}
