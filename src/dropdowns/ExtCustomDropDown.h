#pragma once
// The base of every drop-down editor: a one-line edit with a button at its right edge that opens
// a frameless popup below it (above it near the bottom of the screen). The popup holds a header
// bar, the descendant's content control and a footer bar with buttons and a size grip. The edit
// also filters what is typed by one of twelve edit types.
//
// A descendant creates its content in CreateDropDownForm (base first), loads it in
// BeforeDropDown and takes the value back in DropDownHidden or DoHideDropDown.

#include "controls/ExtButtonStyle.h"
#include "controls/ExtDropDown.h"
#include "controls/ExtStyleIF.h"
#include "platform/Buttons.h"
#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/ImgList.h"
#include "platform/Mask.h"
#include "platform/StdCtrls.h"

#include <functional>
#include <memory>
#include <vector>

class TExtCustomDropDown;
class TDropDownForm;
class TExtHeader;
class TExtFooter;

enum TDropPosition { dpAuto, dpDown, dpUp };
enum TDropDownEditType {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange, etHex,
    etAlphaNumeric, etValidChars
};
enum TSelectionColorStyle { scCustom, scOffice2007, scWindowsVista, scWindows7 };
// Where a caption stands beside or above the image of an item or key.
enum TItemLayout { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

using TDropDown = std::function<void(TObject *Sender, bool &acceptdrop)>;
using TDropUp = std::function<void(TObject *Sender, bool Cancelled)>;
using TClipboardEvent = std::function<void(TObject *Sender, UnicodeString &value, bool &allow)>;
using TDropDownButtonItemClick = std::function<void(TObject *Sender, int ButtonIndex)>;
using TDrawBackGroundEvent = std::function<void(TObject *Sender, TCanvas *ACanvas, TRect ARect)>;
using TGetTextEvent = std::function<void(TObject *Sender, UnicodeString &Text)>;

// ---- placement and sizing of the popup (no state of their own) ----

// Where the popup goes: P is the edit's top-left corner on the screen, EditHeight its height,
// W x H the popup's size, ScreenHeight the primary screen's height and WorkArea that of the
// monitor nearest to P. Below at P.Y + EditHeight - 1, above at P.Y - H; only an overhang at
// the right of the work area is moved back in.
TPoint DropDownPlacement(TDropPosition Position, TPoint P, int EditHeight, int W, int H, int ScreenHeight,
                         const TRect &WorkArea);

// The popup's automatic size: DropDownWidth / DropDownHeight above 0 win; else the content's
// width (the edit's without visible content) and the borders, bars and content stacked.
struct TDropDownSizeInput {
    int DropDownWidth = 0;
    int DropDownHeight = 0;
    int BorderWidth = 1;
    bool HeaderVisible = false;
    int HeaderHeight = 0;
    bool FooterVisible = false;
    int FooterHeight = 0;
    bool HasControl = false;
    int ControlWidth = 0;
    int ControlHeight = 0;
    int EditWidth = 0;
};
TSize DropDownAutoSize(const TDropDownSizeInput &In);

// Where a caption label stands beside a control at Control (parent coordinates): Position in the
// order of TExtCustomDropDown::TLabelPosition (the labelled date picker's thirteen come first),
// TextWidth the caption's width on one line, Label the label's size, Margin the gap.
TPoint EdgeLabelPlacement(int Position, const TRect &Control, int TextWidth, TSize Label, int Margin);

// ---- the button (ExtDropDownButton.cpp) ----

class TDropDownEditButton;

class TExtDropDownSpeedButton : public TSpeedButton {
public:
    enum TButtonStyle { bsButton, bsDropDown };
    explicit TExtDropDownSpeedButton(TComponent *AOwner);

