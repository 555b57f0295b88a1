#pragma once
// Panels, shapes, images, link labels and the category panel group.
//
// TCategoryPanelGroup stacks its visible TCategoryPanel children from the top in the order of
// their Top (a panel whose Top was set last goes first among equal Tops; a panel that joins the
// group goes last), each panel as high as its Height while expanded and as its title bar
// (HeaderHeight) while collapsed, and shows a vertical scroll bar when they do not fit. A panel's controls lie below its title bar: their
// Top counts from there, and the panel's client area is its Height less HeaderHeight. The
// title bar, drawn by the group, collapses and expands the panel on a click.

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/Messages.h"
#include "platform/System.h"

#include <functional>
#include <memory>

class QScrollBar;

// ---------------------------------------------------------------------------------------------
// TPanel

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent *AOwner);

    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel Value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment Value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool Value);
    bool FullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool Value) { FFullRepaint = Value; }

protected:
    void Paint() override;
    // Aligned children stay inside the bevels and the border.
    void AlignControls(TControl *AControl, TRect &Rect) override;
    void CMTextChanged(TCMTextChanged &Message) override;
    int FrameWidth() const;

private:
    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    TAlignment FAlignment = taCenter;
    TVerticalAlignment FVerticalAlignment = taVerticalCenter;
    bool FShowCaption = true;
    bool FParentBackground = true;
    bool FFullRepaint = true;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent *AOwner) : TCustomPanel(AOwner) {}
};

// Draws the classic 3-D frame inside Rect and shrinks Rect by Width.
void Frame3D(TCanvas *Canvas, TRect &Rect, TColor TopColor, TColor BottomColor, int Width);

// ---------------------------------------------------------------------------------------------
// TShape

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent *AOwner);
    ~TShape() override;

    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType Value);
    TPen *Pen() const { return FPen.get(); }
    void SetPen(TPen *Value) { FPen->Assign(Value); }
    TBrush *Brush() const { return FBrush.get(); }
    void SetBrush(TBrush *Value) { FBrush->Assign(Value); }

protected:
    void Paint() override;

private:
    TShapeType FShape = stRectangle;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
};

// ---------------------------------------------------------------------------------------------
// TImage

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent *AOwner);
    ~TImage() override;

    TPicture *Picture() const { return FPicture.get(); }
    void SetPicture(TPicture *Value) { FPicture->Assign(Value); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // The rectangle the picture is drawn into.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();
    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};

// ---------------------------------------------------------------------------------------------
// TLinkLabel

enum TSysLinkType { sltURL, sltID };
using TSysLinkEvent = std::function<void(TObject *Sender, const UnicodeString &Link, TSysLinkType LinkType)>;

// A label whose Caption may hold anchors: `<a href="target">text</a>` (or `<a id="name">`).
// The anchors' texts show as links; everything else shows as written. A click on a link fires
// OnLinkClick with the anchor's href (sltURL) or, without one, its id (sltID).
class TLinkLabel : public TWinControl {
public:
    explicit TLinkLabel(TComponent *AOwner);
    ~TLinkLabel() override;

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

    TSysLinkEvent OnLinkClick;

    // The caption as the window shows it (anchors kept, other text escaped).
    static UnicodeString CaptionToHtml(const UnicodeString &Caption);
    // Runs a click on the link whose target (href, or id with "#" in front) is Link.
    void LinkClicked(const UnicodeString &Link);

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    void TextChanged() override;
    void CMFontChanged(TCMFontChanged &Message) override;
    void CMColorChanged(TCMColorChanged &Message) override;
    virtual void DoOnLinkClick(const UnicodeString &Link, TSysLinkType LinkType);

private:
    void ApplyCaption();
    void AdjustSize();
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
};

// ---------------------------------------------------------------------------------------------
// TCategoryPanelGroup and TCategoryPanel

class TCategoryPanelGroup;

class TCategoryPanel : public TCustomControl {
public:
    explicit TCategoryPanel(TComponent *AOwner);
    ~TCategoryPanel() override;

    TCategoryPanelGroup *PanelGroup() const;
    void SetPanelGroup(TCategoryPanelGroup *Value);
    // A collapsed panel shows only its title bar; Height answers the title bar's height then,
    // and setting it changes the height the panel takes when it expands.
    bool Collapsed() const { return FCollapsed; }
    void SetCollapsed(bool Value);
    void Collapse() { SetCollapsed(true); }
    void Expand() { SetCollapsed(false); }
    // The height while expanded.
    int ExpandedHeight() const { return FExpandedHeight; }
    int HeaderHeight() const;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    // Joining a group puts the panel below the panels already there.
    void SetParent(TWinControl *AParent) override;

    TNotifyEvent OnExpand;
    TNotifyEvent OnCollapse;

protected:
    void CreateWnd() override;
    void BoundsChanged(bool Moved, bool Resized) override;
    void CMTextChanged(TCMTextChanged &Message) override;
    void CMVisibleChanged(TCMVisibleChanged &Message) override;

private:
    friend class TCategoryPanelGroup;
    // The window covers the part below the title bar.
    void PlaceWindow();
    bool FCollapsed = false;
    int FExpandedHeight = 200;
    // When the code last set Top: the later one goes first among equal Tops.
    unsigned FOrderStamp = 0;
};

class TCategoryPanelGroup : public TCustomControl {
public:
    explicit TCategoryPanelGroup(TComponent *AOwner);
    ~TCategoryPanelGroup() override;

    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value);
    TControlScrollBar *VertScrollBar() { return &FVertScrollBar; }
    // The panels, in the order of the group's children.
    int PanelCount() const;
    TCategoryPanel *Panels(int Index) const;
    void CollapseAll();
    void ExpandAll();
    // Scrolls to Position (pixels from the top of the content), kept within the content.
    void ScrollTo(int Position);
    TRect ClientRect() const override;

protected:
    void Paint() override;
    void AlignControls(TControl *AControl, TRect &Rect) override;
    void CreateWnd() override;
    void Dispatch(TMessage &Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void BoundsChanged(bool Moved, bool Resized) override;

private:
    friend class TCategoryPanel;
    void ArrangePanels();
    void PlaceScrollBar();
    QScrollBar *Bar() const;
    int FHeaderHeight = 24;
    TControlScrollBar FVertScrollBar;
    bool FArranging = false;
    unsigned FNextStamp = 1;
};
