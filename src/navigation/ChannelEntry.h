#pragma once
#include <QByteArray>
#include <QString>

enum class Target { MainView, KorbinaForm, OvegoPlayerForm, Browser2Form, SystemBrowser };

// One row of a channel list. Names are compared whole and exactly.
struct ChannelEntry {
    QString Name;
    Target target = Target::MainView;
    QString Page;       // relative path with backslashes ("channel\public\ort.htm") or a full URL
    QString Guide;      // relative programme page path (main list only); empty in the favourites list
    QByteArray Stream;  // radio entries only: the stream URL as 8-bit text

    bool isRadio() const { return !Stream.isEmpty(); }
    bool hasLocalPage() const { return Page.startsWith(QStringLiteral("channel\\")); }
};

QString TargetName(Target t); // "MainView", "KorbinaForm", ...
