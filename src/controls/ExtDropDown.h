#pragma once
// The drop-down controls' shared drawing and text routines, and the settings objects of their
// popup's header and footer bars.
//
// To paint the child controls of a windowed control into a device context from a given child
// on, call TWinControl::PaintControls.

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/ImgList.h"
#include "platform/Types.h"

#include <memory>

// ---- drawing ----
// Steps bands (0 counts as 1; the count is taken as 16 bits) from FromColor towards ToColor,
// left to right when Horizontal, top to bottom otherwise. The first band has FromColor; the
// last stops one step short of ToColor.
void DrawGradient(TCanvas *Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect &R, bool Horizontal);
// Percent of Color1 and the rest of Color2, per channel; Color1 itself from 100 on, Color2 itself
// at 0 and below.
TColor BlendColors(TColor Color1, TColor Color2, int Percent);
// A negative delta darkens a channel by that percentage; a zero channel becomes the delta
// (at least 0).
TColor ShadeColor(TColor Color, int DeltaRed, int DeltaGreen, int DeltaBlue);
// An 80-step gradient (or a plain fill when ColorTo is clNone) and an outline of BorderWidth
// in BorderColor.
void DrawGradientRect(TCanvas *Canvas, const TRect &R, TColor Color, TColor ColorTo, TColor BorderColor,
                      int BorderWidth, bool Vertical);
// An image of the list at the left, then the text on one line with an end ellipsis (centred
// when there is no image).
void DrawImageAndText(TCanvas *Canvas, const TRect &R, const UnicodeString &Text, TCustomImageList *Images,
                      int ImageIndex);
// Bitmap in R with the colour of its top-left pixel replaced by BackgroundColor.
void DrawBitmapOnColor(TCanvas *Canvas, TBitmap *Bitmap, TColor BackgroundColor, const TRect &R);

// ---- text ----
// Width and height of the text on one line in the canvas's font; (0, 0) for an empty text.
void MeasureTextSize(TCanvas *Canvas, const UnicodeString &Text, TSize &Size);
// Text, or the longest head of it (with "..." when AddEllipsis) narrower than MaxWidth when the
// whole text is wider; the whole text when no head is narrow enough.
void FitTextToWidth(TCanvas *Canvas, const UnicodeString &Text, int MaxWidth, bool AddEllipsis,
                    UnicodeString &Result);
// Mini-HTML text drawn (Draw) or measured in R, as the drop-downs show it: selected colours, no
// word wrap, blue links, no picture container or cache; Size receives its extent, (0, 0) for an
// empty text. In ExtDropDownHtml.cpp.
void DrawHtmlText(TCanvas *Canvas, const UnicodeString &Text, const TRect &R, TCustomImageList *Images, bool Draw,
                  HWND ThemeWindow, TSize &Size);

// ---- text classes of the drop-down edit ----
// ",", "-" and ";" separate the parts of a range.
bool IsRangeSeparator(QChar Ch);
// 0 integer, 1 decimal number, 5 hexadecimal number, 2 anything else.
int DropDownNumberKind(const UnicodeString &Text);
UnicodeString StripThousandSeparators(const UnicodeString &Text);
int HexDigitValue(QChar Ch);
// The hexadecimal digits of the text as a number, wrapping at 32 bits; other characters count 0.
int HexTextToInt(const UnicodeString &Text);
UnicodeString CaseFoldText(const UnicodeString &Text, bool CaseSensitive);
QChar ThousandSeparatorChar();
QChar DecimalSeparatorChar();

// ---- header and footer of the popup ----

enum TGradientDirection { gdHorizontal, gdVertical };
enum TButtonAlignment { baLeft, baRight };

// What a button of the header or footer bar shows; a change of caption, enabled state or width
// asks the bar to lay itself out again.
class TDropDownBarButton : public TCollectionItem {
public:
    explicit TDropDownBarButton(TCollection *Collection) : TCollectionItem(Collection) {}

    const UnicodeString &Caption() const { return FCaption; }
    void SetCaption(const UnicodeString &Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value);

protected:
    // Copies the settings shared by both kinds of button.
    void AssignButton(const TDropDownBarButton &From);

private:
    UnicodeString FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    int FHeight = 0;
    int FWidth = 0;
};

class THeaderButton : public TDropDownBarButton {
public:
    explicit THeaderButton(TCollection *Collection);
    void Assign(TPersistent *Source) override;
};

class TFooterButton : public TDropDownBarButton {
public:
    explicit TFooterButton(TCollection *Collection);
    void Assign(TPersistent *Source) override;

    // The result the popup closes with when the button is clicked.
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

private:
    TModalResult FModalResult = mrNone;
};

