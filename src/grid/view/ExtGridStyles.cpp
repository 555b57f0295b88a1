// Colour styles, colour tones, XP schemes and the Office theme: each writes a fixed set of the
// grid's look properties that the painting reads.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridDraw.h"

#include <array>
#include <optional>

namespace {

// A colour a style leaves as it was.
constexpr TColor Keep = TColorOf(0x2FFFFFFFu);

struct THeaderStates {
    std::array<TColor, 5> Hover; // from, to, mirror from, mirror to, border
    std::array<TColor, 5> Down;
};

constexpr THeaderStates LunaStates{{TColorOf(0xE4E2DFu), TColorOf(0xDBD3CDu), TColorOf(0xDBD3CDu), TColorOf(0xD2C5BCu), TColorOf(0xB79F87u)},
                                   {TColorOf(0xE4C19Du), TColorOf(0xE4C19Du), TColorOf(0xE4C19Du), TColorOf(0xE4C19Du), TColorOf(0xE4C19Du)}};
constexpr THeaderStates VistaStates{{TColorOf(0xFFF7E3u), TColorOf(0xFFF7E3u), TColorOf(0xFFEDBDu), TColorOf(0xFBE7B7u), TColorOf(0xE3C993u)},
                                    {TColorOf(0xF9E4BCu), TColorOf(0xF9E4BCu), TColorOf(0xF7D68Du), TColorOf(0xF5D18Au), TColorOf(0xAE904Fu)}};
constexpr THeaderStates Win7States{{TColorOf(0xFEFBF8u), TColorOf(0xFAF2EDu), TColorOf(0xF4E4D7u), TColorOf(0xE8D2C1u), TColorOf(0xEEE8E3u)},
                                   {TColorOf(0xF1E8DDu), TColorOf(0xF1E4D8u), TColorOf(0xECDBCFu), TColorOf(0xEDDCCFu), TColorOf(0xD5BCAAu)}};
constexpr THeaderStates Office2010States{{TColorOf(0x6BDFFFu), TColorOf(0xAFEFFFu), TColorOf(0xAFEFFFu), TColorOf(0xE6FCFFu), TColorOf(0x3ABFE8u)},
                                         {TColorOf(0x5BD5FFu), TColorOf(0x64E0FFu), TColorOf(0x64E0FFu), TColorOf(0x71EFFFu), TColorOf(0x308AC2u)}};

// What the control look's own header gradient takes.
enum TLookGradient { lgNone, lgFromTo };
// What the control look's mirror gradient takes.
enum TLookMirror { lmLeave, lmMirror, lmFrom };

struct TStyleColours {
    TQRVStyle Style;
    std::optional<TGridLook> Look;
    TColor From, To, MirrorFrom, MirrorTo;
    TColor ActiveFrom, ActiveTo;
    TColor Selection, SelectionTo, SelectionText;
    TGridSelectionStyle SelectionStyle;
    TColor Line, FixedLine;
    // The search footer takes From and, as its end colour, MirrorTo (as they are at the end).
    bool SearchFooter;
    std::array<TColor, 4> SortedHeader;
    TLookGradient LookGradient;
    TLookMirror LookMirror;
    const THeaderStates *States;
};

constexpr TColor N = clNone;
constexpr std::array<TColor, 4> NoSorted{N, N, N, N};
constexpr std::array<TColor, 4> AeroSorted{TColorOf(0xFCF9F2u), TColorOf(0xFCF9F2u), TColorOf(0xF9F1E1u), TColorOf(0xF6ECD8u)};
constexpr std::array<TColor, 4> Sorted(std::uint32_t c) { return {TColorOf(c), TColorOf(c), TColorOf(c), TColorOf(c)}; }
constexpr TColor C(std::uint32_t v) { return TColorOf(v); }

// tsCustom and tsTerminal name no colours of their own (tsTerminal only the standard look).
const std::array<TStyleColours, 13> StyleTable{{
    {tsOffice2003Blue, glXP, C(0xFCE1CB), C(0xE0A57D), N, N, C(0x94E6FB), C(0x1595EE), C(0x94E6FB), C(0x1595EE), C(0), ssDefault, C(0xC0C0C0), C(0x808080), true, NoSorted, lgFromTo, lmLeave, nullptr},
    {tsOffice2003Silver, glXP, C(0xECE2E1), C(0xB39698), N, N, C(0x94E6FB), C(0x1595EE), C(0x94E6FB), C(0x1595EE), C(0), ssDefault, C(0xC0C0C0), C(0x808080), true, NoSorted, lgFromTo, lmLeave, nullptr},
    {tsOffice2003Olive, glXP, C(0xCFF0EA), C(0x8CC0B1), N, N, C(0x94E6FB), C(0x1595EE), C(0x94E6FB), C(0x1595EE), C(0), ssDefault, C(0xC0C0C0), C(0x808080), true, NoSorted, lgFromTo, lmLeave, nullptr},
    {tsOffice2003Classic, glXP, C(0xFFFFFF), C(0xCCD4D8), N, N, C(0xD8D5D4), C(0xD8D5D4), clHighlight, N, clHighlightText, ssDefault, C(0xC0C0C0), C(0x808080), true, NoSorted, lgNone, lmLeave, nullptr},
    {tsOffice2007Luna, glOffice2007, C(0xFBF9F6), C(0xE8DBD2), N, N, C(0x9DD8F9), C(0x5EC1F1), C(0x5EC1F1), N, C(0), ssOffice2007, C(0xF1EDEB), C(0xD1BBA4), true, NoSorted, lgFromTo, lmLeave, &LunaStates},
    {tsOffice2007Obsidian, glOffice2007, C(0xF7F7F7), C(0xDEDEDE), N, N, C(0x9DD8F9), C(0x5EC1F1), C(0x5EC1F1), N, C(0), ssDefault, C(0xE5D7D0), C(0x808080), true, NoSorted, lgFromTo, lmLeave, nullptr},
    {tsWindowsXP, glXP, clBtnFace, clBtnFace, N, N, clBtnFace, clBtnFace, clHighlight, N, clHighlightText, ssDefault, C(0xC0C0C0), C(0x808080), true, NoSorted, lgNone, lmLeave, nullptr},
    {tsWhidbey, std::nullopt, C(0xFFFFFF), clBtnFace, N, N, C(0x94E6FB), C(0x1595EE), clHighlight, N, clHighlightText, ssDefault, C(0xC0C0C0), C(0x808080), true, NoSorted, lgNone, lmLeave, nullptr},
    {tsOffice2007Silver, glOffice2007, C(0xF3F3F1), C(0xCAC9C8), Keep, Keep, C(0x99CCFF), C(0x699CFF), C(0x95C7F5), N, C(0), ssDefault, C(0xE5D7D0), C(0x808080), true, NoSorted, lgFromTo, lmLeave, nullptr},
    {tsWindowsVista, glVista, C(0xFFFFFF), C(0xFFFFFF), C(0xFAF8F7), C(0xF4F2F1), C(0xFDF8F1), C(0xFCEFD5), C(0xEACAB6), N, C(0), ssVista, C(0xECECF0), C(0xD4D2D1), true, AeroSorted, lgNone, lmMirror, &VistaStates},
    {tsWindows7, glWin7, C(0xFDFCFA), C(0xFAF0E6), C(0xF4E6DC), C(0xF7E9DD), C(0xFCEBDC), C(0xFCDBC1), C(0xEACAB6), N, C(0), ssWin7, C(0xECECF0), C(0xD4D2D1), true, AeroSorted, lgNone, lmMirror, &Win7States},
    {tsOffice2010Blue, glOffice2007, C(0xF5E7DA), C(0xF5E7DA), C(0xF5E7DA), C(0xF5E7DA), C(0x5BD5FF), C(0x71EFFF), C(0xFFDBB7), N, C(0), ssDefault, C(0xC0C0C0), C(0xC7B0A0), true, Sorted(0xD6CEC7), lgNone, lmFrom, &Office2010States},
    {tsOffice2010Silver, glOffice2007, C(0xE8E3DF), C(0xE8E3DF), C(0xE8E3DF), C(0xE8E3DF), C(0x5BD5FF), C(0x71EFFF), C(0xFFDBB7), N, C(0), ssDefault, C(0xC0C0C0), C(0xBAB5B1), true, Sorted(0xAAAAAA), lgNone, lmFrom, &Office2010States},
}};

constexpr TStyleColours Office2010Black{tsOffice2010Black, glOffice2007, C(0x6A6A6A), C(0x6A6A6A), C(0x6A6A6A), C(0x6A6A6A), C(0x5BD5FF), C(0x71EFFF), C(0xFFDBB7), N, C(0), ssDefault, C(0xC0C0C0), C(0x444444), true, Sorted(0xBABABA), lgNone, lmFrom, &Office2010States};

const TStyleColours *StyleColoursOf(TQRVStyle AStyle)
{
    if (AStyle == tsOffice2010Black)
        return &Office2010Black;
    for (const TStyleColours &s : StyleTable)
        if (s.Style == AStyle)
            return &s;
    return nullptr;
}

} // namespace

