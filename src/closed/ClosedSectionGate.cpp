#include "closed/ClosedSectionGate.h"

#include "platform/MessageSink.h"

void ClosedSectionGate::Open() {
    if (d_.askForCode())
        d_.showPrompt();
    else
        d_.showClosedLayout();
}

bool ClosedSectionGate::Submit(const QString& entry) {
    if (entry == d_.code()) {
        d_.showClosedLayout();
        return true;
    }
    d_.messages->show(d_.langText(QStringLiteral("Message"), QStringLiteral("incorrectpassword")));
    return false;
}