    void SetUp() { FUp = true; }
    TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle Value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value);
    bool Focused() const { return FFocused; }
    void SetFocused(bool Value);
    bool Hot() const { return FHot; }
    bool IsWinXP() const { return FIsWinXP; }
    // IsWinXP and an active visual style.
    bool UseThemes() const;
    // Paints the face on Canvas (the button's own while painting, or one a test hands in).
    void PaintOn(TCanvas *ACanvas);

protected:
    void Paint() override;
    void CMMouseEnter(TCMMouseEnter &Message) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool Pressed() const { return FPressed && !FUp; }
    void PaintDropDownStyle(TCanvas *C);
    void PaintButtonStyle(TCanvas *C);
    TDropDownEditButton *Container() const;
    TExtCustomDropDown *Edit() const;
    bool FEtched = false;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FPressed = false;
    bool FIsWinXP = false;
    TButtonStyle FButtonStyle = bsDropDown;
};

class TDropDownEditButton : public TWinControl {
public:
    explicit TDropDownEditButton(TComponent *AOwner);

    TExtDropDownSpeedButton *Button() const { return FButton; }
    TWinControl *FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl *Value) { FFocusControl = Value; }
    int BWidth() const { return FBWidth; }
    void SetBWidth(int Value);
    TBitmap *Glyph() const;
    void SetGlyph(TBitmap *Value);
    UnicodeString ButtonCaption() const;
    void SetButtonCaption(const UnicodeString &Value);

    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonTextColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    TNotifyEvent OnClick;

    // The container keeps BWidth whatever width it is given.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void CMEnabledChanged(TCMEnabledChanged &Message) override;
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    void BtnMouseUp(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    TExtDropDownSpeedButton *FButton = nullptr;
    TWinControl *FFocusControl = nullptr;
    int FBWidth = 16;
};

// ---- bar buttons (ExtDropDownBars.cpp) ----

class TExtButtonAppearance : public TPersistent {
public:
    TExtButtonAppearance();
    ~TExtButtonAppearance() override;
    void Assign(TPersistent *Source) override;

    TNotifyEvent OnChange;
#define EXT_APPEARANCE_COLOR(Name)                                                                                     \
    TColor Name() const { return F##Name; }                                                                            \
    void Set##Name(TColor Value)                                                                                       \
    {                                                                                                                  \
        if (F##Name != Value) {                                                                                        \
            F##Name = Value;                                                                                           \
            Changed();                                                                                                 \
        }                                                                                                              \
    }
    EXT_APPEARANCE_COLOR(BorderColor)
    EXT_APPEARANCE_COLOR(BorderColorHot)
    EXT_APPEARANCE_COLOR(BorderColorDown)
    EXT_APPEARANCE_COLOR(BorderColorDisabled)
    EXT_APPEARANCE_COLOR(BorderColorChecked)
    EXT_APPEARANCE_COLOR(Color)
    EXT_APPEARANCE_COLOR(ColorTo)
    EXT_APPEARANCE_COLOR(ColorDown)
    EXT_APPEARANCE_COLOR(ColorDownTo)
    EXT_APPEARANCE_COLOR(ColorHot)
    EXT_APPEARANCE_COLOR(ColorHotTo)
    EXT_APPEARANCE_COLOR(ColorCheckedTo)
    EXT_APPEARANCE_COLOR(ColorDisabled)
    EXT_APPEARANCE_COLOR(ColorDisabledTo)
    EXT_APPEARANCE_COLOR(ColorChecked)
#undef EXT_APPEARANCE_COLOR
    TGradientDirection Gradient() const { return FGradient; }
    void SetGradient(TGradientDirection Value);
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value) { FFont->Assign(Value); }

private:
    void Changed();
    TColor FBorderColor = clNone;
    TColor FBorderColorHot = 0x808080;
    TColor FBorderColorDown = 0x800000;
    TColor FBorderColorDisabled = 0x808080;
    TColor FBorderColorChecked = 0xFF0000;
    TColor FColor = clNone;
    TColor FColorTo = clNone;
    TColor FColorDown = 0xF5D8CA;
    TColor FColorDownTo = 0xF9BDA0;
    TColor FColorHot = 0xF5F0E1;
    TColor FColorHotTo = 0xF9D2B2;
    TColor FColorCheckedTo;
    TColor FColorDisabled = 0xF2F2F2;
    TColor FColorDisabledTo = clNone;
    TColor FColorChecked;
    TGradientDirection FGradient = gdVertical;
    std::unique_ptr<TFont> FFont;
};

