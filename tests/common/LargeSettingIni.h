#pragma once
#include <QByteArray>

// A Setting.ini of about `size` bytes: the usual keys after a large section of stored links, the
// shape of a file that grew by hand or by joining files. The usual part holds "useOnTop=0" once.
inline QByteArray LargeSettingIni(qint64 size) {
    static const QByteArray usual =
        "[Language]\nuseLanguage=Русский [Rus]\n[Skin]\nuseSkin=Neutral (internal)\n"
        "[Proxy]\nuseProxy=0\nuseIP=\nusePort=\n[OnTop]\nuseOnTop=0\n[InTray]\n"
        "useInTray=1\n[SecretCode]\nuseSecretCode=759\nSelectSecretCode=1\n"
        "[Favorite]\nfa=ОРТ\nfb=НТВ\n[MyRadio]\nMyRNa1=Станция\n"
        "MyRa1=http://127.0.0.1:9/live\n";
    QByteArray out;
    if (size > 0) {
        out.reserve(size + usual.size());
        out += "[History]\n";
        for (qint64 n = 0; out.size() < size; ++n)
            out += "link" + QByteArray::number(n) + "=http://radio.example/stream/" + QByteArray::number(n) +
                   "?from=history\n";
    }
    return out + usual;
}
