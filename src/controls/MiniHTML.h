#pragma once
// Mini-HTML: the small markup language of cells, hints, footers and drop-down items, its
// renderer and the routines that edit such text.
//
// MiniHTMLText.cpp holds the text routines (colours, entities, tags, highlighting, in-text
// control values), MiniHTMLRender.cpp the renderer, MiniHTMLItems.cpp the images and in-text
// controls that the renderer places on a line, and the drawing helpers they share.
//
// Positions are 1-based and 0 means "not found", as in the rest of the runtime. No routine here
// raises: markup is outside input and bad markup degrades to something drawable.

#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Messages.h"
#include "platform/WinGdi.h"

#include <QString>
#include <QStringView>

class TCustomImageList;
class THTMLPicture;
class THTMLPictureCache;
class TPictureContainer;

// ---------------------------------------------------------------------------------------------
// Colours and numbers

// The colour names of the markup ("clred" .. "clinfobk"); exact match, 0 for an unknown name.
TColor HtmlColorFromName(const UnicodeString &Name);
// "#RRGGBB" (upper-case hex digits) as 0x00BBGGRR; missing pairs count as 0.
TColor HtmlColorFromHex(const UnicodeString &Text);
// Two upper-case hex digits as 0..255; 0 for a text shorter than 2.
int HexPairValue(const UnicodeString &Pair);
// The value of the leading number of Text (sign, "$" or "0x" hex, decimal), ignoring whatever
// follows it; 0 when there is none. Values past the integer range are clamped.
int IntPrefixValue(QStringView Text);

// The colours of the HI tag (both 0 until set).
void SetHtmlHighlightColors(TColor Color, TColor TextColor);
TColor HtmlHighlightColor();
TColor HtmlHighlightTextColor();

// ---------------------------------------------------------------------------------------------
// Searching and replacing

// Position of Sub in S, ASCII letters compared without case.
int PosNoCase(const UnicodeString &Sub, const UnicodeString &S);
// Position of Sub (given in upper case) in S upper-cased (ASCII); also stored in Pos.
int PosUpper(const UnicodeString &Sub, const UnicodeString &S, int &Pos);
// Replaces the first occurrence of Old (found by PosNoCase) by New; false when there is none.
bool ReplaceFirstNoCase(const UnicodeString &Old, const UnicodeString &New, UnicodeString &S);
// ASCII upper-casing (the only folding the markup's tag and attribute names get).
UnicodeString AsciiUpper(const UnicodeString &S);

// ---------------------------------------------------------------------------------------------
// Entities

// One left-to-right pass: "&lt;", "&gt;", "&amp;", "&quot;" and, with Accents, the accented
// letter entities become their characters; entities are matched with their exact letter case, so
// whatever EncodeHtmlEntities wrote comes back unchanged.
UnicodeString DecodeHtmlEntities(const UnicodeString &Text, bool Accents);
// "&", the double quote, "<", ">" and, with Accents, the accented letters as entities.
UnicodeString EncodeHtmlEntities(const UnicodeString &Text, bool Accents);
UnicodeString SpacesToNbsp(const UnicodeString &Text);

// ---------------------------------------------------------------------------------------------
// Tags

// The text without tags; "<BR>" and "<HR>" become line breaks, entities stay, and a "<" that
// no ">" follows is kept with the rest of the text.
UnicodeString StripHtmlTags(const UnicodeString &Text);
UnicodeString RemoveTags(const UnicodeString &Text);
// The raw position at which the N-th visible character's insertion point lies; Length + 1 for one
// past the last visible character, 0 beyond.
int VisibleToRawIndex(const UnicodeString &Text, int N);
// Searches Sub in S after its first Offset characters; Offset + the found position, or 0.
int FindTextFrom(const UnicodeString &Sub, const UnicodeString &S, int Offset, bool CaseSensitive, int &Pos);
// Encloses every match of Search in the visible text in "<Tag>" .. "</Tag>", across tags.
void HighlightMatches(const UnicodeString &Text, const UnicodeString &Search, const UnicodeString &Tag,
                      bool CaseSensitive, UnicodeString &Result);
UnicodeString RemoveHighlightTags(const UnicodeString &Text, const UnicodeString &Tag);
// Every "<#" loses its "<" and the first ">" after it.
UnicodeString UnwrapHashTags(const UnicodeString &Text);
// Carriage returns become "<BR>" (Break) or go; line feeds go.
UnicodeString LineBreaksToBR(const UnicodeString &Text, bool Break);
UnicodeString PasswordMask(const UnicodeString &Text);

// ---------------------------------------------------------------------------------------------
// In-text controls ("<CONTROL TYPE="EDIT" ID="x" VALUE="..." WIDTH="80">")

void ParseControlTag(const UnicodeString &TagText, UnicodeString &Type, UnicodeString &ID, UnicodeString &Value,
                     UnicodeString &Width, UnicodeString &Height, UnicodeString &Prop, UnicodeString &MaxLen);