using TExtButtonStyle = TExtGridButtonStyle;
enum TExtButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };

class TExtButton : public TCustomControl {
public:
    explicit TExtButton(TComponent *AOwner);
    ~TExtButton() override;

    TExtButtonAppearance *Appearance = nullptr;
    TCustomImageList *Images = nullptr;
    int ImageIndex = -1;
    TModalResult ModalResult = mrNone;
    int GroupIndex = 0;
    bool AllowAllUp = false;
    TExtButtonStyle Style = tasButton;
    TNotifyEvent OnMouseEnterButton;
    TNotifyEvent OnMouseLeaveButton;
    int Tag = 0;

    bool Down() const { return FDown; }
    void SetDown(bool Value);
    TExtButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    bool MouseDownInControl() const { return FMouseDownInControl; }
    TTimer *UnHotTimer() const { return FUnHotTimer; }
    void SetExtDropDown(TExtCustomDropDown *Value) { FExtDropDown = Value; }
    TExtCustomDropDown *ExtDropDown() const { return FExtDropDown; }
    void SetImages(TCustomImageList *Value) { Images = Value; }
    // Caption width + 8, height + 4 (image included).
    void FitToContent();
    // The face in the appearance's colours, the image and the caption.
    virtual void DrawButton(TCanvas *ACanvas);
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TCMMouseEnter &Message) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;
    void CMEnabledChanged(TCMEnabledChanged &Message) override;
    void WMKeyDown(TWMKey &Message) override;
    void CMDialogChar(TCMDialogChar &Message) override;
    void Dispatch(TMessage &Message) override;

private:
    void UnHotTimerTick(TObject *Sender);
    void RefreshMouseOver();
    void NotifyGroup();
    bool Inside(int X, int Y) const;
    bool FDown = false;
    TExtButtonState FState = absUp;
    bool FMouseInControl = false;
    bool FHot = false;
    bool FMouseDownInControl = false;
    bool FDragging = false;
    bool FInternalClick = false;
    TTimer *FUnHotTimer = nullptr;
    TExtCustomDropDown *FExtDropDown = nullptr;
};

// A list of the bar's buttons whose item access checks the index.
class TDbgList {
public:
    void *GetItemsEx(int Index) const;
    void SetItemsEx(int Index, void *Value);
    void AssignList(const TDbgList &ListA);
    int Count() const { return static_cast<int>(FItems.size()); }
    void Add(void *Item) { FItems.push_back(Item); }
    void Clear() { FItems.clear(); }
    void Delete(int Index) { FItems.erase(FItems.begin() + Index); }

private:
    std::vector<void *> FItems;
};

// ---- header and footer bars (ExtDropDownBars.cpp) ----

class TExtBar : public TCustomControl {
public:
    TExtBar(TComponent *AOwner, bool IsFooter);
    ~TExtBar() override;

    TCustomImageList *Images = nullptr;
    TDrawBackGroundEvent OnDrawBackGround;
    TGetTextEvent OnGetText;

