#pragma once
#include <QString>

class BrowserView;

// Writes text into every element called name (exact, case-sensitive) of every form of the
// browser's document, in document order. Returns whether any element received it; an element that
// fails ends the scan quietly with the result so far. Throws std::runtime_error when the browser
// has no document or the page does not answer.
bool FillFormField(BrowserView& browser, const QString& name, const QString& text);

// Clicks every element of type "submit" of every form, in document order. Returns how many were
// clicked. Any failure (no document, a page error) throws std::runtime_error.
int ClickSubmitButtons(BrowserView& browser);
