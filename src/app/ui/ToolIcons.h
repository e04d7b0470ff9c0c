#pragma once
#include <QIcon>

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

QIcon ToolIcon(ToolMotif motif);