    TExtCustomDropDown *ExtDropDown() const { return FExtDropDown; }
    void SetExtDropDown(TExtCustomDropDown *Value);
    void RebuildButtons();
    virtual void CreateButtons();
    virtual void ClearButtons();
    virtual void ArrangeButtons();
    virtual void RefreshButtons();
    int ButtonCount() const { return FButtonList.Count(); }
    TExtButton *ButtonAt(int Index) const { return static_cast<TExtButton *>(FButtonList.GetItemsEx(Index)); }
    void GetButtonsRect(TRect &R);
    int GetMaxButtonHeight();
    void GetTextRect(TRect &R);
    // Paints the bar on ACanvas with client rectangle C (Paint hands in its own canvas).
    void PaintOn(TCanvas *ACanvas);

protected:
    void Paint() override;
    void WMSize(TWMSize &Message) override;
    void Notification(TComponent *AComponent, TOperation Operation) override;
    virtual int ButtonItemCount() const = 0;
    virtual bool IsFooter() const { return FIsFooter; }
    virtual bool HasSizeGrip() const { return false; }
    void ButtonClick(TObject *Sender);
    // Appearance fields shared by both kinds.
    struct TBarLook {
        TColor Color, ColorTo, BorderColor;
        int BorderWidth, ImageIndex;
        UnicodeString Caption;
        TFont *Font;
        TGradientDirection Direction;
        TButtonAlignment Alignment;
    };
    virtual TBarLook Look() const = 0;
    TDbgList FButtonList;
    TExtCustomDropDown *FExtDropDown = nullptr;

private:
    bool FIsFooter;
};

class TExtHeader : public TExtBar {
public:
    explicit TExtHeader(TComponent *AOwner);
    THeaderAppearance *Appearance() const { return FAppearance.get(); }
    void SetAppearance(THeaderAppearance *Value) { FAppearance->Assign(Value); }
    THeaderButtons *Buttons() const;

protected:
    int ButtonItemCount() const override;
    TBarLook Look() const override;

private:
    friend class TExtBar;
    std::unique_ptr<THeaderAppearance> FAppearance;
};

class TExtFooter : public TExtBar {
public:
    explicit TExtFooter(TComponent *AOwner);
    TFooterAppearance *Appearance() const { return FAppearance.get(); }
    void SetAppearance(TFooterAppearance *Value) { FAppearance->Assign(Value); }
    TFooterButtons *Buttons() const;
    bool HasSizeGrip() const override;
    void DrawSizeGrip(TCanvas *ACanvas, const TRect &G);

protected:
    int ButtonItemCount() const override;
    TBarLook Look() const override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TCMMouseEnter &Message) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;

private:
    friend class TExtBar;
    bool InGrip(int X, int Y) const { return X > Width() - 12 && Y > Height() - 15; }
    std::unique_ptr<TFooterAppearance> FAppearance;
    TCursor FOldCursor = crDefault;
};

// ---- the popup (ExtDropDownForm.cpp) ----

class TDropDownForm : public TForm {
public:
    explicit TDropDownForm(TComponent *AOwner);

    Cardinal DeActivateTime() const { return FDeActivateTime; }
    // The popup has lost activation at least once (before that no click has to wait).
    bool HasDeActivated() const { return FHasDeActivated; }
    bool Shadow = true;
    bool Sizeable = false;
    bool CancelOnDeActivate = true;
    bool BlockActivate = false;
    TNotifyEvent OnSizing;

    TExtHeader *Header() const { return FHeader; }
    TExtFooter *Footer() const { return FFooter; }
    TExtCustomDropDown *ExtDropDown() const { return FExtDropDown; }
    void SetExtDropDown(TExtCustomDropDown *Value) { FExtDropDown = Value; }
    void InitializeAndUpdate();
    void UpdateSize() {}
    // The window is made anew when the edit now stands on another form than the one that
    // owns the window (the edit was created before it had a parent, or moved).
    void FollowOwner();
    // WM_NCHITTEST's answer for a client point: HTBOTTOMRIGHT near that corner when Sizeable.
    int HitTest(TPoint Client) const;
    // Background and frame on ACanvas.
    void PaintBackground(TCanvas *ACanvas);
    void SetVisible(bool Value) override;

protected:
    // A topmost window owned by the form of the edit.
    void CreateParams(TCreateParams &Params) override;
    void PaintWindow(TCanvas *DC) override;
    void Dispatch(TMessage &Message) override;
    void Deactivate() override;
    void AlignControls(TControl *AControl, TRect &Rect) override;
    void WMGetDlgCode(TWMGetDlgCode &Message) override;

private:
    void WMActivate(TMessage &Message);
    void HandleDeactivation(HWND Activated);
    Cardinal FDeActivateTime = 0;
    bool FHasDeActivated = false;
    // While the window hides, the activation it hands back to the edit's form is no close.
    bool FHiding = false;
    TExtHeader *FHeader = nullptr;
    TExtFooter *FFooter = nullptr;
    TExtCustomDropDown *FExtDropDown = nullptr;
};

