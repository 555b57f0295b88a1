#pragma once
// The state of one RenderHtmlText call, shared by the line layout (MiniHTMLRender.cpp) and the
// images and in-text controls it places (MiniHTMLItems.cpp). Not for use outside the unit.

#include "controls/MiniHTML.h"

#include <memory>
#include <vector>

namespace MiniHtml {

enum TAlign { alLeftAlign, alRightAlign, alCenterAlign };

// Everything one call keeps while it lays out its lines; released when the call returns.
struct TRenderState {
    explicit TRenderState(THtmlRenderParams &AParams) : P(AParams), C(AParams.Canvas) {}
    THtmlRenderParams &P;
    TCanvas *C;

    TFont BaseFont;
    TFont MeasureFont;
    TFont DrawFont;
    TColor EntryBrushColor = clNone;
    unsigned DrawFlags = 0;
    bool RightToLeftReading = false;
    bool Themed = false;
    int GhHeight = 0;

    bool InAnchor = false;
    bool AnchorHitPending = false;
    bool AnchorRectOpen = false; // HitAnchorRect waits for its line's bottom
    int AnchorNumber = 0;        // number of the anchor being laid out
    int AnchorStartX = 0;
    int AnchorStartTop = 0;
    bool AnchorStartedOnLine = false;
    UnicodeString AnchorRef;
    UnicodeString AnchorTitle;
    TColor HoverSavedBrush = clNone;
    TColor HoverSavedFont = clNone;

    bool Hidden = false;
    bool Shadow = false;
    bool Sub = false;
    bool Sup = false;
    bool ErrorMark = false;
    bool ParaBack = false;
    TColor FontBackSaved = clNone;
    TColor ParaBackSaved = clNone;
    TColor HiSavedFont = clNone;
    TColor HiSavedBrush = clNone;
    int ListLevel = 0;
    TRect FocusRect;
    int HoveredImage = -1;
    int ImageCounter = 0;

    // The extents of the line's visible runs as the measure pass found them, in order, for the
    // draw pass that walks the same runs again.
    std::vector<TSize> RunExtents;
    // Buffers kept for the whole call: the plain runs waiting to be drawn as one text, and the
    // upper-cased tag being read.
    QString PendingText;
    QString TagUpper;

    // Fonts made by rotation tags, with the font each replaced; all are gone when the call ends.
    struct TRotation {
        HFONT Rotated;
        std::unique_ptr<TFont> Previous;
    };
    std::vector<TRotation> Rotations;
};

// One pass over one line.
struct TLine {
    TRect R;                 // the line rectangle of the pass
    bool Measure = false;
    int Width = 0;           // the x offset: what the pass has laid out so far
    int X = 0;               // the drawing position
    int Height = 0;
    int SubExtra = 0;
    int SupExtra = 0;
    int ImageRaise = 0;
    bool Full = false;       // an item or a second list item waits for the next line
    bool Done = false;
    bool ControlHit = false;
    bool AnchorHit = false;
};

bool Drawing(const TRenderState &S, const TLine &L);
// The value between the first two double quotes after Name in Upper (the upper-cased tag) taken
// from Source (the same text in its own letter case); empty when missing.
UnicodeString TagValue(QStringView Source, QStringView Upper, QLatin1String Name);
// A number of the markup kept within Low..High, so that no size or position can overflow.
int ClampValue(int Value, int Low, int High);

// The IMG and CONTROL tags; Tag runs from "<" to ">" (or to the end of the text).
void LayoutImage(TRenderState &S, TLine &L, const UnicodeString &Tag);
void LayoutControl(TRenderState &S, TLine &L, const UnicodeString &Tag);
// A picture of the picture container (a name) or of the picture cache (a URL); nullptr when none.
THTMLPicture *FindHtmlPicture(TRenderState &S, const UnicodeString &Source);
// Places an item of the given size on the line; false when the line is full.
bool PlaceItem(TLine &L, int Width, int Height);

} // namespace MiniHtml