void TExtStringGrid::SetStyle(TQRVStyle AStyle)
{
    SetSelectionColor(clHighlight);
    SetSelectionColorTo(clNone);
    SetSelectionTextColor(clHighlightText);
    SetSelectionStyle(ssDefault);
    FSortSettings->HeaderColor = clNone;
    FSortSettings->HeaderColorTo = clNone;
    FSortSettings->HeaderMirrorColor = clNone;
    FSortSettings->HeaderMirrorColorTo = clNone;
    FControlLook->Init();

    if (AStyle == tsTerminal) {
        SetLook(glStandard);
        Invalidate();
        return;
    }
    const TStyleColours *s = StyleColoursOf(AStyle);
    if (!s) {
        Invalidate();
        return;
    }
    // The look goes first: a change of look writes colours of its own, which the style's then
    // replace.
    if (s->Look)
        SetLook(*s->Look);

    SetQRVGradientFrom(s->From);
    SetQRVGradientTo(s->To);
    if (s->MirrorFrom != Keep)
        SetQRVGradientMirrorFrom(s->MirrorFrom);
    if (s->MirrorTo != Keep)
        SetQRVGradientMirrorTo(s->MirrorTo);
    if (s->LookGradient == lgFromTo) {
        FControlLook->SetFixedGradientFrom(s->From);
        FControlLook->SetFixedGradientTo(s->To);
    } else {
        FControlLook->SetFixedGradientFrom(clNone);
        FControlLook->SetFixedGradientTo(clNone);
    }
    if (s->LookMirror == lmMirror) {
        FControlLook->SetFixedGradientMirrorFrom(s->MirrorFrom);
        FControlLook->SetFixedGradientMirrorTo(s->MirrorTo);
    } else if (s->LookMirror == lmFrom) {
        FControlLook->SetFixedGradientMirrorFrom(s->From);
        FControlLook->SetFixedGradientMirrorTo(s->From);
    }

    if (s->States) {
        if (AStyle == tsWindows7) {
            SetQRVGradientHoverFrom(TColorOf(0xFDF8F3u));
            SetQRVGradientHoverTo(TColorOf(0xF9F3EFu));
            SetQRVGradientHoverMirrorFrom(clNone);
            SetQRVGradientHoverMirrorTo(clNone);
            SetQRVGradientHoverBorder(TColorOf(0xEEE8E3u));
        } else if (s->States == &Office2010States) {
            SetQRVGradientHoverFrom(clNone);
            SetQRVGradientHoverTo(clNone);
            SetQRVGradientHoverMirrorFrom(clNone);
            SetQRVGradientHoverMirrorTo(clNone);
            SetQRVGradientHoverBorder(clNone);
        }
        const THeaderStates &st = *s->States;
        FControlLook->SetFixedGradientHoverFrom(st.Hover[0]);
        FControlLook->SetFixedGradientHoverTo(st.Hover[1]);
        FControlLook->SetFixedGradientHoverMirrorFrom(st.Hover[2]);
        FControlLook->SetFixedGradientHoverMirrorTo(st.Hover[3]);
        if (AStyle != tsWindows7)
            FControlLook->SetFixedGradientHoverBorder(st.Hover[4]);
        FControlLook->SetFixedGradientDownFrom(st.Down[0]);
        FControlLook->SetFixedGradientDownTo(st.Down[1]);
        FControlLook->SetFixedGradientDownMirrorFrom(st.Down[2]);
        FControlLook->SetFixedGradientDownMirrorTo(st.Down[3]);
        FControlLook->SetFixedGradientDownBorder(st.Down[4]);
    }

    SetActiveCellColor(s->ActiveFrom);
    SetActiveCellColorTo(s->ActiveTo);
    SetSelectionColor(s->Selection);
    SetSelectionColorTo(s->SelectionTo);
    SetSelectionTextColor(s->SelectionText);
    SetSelectionStyle(s->SelectionStyle);
    SetGridLineColor(s->Line);
    SetGridFixedLineColor(s->FixedLine);
    if (s->SearchFooter) {
        FSearchFooter->SetColor(s->From);
        FSearchFooter->SetColorTo(s->MirrorTo == Keep ? QRVGradientMirrorTo() : s->MirrorTo);
    }
    FSortSettings->HeaderColor = s->SortedHeader[0];
    FSortSettings->HeaderColorTo = s->SortedHeader[1];
    FSortSettings->HeaderMirrorColor = s->SortedHeader[2];
    FSortSettings->HeaderMirrorColorTo = s->SortedHeader[3];
    if (AStyle == tsWindowsXP)
        SetLook(glXP);
    Invalidate();
}