// ---- the edit (ExtCustomDropDown.cpp, edit types in ExtDropDownText.cpp) ----

class TExtCustomDropDown : public TCustomMaskEdit, public IQRVStyle, public IQRVTones {
public:
    enum TLabelPosition {
        lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
        lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
        lpBottomRight
    };

    explicit TExtCustomDropDown(TComponent *AOwner);
    ~TExtCustomDropDown() override;
    // Runs CreateDropDownForm and CreateDropDownButton once the object is whole, so that a
    // descendant's overrides take part (call it after construction; NewDropDown does).
    virtual void AfterConstruction();

    // ---- published set ----
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value);
    TColor DropDownColor() const { return FDropDownColor; }
    void SetDropDownColor(TColor Value) { FDropDownColor = Value; }
    TColor DropDownColorTo() const { return FDropDownColorTo; }
    void SetDropDownColorTo(TColor Value) { FDropDownColorTo = Value; }
    TColor DropDownBorderColor = clBlack;
    int DropDownBorderWidth = 1;
    bool DropDownShadow = true;
    bool DropDownSizeable = true;
    TGradientDirection DropDownGradient = gdHorizontal;
    TDropPosition DropPosition = dpAuto;
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int Value);
    int DropDownHeight() const { return FDropDownHeight; }
    void SetDropDownHeight(int Value);
    int UserDropDownWidth() const { return FUserDropDownWidth; }
    int UserDropDownHeight() const { return FUserDropDownHeight; }
    // The next opening takes the automatic size again instead of the one the popup closed with.
    void ForgetUserDropDownSize() { FUserDropDownWidth = FUserDropDownHeight = -1; }
    int DropDownButtonWidth() const { return FButtonWidth; }
    void SetDropDownButtonWidth(int Value);
    const UnicodeString &DropDownButtonHint() const { return FButtonHint; }
    void SetDropDownButtonHint(const UnicodeString &Value);
    TBitmap *DropDownButtonGlyph() const;
    void SetDropDownButtonGlyph(TBitmap *Value);
    UnicodeString DropDownButtonCaption() const;
    void SetDropDownButtonCaption(const UnicodeString &Value);
    TCustomImageList *Images() const { return FImages; }
    void SetImages(TCustomImageList *Value) { FImages = Value; }
    UnicodeString Version() const;
    void SetVersion(const UnicodeString &) {}
    TExtButtonAppearance *ButtonAppearance() const { return FButtonAppearance.get(); }
    void SetButtonAppearance(TExtButtonAppearance *Value) { FButtonAppearance->Assign(Value); }
    THeaderAppearance *DropDownHeader() const { return FDropDownHeader.get(); }
    void SetDropDownHeader(THeaderAppearance *Value) { FDropDownHeader->Assign(Value); }
    TFooterAppearance *DropDownFooter() const { return FDropDownFooter.get(); }
    void SetDropDownFooter(TFooterAppearance *Value) { FDropDownFooter->Assign(Value); }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value);
    UnicodeString LabelCaption() const;
    void SetLabelCaption(const UnicodeString &Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value) { FLabelAlwaysEnabled = Value; }
    TFont *LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont *Value);
    TLabel *Label() const { return FLabel; }
    bool DropDownEnabled() const { return FDropDownEnabled; }
    void SetDropDownEnabled(bool Value) { FDropDownEnabled = Value; }

    TNotifyEvent OnBeforeDropDown;
    TDropDown OnDropDown;
    TDropUp OnDropUp;
    TNotifyEvent OnBeforeDropUp;
    TDropDownButtonItemClick OnDropDownHeaderButtonClick;
    TDropDownButtonItemClick OnDropDownFooterButtonClick;
    TDrawBackGroundEvent OnDrawHeader;
    TDrawBackGroundEvent OnDrawFooter;
    TGetTextEvent OnGetHeaderText;
    TGetTextEvent OnGetFooterText;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;
    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardPaste;
    TClipboardEvent OnClipboardCut;

    // ---- protected set, public here for descendants and the grid's wrappers ----
    TDropDownEditType EditType() const { return FEditType; }
    void SetEditType(TDropDownEditType Value);
    UnicodeString Prefix, Suffix;
    SmallInt Precision() const { return FPrecision; }
    void SetPrecision(SmallInt Value);
    SmallInt LengthLimit = 0;
    bool Signed = false;
    bool ReturnIsTab = false;
    bool AllowNumericNullValue = false;
    bool DefaultHandling = true;
    bool CanUndo = true;
    bool ExcelStyleDecimalSeparator = false;
    UnicodeString ValidChars;
    bool AutoThousandSeparator = true;
    bool Flat = false;
    bool FocusDraw = true;
    bool ForceShadow = false;
    TSelectionColorStyle SelectionColorStyle() const { return FSelectionColorStyle; }
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value) { FSelectionColor = Value; }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor Value) { FSelectionColorTo = Value; }
    TControl *Control() const { return FControl; }
    void SetControl(TControl *AControl);
    TWinControl *FocusControl = nullptr;

    TDropDownEditButton *Button() const { return FButton; }
    TDropDownForm *DropDownForm() const { return FDropDownForm; }
    bool DroppedDown() const { return FDroppedDown; }
    bool IsThemed() const { return FIsThemed; }
    bool MouseInControl() const { return FMouseInControl; }
    const UnicodeString &OldText() const { return FOldText; }
    TRect GetEditRect() const { return FEditRect; }

    void ShowDropDown() { DoShowDropDown(); }
    void HideDropDown(bool CancelChanges) { DoHideDropDown(CancelChanges); }
    // Opens the popup unless it lost activation less than 250 ms ago.
    void ClickDropDown();
    void SelectAll();
    void SelectBeforeDecimal();
    void SelectAfterDecimal();
    TQRVStyle GetComponentStyle() const { return FComponentStyle; }
    void SetComponentStyle(TQRVStyle AStyle) override;
    void SetColorTones(const TColorTones &ATones) override;
    virtual void SetSelectionColorStyle(TSelectionColorStyle Value);
    // The selection of a list item: a plain fill for scCustom, else the rounded frame of the
    // selection style. Piece: 0 whole, 1 left end, 2 right end, 3 middle of a selected span.
    virtual void DrawSelectionBackground(TCanvas *Canvas, const TRect &Rect, TColor CornerColor, int Piece);
    void Assign(TPersistent *Source) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // ---- text (ExtDropDownText.cpp) ----
    // The value: the edit text without Prefix and Suffix.
    UnicodeString GetText() const override;
    UnicodeString ValueText() const;
    // The selection counted on the whole edit text (Prefix included).
    void SetSelStart(int Value)
    {
        TWholeText w(this);
        TCustomMaskEdit::SetSelStart(Value);
    }
    void SetSelLength(int Value)
    {
        TWholeText w(this);
        TCustomMaskEdit::SetSelLength(Value);
    }
    UnicodeString SelText() const
    {
        TWholeText w(const_cast<TExtCustomDropDown *>(this));
        return TCustomMaskEdit::SelText();
    }
    void SetSelText(const UnicodeString &Value)
    {
        TWholeText w(this);
        TCustomMaskEdit::SetSelText(Value);
    }
    virtual void SetText(const UnicodeString &Value);
    void SetTextInternal(const UnicodeString &Value);
    double GetFloatValue();
    void SetFloatValue(double Value);
    void SetIntValue(int Value);
    bool GetIsModified() const { return FIsModified; }
    void SetIsModified(bool Value);

    // ---- virtual slots ----
    virtual void DoLabelClick();
    virtual void DoLabelDblClick();
    virtual int GetVersionNr() { return 0x01020104; }
    virtual void CreateDropDownForm();
    virtual void CreateDropDownButton();
    virtual void InitDropDownButton();
    virtual void BeforeDropDown();
    virtual void AdaptDropDownHeight(int &) {}
    virtual void FocusDropDownControl();
    virtual void DoShowDropDown();
    virtual void PlaceDropDownControl();
    virtual void SizeDropDownForm();
    virtual void DoHideDropDown(bool Cancel);
    virtual void DropDownHidden();
    virtual void DropDownDestroyed() {}
    virtual void FormMouseWheelDown(TShiftState, TPoint, bool &) { WheelDown(); }
    virtual void FormMouseWheelUp(TShiftState, TPoint, bool &) { WheelUp(); }
    virtual void FormKeyPress(WideChar &Key);
    virtual void FormKeyDown(Word &Key, TShiftState Shift);
    virtual void FormKeyUp(Word &Key, TShiftState Shift);
    virtual void ControlKeyDown(Word &Key, TShiftState Shift);
    virtual void ControlKeyUp(Word &Key, TShiftState Shift);
    virtual void ControlKeyPress(WideChar &Key);
    virtual void FormSizing() {}
    virtual void WheelDown() {}
    virtual void WheelUp() {}
    // Asks for the highlighted value of a focused non-editable edit to be painted again; the
    // window paints it through PaintFocusedText.
    virtual void DrawFocusedText();
    // The highlighted value on the window's canvas, when FocusedTextShown.
    virtual void PaintFocusedText(TCanvas *DC);
    bool FocusedTextShown();
    virtual void SetEditRect();
    virtual void AdjustButtonBounds();
    virtual void DrawGradientBackground(TCanvas *Canvas, TColor FromColor, TColor ToColor, int Steps,
                                        const TRect &R, TGradientDirection Direction);

    // The frame that DrawBorder paints: none (no frame drawn), or a one-pixel colour frame, or
    // the flat double frame (hot: sunken edge and one frame of InnerColor).
    struct TBorderPaint {
        enum TKind { bkNone, bkColor, bkFlat } Kind = bkNone;
        TColor Color = clNone;
        bool Hot = false;
        TColor InnerColor = clNone;
    };
    TBorderPaint BorderPaint() const;
    void DrawBorder(TCanvas *ACanvas);
    bool IsHot() const;
    int GetMinHeight();
    void UpdateLabel();
    void HeaderChanged(TObject *Sender);
    void FooterChanged(TObject *Sender);
    void ButtonClick(TObject *Sender);

