#pragma once

#include <string>

// A modal information box with an OK button over SDL. Headless (no display, or the offscreen or dummy
// video driver) the caption and text are written to standard error instead, so a run without a
// display never waits for a click. Texts are UTF-8. A box goes with the program: when the program ends
// (a signal, a kill) while its box is open, the box closes too.
class PfMessageBox
{
public:
    // True once the box was closed or the text written to standard error.
    static bool Show(const std::string& caption, const std::string& text);
    // True when a message box could be shown on this machine.
    static bool CanShow();
    // The character-type locale the box is drawn under: null when the environment already names a UTF-8
    // one, else "C.UTF-8". SDL's X11 box draws our UTF-8 text with the X font set of the environment's
    // locale; under a locale that is not UTF-8 (none set at all, as on many minimal systems) X converts
    // the text to that locale's character sets and Japanese comes out as mojibake.
    static const char* LocaleForBox();
};