bool HasControlTag(const UnicodeString &Text);
// The next control after the one with ID (the first of the text for an empty ID) that takes
// typed input (not BUTTON, CHECK or RADIO); empty when there is none.
UnicodeString NextEditControlID(const UnicodeString &Text, const UnicodeString &ID);
UnicodeString ResetRadioControls(const UnicodeString &Text);
bool GetControlValue(const UnicodeString &Text, const UnicodeString &ID, UnicodeString &Value);
UnicodeString GetControlProp(const UnicodeString &Text, const UnicodeString &ID);
int GetControlMaxLen(const UnicodeString &Text, const UnicodeString &ID);
// Rewrites the control's tag with the new value; false (Text unchanged) when no control has ID.
bool SetControlValue(UnicodeString &Text, const UnicodeString &ID, const UnicodeString &NewValue);

// ---------------------------------------------------------------------------------------------
// Drawing helpers of the renderer

void StretchBitmapToRect(TCanvas *Canvas, const TRect &R, TBitmap *Bitmap);
bool IsDirectory(const UnicodeString &Path);
// The shell's icon of Path (or of the icon index Path holds) from the system image list, drawn
// at (X, Y) when Draw (stretched by Scale when Print); Size receives the icon size.
void DrawSystemIcon(TCanvas *Canvas, int X, int Y, const UnicodeString &Path, bool Large, bool Draw, bool Print,
                    double Scale, TSize &Size);
// Selects a font of the canvas font's attributes turned by Degrees and returns it; Previous
// receives a copy of the font it replaces. RestoreRotatedFont puts Previous back and deletes the
// rotated font.
HFONT SelectRotatedFont(TCanvas *Canvas, int Degrees, TFont &Previous);
void RestoreRotatedFont(TCanvas *Canvas, HFONT Rotated, const TFont &Previous);
unsigned HtmlDrawTextFlags(unsigned Flags, bool RightToLeft);
// Whether the operating system allows themed drawing of in-text controls (set once at start).
bool CheckThemeOSVersion();
// ---------------------------------------------------------------------------------------------
// The renderer

// The arguments of RenderHtmlText, named and ordered as the renderer takes them; the fields
// marked "out" are written by the call.
struct THtmlRenderParams {
    TCanvas *Canvas = nullptr;
    UnicodeString Text;
    TRect Rect;
    TCustomImageList *Images = nullptr;
    int HitX = -1;
    int HitY = -1;
    int FocusAnchorIndex = -1; // counted from 0; -1 for none
    int HoverAnchorIndex = 0;  // counted from 1
    int ShadowOffset = 1;
    bool FindControl = false;
    bool MeasureOnly = false;
    bool PrintMode = false;
    bool Selected = false;
    bool BlinkVisible = true;
    bool HoverOnlyStyle = false;
    bool WordWrap = false;
    bool MouseDown = false;
    double PrintScale = 1.0;
    TColor AnchorColor = clBlue;
    TColor HoverBackColor = clNone;
    TColor HoverTextColor = clNone;
    TColor ShadowColor = clGray;
    UnicodeString HitAnchor;      // out; left as it is when nothing is hit
    UnicodeString PlainText;      // out
    UnicodeString FocusHref;      // out
    UnicodeString HitTitle;       // out
    int ExtentX = 0;              // out
    int ExtentY = 0;              // out
    int AnchorCount = 0;          // out
    int HitAnchorIndex = -1;      // out
    TRect HitAnchorRect;          // out; left as it is when no anchor is hit
    TRect ControlRect;            // out
    UnicodeString ControlID;      // in with FindControl, out
    UnicodeString ControlValue;   // out
    UnicodeString ControlType;    // out
    THTMLPictureCache *PictureCache = nullptr;
    TPictureContainer *Pictures = nullptr;
    HWND ThemeWindow = nullptr;
    TBiDiMode BiDiMode = bdLeftToRight;
};

// Lays the markup out in Params.Rect and draws it, measures it (MeasureOnly) or finds an in-text
// control (FindControl), answering what lies under (HitX, HitY). True when the point is on an
// in-text control or an image inside an anchor (with FindControl also on anchor text); always
// false with MeasureOnly. The canvas's font, pen and brush are as before when it returns.
bool RenderHtmlText(THtmlRenderParams &Params);

// The same with the arguments one by one, in the same order.
bool RenderHtmlText(TCanvas *Canvas, const UnicodeString &Text, const TRect &Rect, TCustomImageList *Images,
                    int HitX, int HitY, int FocusAnchorIndex, int HoverAnchorIndex, int ShadowOffset,
                    bool FindControl, bool MeasureOnly, bool PrintMode, bool Selected, bool BlinkVisible,
                    bool HoverOnlyStyle, bool WordWrap, bool MouseDown, double PrintScale, TColor AnchorColor,
                    TColor HoverBackColor, TColor HoverTextColor, TColor ShadowColor, UnicodeString &HitAnchor,
                    UnicodeString &PlainText, UnicodeString &FocusHref, UnicodeString &HitTitle, int &ExtentX,
                    int &ExtentY, int &AnchorCount, int &HitAnchorIndex, TRect &HitAnchorRect, TRect &ControlRect,
                    UnicodeString &ControlID, UnicodeString &ControlValue, UnicodeString &ControlType,
                    THTMLPictureCache *PictureCache, TPictureContainer *Pictures, HWND ThemeWindow,
                    TBiDiMode BiDiMode);