protected:
    void Loaded() override;
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void WndProc(TMessage &Message) override;
    void CreateWnd() override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void DoEnter() override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void Change() override;
    void WMChar(TWMKey &Message) override;
    void WMKeyDown(TWMKey &Message) override;
    void WMSysKeyDown(TWMKey &Message) override;
    void WMSize(TWMSize &Message) override;
    void WMSetFocus(TWMSetFocus &Message) override;
    void WMKillFocus(TWMKillFocus &Message) override;
    void WMLButtonDown(TWMMouse &Message) override;
    void WMLButtonUp(TWMMouse &Message) override;
    void WMPaste(TMessage &Message) override;
    void WMCut(TMessage &Message) override;
    void WMCopy(TMessage &Message) override;
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;
    void CMEnabledChanged(TCMEnabledChanged &Message) override;
    void CMVisibleChanged(TCMVisibleChanged &Message) override;
    void CMMouseEnter(TCMMouseEnter &Message) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;
    void CMFontChanged(TCMFontChanged &Message) override;
    void CMEnter(TCMEnter &Message) override;
    void CMExit(TCMExit &Message) override;
    void WMPaint(TWMPaint &Message) override;
    // The custom frame and the highlighted value over what the edit drew.
    void WMNCPaint(TWMNCPaint &Message) override;
    void CMParentFontChanged(TCMParentFontChanged &Message) override;

    // Edit-type helpers (ExtDropDownText.cpp).
    void FormatMoneyText();
    int DecimalSeparatorPos();
    int IntegerPartEnd(const UnicodeString &Text);
    bool IsSignAllowed(QChar Ch);
    bool SeparatorMisplaced(const UnicodeString &Value, int Caret);
    bool PrecisionReached(const UnicodeString &Value, int Caret);
    // Runs the character through the type rules; false when it is dropped.
    bool JudgeChar(TWMKey &Message);
    // Key-down text rules for an editable edit; false when the key is dropped or consumed.
    bool JudgeKeyDown(TWMKey &Message);
    void ToggleSign(bool WholeValueCase);
    // Puts the character into the text at the selection, as the edit would.
    void InsertChar(QChar Ch);
    void ToggleDropDown();

