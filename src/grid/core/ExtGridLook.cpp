// The grid's look presets, the switches of how addresses in cells show, and the thin scroll
// indicators of the metro scroll type.
#include "grid/core/ExtGrid.h"
#include "grid/core/ExtGridDropDowns.h"
#include "grid/core/ExtGridPickers.h"

#include "controls/GridOptions.h"

namespace {

struct TLookText {
    const char *Name;
    const char *Caption;
};

// In the order of TGridLook; glCustom has no texts.
constexpr TLookText LookTexts[] = {
    {"glStandard", "Standard"},       {"glSoft", "Soft"},       {"glClassic", "Classic"},
    {"glQRV", "QRV"},                 {"glXP", "Windows XP"},   {"glListView", "ListView"},
    {"glVista", "Windows Vista"},     {"glWin7", "Windows 7"},  {"glOffice2007", "Office2007"},
};

const TLookText *LookTextOf(TGridLook ALook)
{
    const auto i = static_cast<std::size_t>(ALook);
    return i < std::size(LookTexts) ? &LookTexts[i] : nullptr;
}

} // namespace

void TExtStringGrid::GetLookName(TGridLook ALook, UnicodeString &Name)
{
    if (const TLookText *t = LookTextOf(ALook))
        Name = QString::fromLatin1(t->Name);
}

void TExtStringGrid::GetLookCaption(TGridLook ALook, UnicodeString &Caption)
{
    if (const TLookText *t = LookTextOf(ALook))
        Caption = QString::fromLatin1(t->Caption);
}

void TExtStringGrid::StyleDropDownEditors(TQRVStyle AStyle)
{
    // Only editors made so far take it: the others take the grid's style when they are made.
    TExtCustomDropDown *const editors[] = {EditColorPickerDropDown, EditImagePickerDropDown, EditGridDropDown,
                                           EditDetailPickerDropDown, EditTimePickerDropDown, EditCalculatorDropDown,
                                           EditMemoDropDown};
    for (TExtCustomDropDown *e : editors)
        if (e)
            e->SetComponentStyle(AStyle);
}

void TExtStringGrid::SetLook(TGridLook Value)
{
    if (Value == FLook)
        return;
    FLook = Value;
    const bool loading = LoadingState();

    if (Value != glCustom) {
        FControlLook->SetFixedGradientMirrorFrom(clNone);
        FControlLook->SetFixedGradientMirrorTo(clNone);
        FControlLook->SetFixedGradientFrom(clNone);
        FControlLook->SetFixedGradientTo(clNone);
        // The control look leaves the grid's own colours alone for clNone: they are reset here.
        FQRVGradFrom = clNone;
        FQRVGradTo = clNone;
        FQRVGradMirrorFrom = clNone;
        FQRVGradMirrorTo = clNone;
        FSortSettings->HeaderColor = clNone;
    }

    switch (Value) {
    case glVista:
        FStyle = tsWindowsVista;
        SetStyle(tsWindowsVista);
        SetSelectionStyle(ssVista);
        break;
    case glWin7:
        FStyle = tsWindows7;
        SetStyle(tsWindows7);
        SetSelectionStyle(ssWin7);
        break;
    case glOffice2007:
        FStyle = tsOffice2007Luna;
        SetStyle(tsOffice2007Luna);
        SetSelectionStyle(ssOffice2007);
        break;
    case glCustom:
        break;
    default:
        ApplyPlainLook(Value, loading);
        break;
    }

    SetScrollType(ssNormal);
    SetBorderStyle(bsSingle);
    SetBorderColor(TColorOf(0xB99D7Fu));
    Invalidate();
    if (!loading)
        UpdateFooter();
}

