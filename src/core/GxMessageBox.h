#pragma once

// Shows a message box with no owner window, the caption, an OK button and the information icon; the
// text is a wide format of GxString::Format. Where no display can show a box (headless runs), the
// caption and text go to standard error instead and the call returns at once.
// Returns 1 (OK) once the box was shown or the text written, 0 when neither could be done.
int GxMessageBox(const wchar_t* caption, const wchar_t* format, ...);

// The same box for the moments when nothing the player keeps is at stake (start-up, the device's
// creation, the last box of the exit): it waits in a loop of its own where no main loop reads the quit
// flag, so a termination, interrupt or hang-up signal while it is open ends the program at once with status 0
// instead of waiting for a click (a logout or a service stop does not wait out its timeout).
int GxMessageBoxEndingOnSignal(const wchar_t* caption, const wchar_t* format, ...);
