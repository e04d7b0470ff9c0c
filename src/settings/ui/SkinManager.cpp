#include "settings/ui/SkinManager.h"

#include "settings/ui/SkinStyle.h"

#include <QApplication>
#include <QColor>
#include <QPointer>
#include <QStyle>

#include <cmath>

namespace {

// The parameters one skin is drawn from.
struct SkinParams {
    QColor base;   // window background
    QColor field;  // edit fields, lists
    QColor text;   // ordinary text
    QColor accent; // selected tab, frames' titles, progress, pressed buttons
    QColor accentText;
    QColor frame; // borders of fields, frames and tabs
    int radius = 0;
    int borderWidth = 1;
    bool dark = false;
    bool verticalGradient = true;
    int gradientDepth = 110; // percentage for QColor::darker at the bottom of a button
};

QString css(const QColor& c) {
    return c.name(QColor::HexRgb);
}

QColor readableOn(const QColor& c) {
    return c.lightnessF() > 0.55 ? QColor(20, 20, 20) : QColor(245, 245, 245);
}

// The default look: plain greys, thin borders, nothing coloured.
SkinParams neutralParams() {
    SkinParams p;
    p.base = QColor(0xf0, 0xf0, 0xf0);
    p.field = QColor(0xff, 0xff, 0xff);
    p.text = QColor(0x1e, 0x1e, 0x1e);
    p.accent = QColor(0x8a, 0x8a, 0x8a);
    p.accentText = QColor(0xff, 0xff, 0xff);
    p.frame = QColor(0xa8, 0xa8, 0xa8);
    p.radius = 2;
    p.borderWidth = 1;
    p.verticalGradient = true;
    p.gradientDepth = 108;
    return p;
}

// Every other skin: hues spread by the golden angle so that neighbours in the list differ clearly;
// lightness, saturation, corner radius, border width and gradient vary on short cycles of
// different lengths, so no two skins share all of them. The font stays as it is and borders stay
// thin: the windows' captions are sized for the plain font, and a bold face or a thick border
// would cut them off.
SkinParams generatedParams(int index) {
    SkinParams p;
    const double hue = std::fmod(index * 137.50776405, 360.0) / 360.0;
    const bool dark = index % 4 == 3;
    p.dark = dark;
    if (dark) {
        p.base = QColor::fromHsvF(hue, 0.30 + 0.08 * (index % 3), 0.20 + 0.05 * (index % 3));
        p.field = QColor::fromHsvF(hue, 0.25, 0.12 + 0.03 * (index % 2));
        p.text = QColor::fromHsvF(hue, 0.08, 0.94);
        p.accent = QColor::fromHsvF(std::fmod(hue + 0.08, 1.0), 0.60, 0.88);
    } else {
        p.base = QColor::fromHsvF(hue, 0.10 + 0.07 * (index % 3), 0.95 - 0.05 * (index % 2));
        p.field = QColor::fromHsvF(hue, 0.03, 1.0);
        p.text = QColor::fromHsvF(hue, 0.60, 0.18);
        p.accent = QColor::fromHsvF(hue, 0.55 + 0.10 * (index % 3), 0.62 + 0.08 * (index % 2));
    }
    p.accentText = readableOn(p.accent);
    p.frame = dark ? p.base.lighter(170) : p.base.darker(135);
    p.radius = (index % 5) * 3;
    p.borderWidth = 1 + index % 2;
    p.verticalGradient = index % 7 < 4;
    p.gradientDepth = 104 + (index % 6) * 6;
    return p;
}

SkinParams paramsFor(const QString& name) {
    const int index = SkinManager::Names().indexOf(name);
    if (index < 0 || name == SkinManager::DefaultName())
        return neutralParams();
    return generatedParams(index);
}

QString gradient(const QColor& top, const QColor& bottom, bool vertical) {
    return QStringLiteral("qlineargradient(x1:0, y1:0, x2:%1, y2:%2, stop:0 %3, stop:1 %4)")
        .arg(vertical ? 0 : 1)
        .arg(vertical ? 1 : 0)
        .arg(css(top), css(bottom));
}

QString styleSheetFor(const SkinParams& p) {
    const QString buttonFace =
        gradient(p.base.lighter(112), p.base.darker(p.gradientDepth), p.verticalGradient);
    const QString tabFace = gradient(p.base.lighter(106), p.base.darker(p.gradientDepth + 4), true);
    const QString chunk = gradient(p.accent.lighter(120), p.accent.darker(115), !p.verticalGradient);
    const QColor disabled = p.text.lightnessF() > 0.5 ? p.text.darker(170) : p.text.lighter(300);
    const int innerRadius = p.radius / 2;
    QString s;
    s += QStringLiteral("QWidget { background-color: %1; color: %2; }\n").arg(css(p.base), css(p.text));
    s += QStringLiteral("QLabel, QCheckBox, QRadioButton { background: transparent; }\n");
    s += QStringLiteral("QPushButton { background: %1; border: %2px solid %3; border-radius: %4px; "
                        "padding: 2px 4px; }\n")
             .arg(buttonFace)
             .arg(p.borderWidth)
             .arg(css(p.frame))
             .arg(p.radius);
    s += QStringLiteral("QPushButton:hover { border-color: %1; }\n").arg(css(p.accent));
    s += QStringLiteral("QPushButton:pressed { background: %1; color: %2; }\n")
             .arg(css(p.accent), css(p.accentText));
    s += QStringLiteral("QPushButton:disabled { color: %1; }\n").arg(css(disabled));
    // The keyboard's focus mark (set by KeyboardGroups): a dashed frame in an ink that stands
    // out from what it surrounds; the tool buttons of dark skins sit on a light plate.
    s += QStringLiteral(
             "QPushButton[keyFocus=\"true\"], QScrollBar[keyFocus=\"true\"] { border: 2px dashed %1; }\n")
             .arg(css(p.text));
    s += QStringLiteral("QToolButton[keyFocus=\"true\"] { border: 2px dashed %1; border-radius: 6px; }\n")
             .arg(css(p.dark ? p.base : p.text));
    // The tool buttons' pictures are drawn in dark ink: on a dark skin they sit on a light plate.
    // Their captions ("…") take the same dark ink.
    if (p.dark)
        s += QStringLiteral(
                 "QToolButton { background: %1; color: %3; border: 1px solid %2; border-radius: 6px; }\n")
                 .arg(css(p.text), css(p.frame), css(p.base));
    s += QStringLiteral("QLineEdit, QComboBox { background: %1; border: %2px solid %3; border-radius: %4px; "
                        "padding: 1px 4px; selection-background-color: %5; selection-color: %6; }\n")
             .arg(css(p.field))
             .arg(p.borderWidth)
             .arg(css(p.frame))
             .arg(innerRadius)
             .arg(css(p.accent), css(p.accentText));
    // The sheet's window colour would otherwise paint over the highlight of menus and lists: the item
    // under the keyboard or the mouse must stand out.
    s += QStringLiteral("QMenu { border: 1px solid %1; }\n"
                        "QMenu::item { padding: 3px 20px 3px 22px; background: transparent; }\n"
                        "QMenu::item:selected { background: %2; color: %3; }\n"
                        "QMenu::item:disabled { color: %4; }\n"
                        "QMenu::separator { height: 1px; background: %1; margin: 3px 6px; }\n"
                        "QAbstractItemView { selection-background-color: %2; selection-color: %3; }\n")
             .arg(css(p.frame), css(p.accent), css(p.accentText), css(disabled));
    s += QStringLiteral("QTabWidget::pane { border: %1px solid %2; border-radius: %3px; }\n")
             .arg(p.borderWidth)
             .arg(css(p.frame))
             .arg(innerRadius);
    s += QStringLiteral("QTabBar::tab { background: %1; border: 1px solid %2; padding: 3px 4px; "
                        "border-top-left-radius: %3px; border-top-right-radius: %3px; }\n")
             .arg(tabFace, css(p.frame))
             .arg(p.radius);
    s += QStringLiteral("QTabBar::tab:selected { background: %1; color: %2; }\n")
             .arg(css(p.accent), css(p.accentText));
    s += QStringLiteral("QGroupBox { border: %1px solid %2; border-radius: %3px; margin-top: 8px; "
                        "padding-top: 4px; }\n")
             .arg(p.borderWidth)
             .arg(css(p.frame))
             .arg(p.radius);
    s += QStringLiteral(
             "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; color: %1; }\n")
             .arg(css(p.accent));
    // Radio indicators are drawn by the sheet itself; the check box's is drawn by SkinStyle from
    // the palette (a sheet cannot draw a tick), so only its size is set here.
    const QString dot =
        QStringLiteral("qradialgradient(cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5, stop:0 %1, "
                       "stop:0.5 %1, stop:0.6 %2, stop:1 %2)")
            .arg(css(p.accent), css(p.field));
    s += QStringLiteral("QCheckBox::indicator { width: 12px; height: 12px; }\n");
    s += QStringLiteral("QRadioButton::indicator { width: 12px; height: 12px; border: 1px solid %1; "
                        "background: %2; border-radius: 7px; }\n")
             .arg(css(p.frame), css(p.field));
    s += QStringLiteral("QRadioButton::indicator:checked { background: %1; border-color: %2; }\n")
             .arg(dot, css(p.accent.darker(130)));
    s += QStringLiteral("QProgressBar { background: %1; border: %2px solid %3; border-radius: %4px; "
                        "text-align: center; }\n")
             .arg(css(p.field))
             .arg(p.borderWidth)
             .arg(css(p.frame))
             .arg(innerRadius);
    s += QStringLiteral("QProgressBar::chunk { background: %1; }\n").arg(chunk);
    // Volume bars: the handle in the accent colour, so its position shows in every skin.
    s += QStringLiteral("QScrollBar { background: %1; border: 1px solid %2; }\n")
             .arg(css(p.field), css(p.frame));
    s += QStringLiteral("QScrollBar:horizontal { margin: 0 14px; }\n"
                        "QScrollBar:vertical { margin: 14px 0; }\n");
    s += QStringLiteral("QScrollBar::handle { background: %1; border: 1px solid %2; border-radius: 2px; }\n"
                        "QScrollBar::handle:horizontal { min-width: 16px; }\n"
                        "QScrollBar::handle:vertical { min-height: 16px; }\n")
             .arg(css(p.accent), css(p.accent.darker(130)));
    s += QStringLiteral("QScrollBar::add-line, QScrollBar::sub-line { background: %1; border: 1px solid %2; "
                        "subcontrol-origin: margin; }\n")
             .arg(buttonFace, css(p.frame));
    s += QStringLiteral("QScrollBar::add-line:horizontal { width: 13px; subcontrol-position: right; }\n"
                        "QScrollBar::sub-line:horizontal { width: 13px; subcontrol-position: left; }\n"
                        "QScrollBar::add-line:vertical { height: 13px; subcontrol-position: bottom; }\n"
                        "QScrollBar::sub-line:vertical { height: 13px; subcontrol-position: top; }\n");
    s += QStringLiteral("QScrollBar::left-arrow, QScrollBar::right-arrow, QScrollBar::up-arrow, "
                        "QScrollBar::down-arrow { width: 3px; height: 3px; background: %1; }\n")
             .arg(css(p.text));
    s += QStringLiteral("QScrollBar::add-page, QScrollBar::sub-page { background: none; }\n");
    return s;
}

QPalette paletteFor(const SkinParams& p) {
    QPalette pal;
    pal.setColor(QPalette::Window, p.base);
    pal.setColor(QPalette::WindowText, p.text);
    pal.setColor(QPalette::Base, p.field);
    pal.setColor(QPalette::AlternateBase, p.base.lighter(105));
    pal.setColor(QPalette::Text, p.text);
    pal.setColor(QPalette::PlaceholderText, p.text.lighter(250));
    pal.setColor(QPalette::Button, p.base.lighter(108));
    pal.setColor(QPalette::ButtonText, p.text);
    pal.setColor(QPalette::BrightText, p.accentText);
    pal.setColor(QPalette::Highlight, p.accent);
    pal.setColor(QPalette::HighlightedText, p.accentText);
    pal.setColor(QPalette::ToolTipBase, p.field);
    pal.setColor(QPalette::ToolTipText, p.text);
    pal.setColor(QPalette::Light, p.base.lighter(130));
    pal.setColor(QPalette::Midlight, p.base.lighter(115));
    pal.setColor(QPalette::Mid, p.frame);
    pal.setColor(QPalette::Dark, p.frame.darker(130));
    pal.setColor(QPalette::Shadow, p.frame.darker(200));
    pal.setColor(QPalette::Link, p.accent);
    const QColor disabled = p.text.lightnessF() > 0.5 ? p.text.darker(170) : p.text.lighter(300);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Disabled, role, disabled);
    return pal;
}

} // namespace

SkinManager::Look SkinManager::LookFor(const QString& name) {
    const SkinParams p = paramsFor(name);
    return Look{paletteFor(p), styleSheetFor(p)};
}

void SkinManager::apply(const QString& name) {
    skinName_ = name;
    const Look look = LookFor(name);
    // Installed once, under the first sheet; the application owns it from then on.
    static QPointer<QStyle> style;
    if (!style) {
        style = new SkinStyle;
        QApplication::setStyle(style);
    }
    if (qApp->styleSheet() == look.styleSheet && QApplication::palette() == look.palette)
        return; // already showing: a repolish of every widget would change nothing
    // Palette first, then the sheet: setting the sheet repolishes every existing widget once.
    QApplication::setPalette(look.palette);
    qApp->setStyleSheet(look.styleSheet);
}