private:
    friend class TDropDownForm;
    struct TWholeText {
        explicit TWholeText(TExtCustomDropDown *E) : Edit(E) { ++Edit->FWholeText; }
        ~TWholeText() { --Edit->FWholeText; }
        TWholeText(const TWholeText &) = delete;
        TWholeText &operator=(const TWholeText &) = delete;
        TExtCustomDropDown *Edit;
    };
    int FWholeText = 0;
    void CreateLabel();
    void DrawControlBorder();
    TLabel *FLabel = nullptr;
    bool FParentFnt = false;
    int FDropDownWidth = 0;
    int FDropDownHeight = 0;
    int FUserDropDownWidth = -1;
    int FUserDropDownHeight = -1;
    bool FEditorEnabled = true;
    TCustomImageList *FImages = nullptr;
    UnicodeString FButtonHint;
    TColor FDropDownColorTo = clNone;
    TColor FDropDownColor = clWhite;
    int FButtonWidth = 17;
    bool FMouseInControl = false;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TExtButtonAppearance> FButtonAppearance;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    TControl *FControl = nullptr;
    TColor FSelectionColor = clNone;
    TColor FSelectionColorTo = clNone;
    TSelectionColorStyle FSelectionColorStyle = scCustom;
    TDropDownEditType FEditType = etString;
    SmallInt FPrecision = 0;
    bool FIsThemed = false;
    bool FBlockChange = false;
    bool FBlockCopy = false;
    bool FButtonDown = false;
    bool FIsModified = false;
    TRect FEditRect;
    bool FDropDownEnabled = false;
    bool FDroppedDown = false;
    TQRVStyle FComponentStyle = tsCustom;
    int FLabelMargin = 4;
    TLabelPosition FLabelPosition = lpLeftTop;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    std::unique_ptr<TFont> FLabelFont;
    TColor FBorderColor = clNone;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = true;
    TDropDownForm *FDropDownForm = nullptr;
    TDropDownEditButton *FButton = nullptr;
    UnicodeString FOldText;
    UnicodeString FTextAtDropDown;
    bool FConstructed = false;
    // The key that toggled the popup in KeyDown, so that the same press does not toggle again.
    bool FToggledThisKey = false;
};

// Constructs a drop-down (or descendant) and completes it.
template <class T, class... Args>
T *NewDropDown(Args &&...args)
{
    T *d = new T(std::forward<Args>(args)...);
    d->AfterConstruction();
    return d;
}
