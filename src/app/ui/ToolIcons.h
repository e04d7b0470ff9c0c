#pragma once
#include <QImage>

// Pictures of the main window's buttons (the radio strip's twins of the mini radio's buttons come
// from RadioIcons) and of the program, drawn at run time so that no image
// files have to travel with the program.
enum class ToolMotif {
    Gear,
    Power,
    Grid,
    Heart,
    Star,
    Dollar,
    Question,
    BoxArrow,
    BoxArrowBlue, // tool bar
    MiniRadio,
    MyRadio, // radio strip
    Program  // window / tray
};
inline constexpr int kToolMotifCount = static_cast<int>(ToolMotif::Program) + 1;

// Painted without the window system or fonts, so any thread may draw it.
QImage ToolPicture(ToolMotif motif);
