#pragma once
// The grid's glyph pictures (check boxes, radio buttons, node buttons, the filter button), kept
// as BMP files among the program's named pictures. Private to the grid's drawing code.

#include "platform/Graphics.h"

namespace ExtGridGlyphs {

// Makes the grid's pictures known to the named-picture lookup (once).
void Ensure();
// Draws the named glyph transparent (its lower-left pixel's colour) at (X, Y); nothing for an
// unknown name.
void DrawGlyph(TCanvas *Canvas, int X, int Y, const UnicodeString &Name);
// Draws it at (X, Y) with its key colour (the top-left pixel's) replaced by Background.
void DrawGlyphOn(TCanvas *Canvas, int X, int Y, const UnicodeString &Name, TColor Background);

} // namespace ExtGridGlyphs
