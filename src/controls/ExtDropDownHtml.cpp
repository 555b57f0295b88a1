// Mini-HTML captions of the drop-down controls: the renderer with the drop-downs' fixed choices.

#include "controls/ExtDropDown.h"

#include "controls/MiniHTML.h"

void DrawHtmlText(TCanvas *Canvas, const UnicodeString &Text, const TRect &R, TCustomImageList *Images, bool Draw,
                  HWND ThemeWindow, TSize &Size)
{
    Size = TSize(0, 0);
    if (Text.isEmpty() || !Canvas)
        return;
    THtmlRenderParams p;
    p.Canvas = Canvas;
    p.Text = Text;
    p.Rect = R;
    p.Images = Images;
    p.HitX = 0;
    p.HitY = 0;
    p.FocusAnchorIndex = -1;
    p.HoverAnchorIndex = 0;
    p.ShadowOffset = 1;
    p.FindControl = false;
    p.MeasureOnly = !Draw;
    p.PrintMode = false;
    p.Selected = true;
    p.BlinkVisible = true;
    p.HoverOnlyStyle = false;
    p.WordWrap = false;
    p.MouseDown = false;
    p.PrintScale = 0;
    p.AnchorColor = clBlue;
    p.HoverBackColor = clNone;
    p.HoverTextColor = clNone;
    p.ShadowColor = clGray;
    p.ThemeWindow = ThemeWindow;
    p.BiDiMode = bdLeftToRight;
    RenderHtmlText(p);
    Size = TSize(p.ExtentX, p.ExtentY);
}
