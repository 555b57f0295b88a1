#pragma once
// The speed button: a graphic control (no window, no focus) that clicks on a left press released
// over it. With a GroupIndex it stays down after a click and the other buttons of its group on
// the same parent go up (AllowAllUp lets the last one go up too). It paints a classic face of its
// own: the push-button frame, or a flat face that shows its edge only while the pointer is over
// it or it is down; the glyph and the caption placed by Layout, Margin and Spacing.
//
//     auto *b = new TSpeedButton(form);
//     b->SetParent(panel);
//     b->SetCaption("...");
//     b->OnClick = [this](TObject *) { ... };

#include "platform/Controls.h"
#include "platform/Graphics.h"

#include <memory>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using TNumGlyphs = int;

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent *AOwner);
    ~TSpeedButton() override;

    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // Frames side by side in the glyph: up, disabled, clicked, down (missing ones use the first).
    TBitmap *Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap *Value);
    TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TNumGlyphs Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    // -1: glyph and caption centred; otherwise the distance of the glyph from the edge.
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    // Pixels between glyph and caption (-1: the space is shared out evenly).
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // The pointer is over the button.
    bool MouseInControl() const { return FMouseInControl; }

    void Click() override;
    void Dispatch(TMessage &Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TCMMouseEnter &Message) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;
    void CMEnabledChanged(TCMEnabledChanged &Message) override;
    void CMTextChanged(TCMTextChanged &Message) override;
    void CMFontChanged(TCMFontChanged &Message) override;

    // The face's state: bsDown while pressed, bsExclusive while held down by Down.
    TButtonState FState = bsUp;
    bool FMouseInControl = false;
    bool FDragging = false;

private:
    void UpdateExclusive();
    void GlyphChanged(TObject *Sender);
    // Places the glyph and the caption in Client; Offset moves both (the pressed look).
    void DrawGlyphAndCaption(const TRect &Client, TPoint Offset);
    std::unique_ptr<TBitmap> FGlyph;
    TNumGlyphs FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FFlat = false;
    bool FTransparent = true;
};