// The looks without a platform style: glStandard, glSoft, glClassic, glQRV, glXP, glListView.
void TExtStringGrid::ApplyPlainLook(TGridLook Value, bool Loading)
{
    if (!Designing())
        StyleDropDownEditors(tsWindowsXP);
    SetSelectionStyle(ssDefault);
    // A form being loaded brings its own colours.
    if (Loading)
        return;

    TColor from = TColorOf(0xFFFFFFu), to = clBtnFace;
    if (Value == glStandard || Value == glSoft || Value == glClassic) {
        SetFixedColor(clBtnFace);
        from = clBtnFace;
        to = clNone;
    }
    FControlLook->SetFixedGradientFrom(from);
    FControlLook->SetFixedGradientTo(to);
    SetGridFixedLineColor(TColorOf(0x808080u));
    FControlLook->SetFixedGradientMirrorFrom(clNone);
    FControlLook->SetFixedGradientMirrorTo(clNone);
    FQRVGradMirrorFrom = clNone;
    FQRVGradMirrorTo = clNone;
    SetGridLineColor(TColorOf(0xC0C0C0u));

    if (Value == glQRV || Value == glXP) {
        SetActiveCellColor(TColorOf(0xEACAB6u));
        SetActiveCellColorTo(clNone);
        SetSelectionColor(TColorOf(0xEACAB6u));
        SetSelectionColorTo(clNone);
        SetSelectionTextColor(TColorOf(0));
        FSearchFooter->SetColor(FQRVGradFrom);
        FSearchFooter->SetColorTo(FQRVGradTo);
        FControlLook->SetFixedGradientFrom(TColorOf(0xFFFFFFu));
        FControlLook->SetFixedGradientTo(Value == glXP ? clBtnFace : TColorOf(0xC0C0C0u));
        FControlLook->SetFixedGradientHoverFrom(TColorOf(0xCFD0D1u));
        FControlLook->SetFixedGradientHoverTo(TColorOf(0xBEC6C8u));
        FControlLook->SetFixedGradientHoverMirrorFrom(TColorOf(0xBEC6C8u));
        FControlLook->SetFixedGradientHoverMirrorTo(TColorOf(0xABBCBFu));
        FControlLook->SetFixedGradientDownFrom(TColorOf(0x868788u));
        FControlLook->SetFixedGradientDownTo(TColorOf(0x737C7Eu));
        FControlLook->SetFixedGradientDownMirrorFrom(TColorOf(0x737C7Eu));
        FControlLook->SetFixedGradientDownMirrorTo(TColorOf(0x627376u));
    } else {
        SetActiveCellColor(TColorOf(0x808080u));
        SetActiveCellColorTo(clNone);
        SetSelectionColor(clHighlight);
        SetSelectionTextColor(clHighlightText);
        FSearchFooter->SetColor(clBtnFace);
        FSearchFooter->SetColorTo(clBtnFace);
    }
}

// ---- addresses in cells ----

void TExtStringGrid::SetURLShow(bool Value)
{
    if (Value == FURLShow)
        return;
    FURLShow = Value;
    Invalidate();
}

void TExtStringGrid::SetURLShowInText(bool Value)
{
    if (Value == FURLShowInText)
        return;
    FURLShowInText = Value;
    Invalidate();
}

void TExtStringGrid::SetURLFull(bool Value)
{
    FURLFull = Value;
    if (FURLShow)
        Invalidate();
}

void TExtStringGrid::SetURLColor(TColor Value)
{
    if (Value == FURLColor)
        return;
    FURLColor = Value;
    if (FURLShow)
        Invalidate();
}

// ---- scroll indicators ----

void TExtStringGrid::CreateScrollControls()
{
    auto make = [this](TScrollDirection Direction) {
        auto *c = new TScrollControl(this);
        c->SetParent(this);
        c->SetDirection(Direction);
        c->SetDoubleBuffered(true);
        if (Direction == sdVertical) {
            c->SetWidth(6);
            c->SetAlign(alRight);
        } else {
            c->SetHeight(6);
            c->SetAlign(alBottom);
        }
        c->SetVisible(true);
        return c;
    };
    if (!vscrlctrl)
        vscrlctrl = make(sdVertical);
    if (!hscrlctrl)
        hscrlctrl = make(sdHorizontal);
}
