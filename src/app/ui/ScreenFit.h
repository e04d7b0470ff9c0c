#pragma once

// The main window has a fixed size in the desktop's logical pixels. At a large desktop scale on a
// small screen (150 % on 1366 x 768) it would run off the screen, title bar and all. Then the
// program starts itself once more, with Qt's scale factor lowered just enough for the window and
// its frame to fit: the whole window scales down and every control keeps its place. Returns when
// the window fits (or the restart could not be made); call it once the application object exists.
void RestartScaledToFitIfNeeded(char** argv);
