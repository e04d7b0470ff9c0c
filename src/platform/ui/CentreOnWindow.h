#pragma once
class QWidget;

// Places a window over the centre of another (the main window), as its owner's dialogs are.
void CentreOnWindow(QWidget* window, const QWidget* over);
