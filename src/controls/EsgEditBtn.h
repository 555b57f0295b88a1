#pragma once
// Edits with a push button at their right edge, and the variant that shows and picks a unit.
//
// TEsgEditBtn is a masked edit whose button part (a TEsgEditButton holding one TExtSpeedButton)
// sits inside the edit's window; a click on it, or F4, fires OnClickBtn. TEsgUnitEditBtn also
// draws its UnitID between the text and the button and offers the entries of Units in a popup
// menu when the button is clicked; a changed unit is reported through OnUnitChanged.
//
//     auto *e = new TEsgUnitEditBtn(form);
//     e->SetParent(form);
//     e->Units()->Add("g");
//     e->Units()->Add("kg");
//     e->SetTextAndUnit("12kg");          // Text "12k", UnitID "g": the list order decides
//     e->OnUnitChanged = [](TObject *, const UnicodeString &NewUnit) { ... };

#include "platform/Buttons.h"
#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Mask.h"

#include <functional>
#include <memory>

class TEsgEditButton;

// The speed button of the button part: flat, themed or in the colours of its owner.
class TExtSpeedButton : public TSpeedButton {
public:
    explicit TExtSpeedButton(TComponent *AOwner);

    // Draw in the visual style when one is active.
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // The pointer is over the button.
    bool Hot() const { return FHot; }
    void SetHot(bool Value) { FHot = Value; }

protected:
    void Paint() override;
    void CMMouseEnter(TCMMouseEnter &Message) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;

private:
    TEsgEditButton *EditButton() const;
    bool FIsWinXP = false;
    bool FFlat = false;
    bool FHot = false;
};

// A window filled by one TExtSpeedButton; the button's click becomes this window's OnClick and
// hands the focus to FocusControl.
class TEsgEditButton : public TWinControl {
public:
    explicit TEsgEditButton(TComponent *AOwner);
    ~TEsgEditButton() override;

    TExtSpeedButton *Button() const { return FButton; }
    TWinControl *FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl *Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);

    // Colours of the button face; clNone leaves the face to the flat, themed or classic look.
    // The text and border colours are kept for the forms that set them; the face does not use them.
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value) { FButtonColor = Value; Invalidate(); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor Value) { FButtonColorHot = Value; Invalidate(); }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor Value) { FButtonColorDown = Value; Invalidate(); }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor Value) { FButtonBorderColor = Value; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor Value) { FButtonTextColor = Value; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor Value) { FButtonTextColorHot = Value; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor Value) { FButtonTextColorDown = Value; }

    // Those of the inner button.
    TBitmap *Glyph() const;
    void SetGlyph(TBitmap *Value);
    int NumGlyphs() const;
    void SetNumGlyphs(int Value);
    UnicodeString ButtonCaption() const;
    void SetButtonCaption(const UnicodeString &Value);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    virtual void CreateButton();
    void ResizeButton(int AWidth, int AHeight);
    // The inner button's mouse-up: a left release fires OnClick and moves the focus.
    void ButtonMouseUp(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Loaded() override;
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void WMSize(TWMSize &Message) override;

private:
    TExtSpeedButton *FButton = nullptr;
    TWinControl *FFocusControl = nullptr;
    bool FFlat = false;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
};

// A masked edit with the button part at its right edge.
class TEsgEditBtn : public TCustomMaskEdit {
public:
    explicit TEsgEditBtn(TComponent *AOwner);
    ~TEsgEditBtn() override;

    TEsgEditButton *ButtonPart() const { return FButton; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    TBitmap *Glyph() const;
    void SetGlyph(TBitmap *Value);
    UnicodeString ButtonCaption() const;
    void SetButtonCaption(const UnicodeString &Value);

    // The least height that shows the edit's font: its text height and a quarter of the smaller
    // of that and the default font's text height.
    int GetMinHeight();

    TNotifyEvent OnClickBtn;

protected:
    void CreateWnd() override;
    // Fires OnClickBtn with Sender: the button part when clicked, the edit on F4.
    virtual void ButtonClick(TObject *Sender);
    // Keeps the text clear of the button part and of the unit.
    void SetEditRect();
    void WMSize(TWMSize &Message) override;
    void WMChar(TWMKey &Message) override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void WMPaste(TMessage &Message) override;
    void WMCut(TMessage &Message) override;

    // Width kept free for the unit text.
    int FUnitSize = 0;

private:
    bool FRightAlign = false;
    TEsgEditButton *FButton = nullptr;
    bool FEditorEnabled = true;
    int FButtonWidth = 18;
    bool FIsWinXP = false;
};

using TUnitChangeEvent = std::function<void(TObject *Sender, const UnicodeString &NewUnit)>;

// The edit with a button that shows a unit and picks another from a popup menu.
class TEsgUnitEditBtn : public TEsgEditBtn {
public:
    explicit TEsgUnitEditBtn(TComponent *AOwner);
    ~TEsgUnitEditBtn() override;

    const UnicodeString &UnitID() const { return FUnitID; }
    void SetUnitID(const UnicodeString &Value);
    TStrings *Units() const { return FUnits.get(); }
    // Copies the list; nullptr changes nothing.
    void SetUnits(TStrings *Value);
    int UnitSpace() const { return FUnitSize; }
    void SetUnitSpace(int Value);

    // Text followed by UnitID. Written, the first unit of Units that ends the value (at its first
    // occurrence) splits it into Text and UnitID; a value no unit ends changes nothing.
    UnicodeString TextAndUnit() const;
    void SetTextAndUnit(const UnicodeString &Value);

    TUnitChangeEvent OnUnitChanged;

protected:
    void ButtonClick(TObject *Sender) override;
    void WMCommand(TWMCommand &Message) override;
    // Draws the unit after the edit's own painting.
    void WMNCPaint(TWMNCPaint &Message) override;

private:
    UnicodeString FUnitID;
    std::unique_ptr<TStringList> FUnits;
};