class THeaderButtons : public TOwnedCollection {
public:
    explicit THeaderButtons(TPersistent *AOwner);
    THeaderButton *Add() { return static_cast<THeaderButton *>(TOwnedCollection::Add()); }
    THeaderButton *Insert(int Index) { return static_cast<THeaderButton *>(TOwnedCollection::Insert(Index)); }
    THeaderButton *Items(int Index) const { return static_cast<THeaderButton *>(TOwnedCollection::Items(Index)); }
    THeaderButton *GetItem(int Index) const { return Items(Index); }
    void SetItems(int Index, THeaderButton *Value) { TOwnedCollection::SetItems(Index, Value); }

    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem *Item) override;

private:
    TPersistent *FMyOwner;
};

class TFooterButtons : public TCollection {
public:
    explicit TFooterButtons(TPersistent *AOwner);
    TFooterButton *Add() { return static_cast<TFooterButton *>(TCollection::Add()); }
    TFooterButton *Insert(int Index) { return static_cast<TFooterButton *>(TCollection::Insert(Index)); }
    TFooterButton *Items(int Index) const { return static_cast<TFooterButton *>(TCollection::Items(Index)); }
    TFooterButton *GetItem(int Index) const { return Items(Index); }
    void SetItems(int Index, TFooterButton *Value) { TCollection::SetItems(Index, Value); }

    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem *Item) override;
    TPersistent *GetOwner() override { return FMyOwner; }

private:
    TPersistent *FMyOwner;
};

// The settings of the header bar: they only store values and report changes; the drop-down
// control paints the bar.
class THeaderAppearance : public TPersistent {
public:
    explicit THeaderAppearance(TPersistent *AOwner);
    ~THeaderAppearance() override;
    // Copies every setting from another header appearance; other sources are ignored.
    void Assign(TPersistent *Source) override;
    // Copies only the colours, the font and the gradient direction.
    void AssignColors(TPersistent *Source);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { FColorTo = Value; }
    const UnicodeString &Caption() const { return FCaption; }
    void SetCaption(const UnicodeString &Value) { FCaption = Value; }
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value) { FFont->Assign(Value); }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection Value) { FGradientDirection = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    THeaderButtons *Buttons() const { return FButtons.get(); }
    void SetButtons(THeaderButtons *Value) { FButtons->Assign(Value); }
    TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
    void SetButtonAlignment(TButtonAlignment Value) { FButtonAlignment = Value; }

    // Fired when Visible changes.
    TNotifyEvent OnChange;
    // Fired when a button's caption, enabled state or width changes.
    TNotifyEvent OnButtonsChanged;

protected:
    TPersistent *GetOwner() override { return FOwner; }

private:
    void ButtonsChanged(TObject *Sender);
    TPersistent *FOwner;
    bool FVisible = true;
    int FHeight = 22;
    int FBorderWidth = 1;
    int FImageIndex = -1;
    UnicodeString FCaption;
    TColor FColorTo = clWhite;
    TColor FColor = clSilver;
    TColor FBorderColor = clBlack;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<THeaderButtons> FButtons;
    TGradientDirection FGradientDirection = gdVertical;
    TButtonAlignment FButtonAlignment = baRight;
};

// The settings of the footer bar, with a size grip.
class TFooterAppearance : public TPersistent {
public:
    explicit TFooterAppearance(TPersistent *AOwner);
    ~TFooterAppearance() override;
    void Assign(TPersistent *Source) override;
    void AssignColors(TPersistent *Source);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { FColorTo = Value; }
    const UnicodeString &Caption() const { return FCaption; }
    void SetCaption(const UnicodeString &Value) { FCaption = Value; }
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value) { FFont->Assign(Value); }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection Value) { FGradientDirection = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value) { FSizeGrip = Value; }
    TFooterButtons *Buttons() const { return FButtons.get(); }
    void SetButtons(TFooterButtons *Value) { FButtons->Assign(Value); }
    TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
    void SetButtonAlignment(TButtonAlignment Value) { FButtonAlignment = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

protected:
    TPersistent *GetOwner() override { return FOwner; }

private:
    void ButtonsChanged(TObject *Sender);
    TPersistent *FOwner;
    bool FVisible = true;
    int FHeight = 22;
    int FBorderWidth = 1;
    bool FSizeGrip = true;
    UnicodeString FCaption;
    TColor FColorTo = clWhite;
    TColor FColor = clSilver;
    TColor FBorderColor = clBlack;
    std::unique_ptr<TFont> FFont;
    int FImageIndex = -1;
    std::unique_ptr<TFooterButtons> FButtons;
    TGradientDirection FGradientDirection = gdVertical;
    TButtonAlignment FButtonAlignment = baRight;
};