void TExtStringGrid::SetComponentStyle(TQRVStyle AStyle)
{
    FStyle = AStyle;
    SetStyle(AStyle);
    // A change of look on the way stores the look's own style; the grid wears the one asked for.
    FStyle = AStyle;
    if (!Designing()) {
        StyleDropDownEditors(AStyle);
        if (AStyle != tsCustom && FScrollType == ssMetro)
            SetScrollType(ssNormal);
    }
}

void TExtStringGrid::SetColorTones(const TColorTones &ATones)
{
    FTones = ATones;
    SetLook(glClassic);
    SetFlat(true);
    SetScrollType(ssMetro);

    SetFixedColor(ATones.Foreground.BrushColor);
    FFixedFont->SetColor(ATones.Foreground.TextColor);
    FFixedFont->SetName(DefaultUIFontName());
    Font()->SetName(DefaultUIFontName());
    SetColor(ATones.Background.BrushColor);
    Font()->SetColor(ATones.Background.TextColor);

    SetSelectionColor(ATones.Selected.BrushColor);
    SetSelectionTextColor(ATones.Selected.TextColor);
    SetSelectionColorTo(clNone);

    SetGridLineColor(TColorOf(0xE6E6E6u));
    SetGridFixedLineColor(ColorScalePercent(ATones.Foreground.BrushColor, -20));
    SetBorderStyle(bsNone);

    FControlLook->SetControlStyle(TControlLook::csGlyph);
    const std::pair<void (TControlLook::*)(TBitmap *), const char *> glyphs[] = {
        {&TControlLook::SetCheckedGlyph, "metrocheckon"},
        {&TControlLook::SetUnCheckedGlyph, "metrocheckoff"},
        {&TControlLook::SetRadioOffGlyph, "metroradiooff"},
        {&TControlLook::SetRadioOnGlyph, "metroradioon"},
    };
    for (const auto &[set, name] : glyphs) {
        TBitmap glyph;
        glyph.LoadFromResourceName(QString::fromLatin1(name));
        (FControlLook->*set)(&glyph);
    }

    if (!Designing()) {
        auto buttonTones = [&](auto *b) {
            if (!b)
                return;
            b->SetButtonColor(ATones.Background.BrushColor);
            b->SetButtonColorHot(ATones.Hover.BrushColor);
            b->SetButtonColorDown(ATones.Selected.BrushColor);
            b->SetButtonBorderColor(ATones.Background.BorderColor);
        };
        // The spin and date editors keep their button colours in plain fields.
        auto buttonFields = [&](auto *b) {
            b->ButtonColor = ATones.Background.BrushColor;
            b->ButtonColorHot = ATones.Hover.BrushColor;
            b->ButtonColorDown = ATones.Selected.BrushColor;
            b->ButtonBorderColor = ATones.Background.BorderColor;
        };
        if (EditBtn)
            buttonTones(EditBtn->ButtonPart());
        buttonTones(EditCombo);
        if (EditCombo) {
            EditCombo->SetFlatLineColor(Color());
            EditCombo->SetFlat(true);
        }
        buttonFields(SpinEdit()->Button());
        TGridDatePicker *picker = DateTimePicker();
        buttonFields(picker);
        picker->SetBorderColor(ATones.Background.BrushColor);
        picker->SetMetroStyle(true);
        for (int i = 0; i < ComponentCount(); ++i)
            if (auto *editor = dynamic_cast<IQRVTones *>(Components(i)))
                editor->SetColorTones(ATones);
    }

    FControlLook->SetFlatButton(true);
    FFloatingFooter->Color = ATones.Foreground.BrushColor;
    FSearchFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColorTo(ATones.Foreground.BrushColor);
    FCellNode->SetNodeType(cnFlat);
    Invalidate();
}

