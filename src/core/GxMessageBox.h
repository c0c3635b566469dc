#pragma once

// Shows a message box with no owner window, the caption, an OK button and the information icon; the
// text is a wide format of GxString::Format. Where no display can show a box (headless runs), the
// caption and text go to standard error instead and the call returns at once.
// Returns 1 (OK) once the box was shown or the text written, 0 when neither could be done.
int GxMessageBox(const wchar_t* caption, const wchar_t* format, ...);
