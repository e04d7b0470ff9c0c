#pragma once

class MainWindowSurface;

// Writes the current language pack's start-up captions, hints and menu text onto the main window.
void WriteMainWindowTexts(MainWindowSurface& main);
