#pragma once

class GridSurface;

// Puts the twelve closed channels into the first twelve grid slots, hides the other slots and the
// country headings, and leaves everything else on the main window as it is.
void ShowClosedLayout(GridSurface& grid);
