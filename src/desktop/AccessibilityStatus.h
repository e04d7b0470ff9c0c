#pragma once

// Whether the desktop has assistive technology switched on: the session bus's accessibility
// service (org.a11y.Bus, interface org.a11y.Status) reports IsEnabled or ScreenReaderEnabled, or
// Qt is told to expose the program anyway (QT_LINUX_ACCESSIBILITY_ALWAYS_ON). Never starts the
// service and waits at most a quarter of a second for it.
bool DesktopAccessibilityEnabled();

// Lets the embedded Chromium expose the pages' content to screen readers when the desktop asks
// for it (Chromium leaves it off otherwise: it costs time on every page). Must run before the
// first web view is created.
void EnableWebAccessibilityIfWanted();