void TExtStringGrid::SetTheme(TXPColorScheme Scheme)
{
    struct TScheme {
        TColor From, To, MirrorFrom, MirrorTo, Search, SearchTo, Active, ActiveTo;
    };
    TScheme t{};
    switch (Scheme) {
    case xpBlue:
        t = {C(0xFCE1CB), C(0xE0A57D), N, N, C(0xFCE1CB), C(0xE0A57D), C(0x94E6FB), C(0x1595EE)};
        break;
    case xpGreen:
        t = {C(0xCFF0EA), C(0x8CC0B1), N, N, C(0xCFF0EA), C(0x8CC0B1), C(0x94E6FB), C(0x1595EE)};
        break;
    case xpGray:
        t = {C(0xECE2E1), C(0xB39698), N, N, C(0xECE2E1), C(0xB39698), C(0x94E6FB), C(0x1595EE)};
        break;
    case vistaAero:
        t = {C(0xFFFFFF), C(0xFFFFFF), C(0xFAF8F7), C(0xF4F2F1), C(0xECE2E1), C(0xB39698), C(0x94E6FB), C(0x1595EE)};
        break;
    case xpNone:
    default:
        t = {C(0xFFFFFF), clBtnFace, N, N, C(0xFFFFFF), C(0xFFD9B3), C(0xFFFFFF), C(0xFFD9B3)};
        break;
    }
    // Written to the fields: a scheme does not repaint.
    FQRVGradFrom = QRVColor(t.From);
    FQRVGradTo = QRVColor(t.To);
    FQRVGradMirrorFrom = QRVColor(t.MirrorFrom);
    FQRVGradMirrorTo = QRVColor(t.MirrorTo);
    FSearchFooter->SetColor(t.Search);
    FSearchFooter->SetColorTo(t.SearchTo);
    FActiveCellColor = t.Active;
    FActiveCellColorTo = t.ActiveTo;
    const bool none = Scheme == xpNone;
    FControlLook->SetFixedGradientFrom(none ? clNone : t.From);
    FControlLook->SetFixedGradientTo(none ? clNone : t.To);
}

