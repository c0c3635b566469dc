#pragma once

// The game's global fonts: the six GDI font maps (g_GDIFontMaps) and the eight bitmap fonts
// (g_FontDataTable). Start-up releases them before loading them; shut-down releases them while the
// device still exists.

// Empties every GDI font map (glyphs and glyph pages; size and face stay) and releases every bitmap font.
void ReleaseGlobalFonts();