void TExtStringGrid::UpdateOfficeTheme()
{
    if (Designing())
        return;
    const TOfficeTheme theme = CurrentOfficeTheme();
    if (theme == FOldOfficeTheme)
        return;
    static constexpr std::array<std::pair<TOfficeTheme, TQRVStyle>, 10> styles{{
        {ot2003Blue, tsOffice2003Blue},
        {ot2003Silver, tsOffice2003Silver},
        {ot2003Olive, tsOffice2003Olive},
        {ot2003Classic, tsOffice2003Classic},
        {ot2007Blue, tsOffice2007Luna},
        {ot2007Silver, tsOffice2007Silver},
        {ot2007Black, tsOffice2007Obsidian},
        {ot2010Blue, tsOffice2010Blue},
        {ot2010Silver, tsOffice2010Silver},
        {ot2010Black, tsOffice2010Black},
    }};
    for (const auto &[t, style] : styles)
        if (t == theme)
            SetComponentStyle(style);
    FOldOfficeTheme = theme;
}

void TExtStringGrid::SetAutoThemeAdapt(bool Value)
{
    if (Value == FAutoThemeAdapt)
        return;
    FAutoThemeAdapt = Value;
    if (FSearchFooter)
        FSearchFooter->SetAutoThemeAdapt(Value);
    if (Value) {
        UpdateOfficeTheme();
        Invalidate();
    }
    if (!Designing() && !LoadingState())
        RegisterThemeWindow(Value);
}

void TExtStringGrid::CMStyleChanged(TMessage &)
{
    ApplyPlatformStyle();
    Invalidate();
}
