// The watch's settings and appearance, and the colours the library styles give an appearance.
#include "dropdowns/ExtWatch.h"

// ---- settings ----

void TWatchSettings::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TWatchSettings *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FSecond = s->FSecond;
    FTimeOffset = s->FTimeOffset;
    SetAuto(s->FAuto);
}

// ---- appearance ----

TWatchAppearance::TWatchAppearance()
    : FAMPMFont(std::make_unique<TFont>()), FHourFont(std::make_unique<TFont>()),
      FPicture(std::make_unique<TPicture>())
{
    FPicture->OnChange = [this](TObject *) { Changed(); };
    ResetToDefaults();
}

TWatchAppearance::~TWatchAppearance()
{
    FPicture->OnChange = nullptr;
}

void TWatchAppearance::SetAMPMFont(TFont *Value)
{
    FAMPMFont->Assign(Value);
    Changed();
}

void TWatchAppearance::SetHourFont(TFont *Value)
{
    FHourFont->Assign(Value);
    Changed();
}

void TWatchAppearance::SetPicture(TPicture *Value)
{
    // The picture's own change event tells of the new content.
    FPicture->Assign(Value);
}

void TWatchAppearance::ResetToDefaults()
{
    const TNotifyEvent keep = OnChange;
    OnChange = nullptr;
    TFont f;
    f.SetName(QStringLiteral("Tahoma"));
    f.SetSize(10);
    FAMPMFont->Assign(&f);
    f.SetSize(8);
    FHourFont->Assign(&f);
    FPicture->SetGraphic(nullptr);
    FAMPMBorderColor = clBlack;
    FAMPMColor = clWhite;
    FAMPMFrame = apRect;
    FBorderColor = clBlack;
    FBorderWidth = 4;
    FBackgroundColor = clWhite;
    FBackgroundColorTo = clNone;
    FBackgroundGradient = wgVertical;
    FCenterPointBorderColor = clNone;
    FCenterPointOuterBorderColor = clNone;
    FCenterPointColor = clBlack;
    FCenterPointSize = 4;
    FHourColor = clBlack;
    FHourMarkLength = 0;
    FHourMarkWidth = 1;
    FHourMarkStyle = hmsLine;
    FHourPointer = clBlack;
    FHourPointerShadow = clBtnShadow;
    FHourPointerSize = 4;
    FMinuteColor = clGray;
    FMinutePointer = clBlack;
    FMinutePointerShadow = clBtnShadow;
    FMinutePointerSize = 3;
    FMinuteMarkLength = 0;
    FMinuteMarkWidth = 1;
    FPointerStyle = psLine;
    FSecondPointer = clRed;
    FSecondPointerSize = 1;
    FShape = wsCircle;
    FSize = 0;
    FTickMarks = tmAll;
    OnChange = keep;
}

void TWatchAppearance::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TWatchAppearance *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FAMPMFont->Assign(s->FAMPMFont.get());
    FAMPMBorderColor = s->FAMPMBorderColor;
    FAMPMColor = s->FAMPMColor;
    FAMPMFrame = s->FAMPMFrame;
    FBorderColor = s->FBorderColor;
    FBorderWidth = s->FBorderWidth;
    FBackgroundColor = s->FBackgroundColor;
    FBackgroundColorTo = s->FBackgroundColorTo;
    FBackgroundGradient = s->FBackgroundGradient;
    FCenterPointBorderColor = s->FCenterPointBorderColor;
    FCenterPointColor = s->FCenterPointColor;
    FCenterPointSize = s->FCenterPointSize;
    FHourFont->Assign(s->FHourFont.get());
    FHourColor = s->FHourColor;
    FHourMarkLength = s->FHourMarkLength;
    FHourMarkWidth = s->FHourMarkWidth;
    FHourPointer = s->FHourPointer;
    FHourPointerShadow = s->FHourPointerShadow;
    FHourPointerSize = s->FHourPointerSize;
    FMinuteColor = s->FMinuteColor;
    FMinutePointer = s->FMinutePointer;
    FMinutePointerShadow = s->FMinutePointerShadow;
    FMinutePointerSize = s->FMinutePointerSize;
    FMinuteMarkLength = s->FMinuteMarkLength;
    FMinuteMarkWidth = s->FMinuteMarkWidth;
    {
        // The copied picture is told through the three setters below, if at all.
        const TNotifyEvent keep = FPicture->OnChange;
        FPicture->OnChange = nullptr;
        FPicture->Assign(s->FPicture.get());
        FPicture->OnChange = keep;
    }
    FPointerStyle = s->FPointerStyle;
    FSecondPointer = s->FSecondPointer;
    FSecondPointerSize = s->FSecondPointerSize;
    FShape = s->FShape;
    FSize = s->FSize;
    SetCenterPointOuterBorderColor(s->FCenterPointOuterBorderColor);
    SetTickMarks(s->FTickMarks);
    SetHourMarkStyle(s->FHourMarkStyle);
}

// ---- style colours ----

namespace {

struct TWatchStyleRow {
    TQRVStyle Style;
    TColor A, F, B, T, D, P, Q, H, S, R;
};

// A: AM/PM frame, F: AM/PM fill, B and T: face gradient, D: outline, P and Q: centre ring and
// fill, H: ticks and hands, S: hand shadows, R: second hand.
const TWatchStyleRow StyleRows[] = {
    {tsOffice2003Blue, 0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF, 0xFFFFFF},
    {tsOffice2003Silver, 0x962D00, 0x947C7C, 0xECE2E1, 0xECE2E1, 0x947C7C, 0x947C7C, 0x947C7C, 0x947C7C, 0xFFFFFF, 0xFFFFFF},
    {tsOffice2003Olive, 0x962D00, 0x588060, 0xCFF0EA, 0xCFF0EA, 0x588060, 0x588060, 0x588060, 0x588060, 0xFFFFFF, 0xFFFFFF},
    {tsOffice2003Classic, 0x962D00, 0x808080, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080},
    {tsOffice2007Luna, 0xB99D7F, 0xFFEFE3, 0xFFEFE3, 0xFFD2AF, 0xB99D7F, 0xB99D7F, 0xB99D7F, 0xB99D7F, 0xFFFFFF, 0xB99D7F},
    {tsOffice2007Obsidian, 0xF2F1F0, 0x5C534C, 0x5C534C, 0x5C534C, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0, 0xFFFFFF, 0xF2F1F0},
    {tsWindowsXP, 0x000000, clBtnFace, clBtnFace, clBtnFace, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0x000000},
    {tsWhidbey, 0x5F5F5F, 0xE7EAEA, 0xF5F9FA, 0xE7EAEA, 0x5F5F5F, 0x5F5F5F, 0x5F5F5F, 0x5F5F5F, 0xFFFFFF, 0x5F5F5F},
    {tsOffice2007Silver, 0x74706F, 0xF8F7F6, 0xF8F7F6, 0xE8E0DB, 0x74706F, 0x74706F, 0x74706F, 0x74706F, 0xFFFFFF, 0x74706F},
    {tsWindowsVista, 0xFDDE99, 0xFEF9F0, 0xFFFFFF, 0xFDF3E7, 0xFDDE99, 0xFDDE99, 0xFDDE99, 0xFDDE99, 0xFFFFFF, 0xFDDE99},
    {tsWindows7, 0xCEA27D, 0xFDFBFA, 0xFFFFFF, 0xFCEBDC, 0xCEA27D, 0xCEA27D, 0xCEA27D, 0xCEA27D, 0xFFFFFF, 0xCEA27D},
    {tsTerminal, 0x000000, 0xC0C0C0, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0x000000, 0xC0C0C0, 0x000000},
    {tsOffice2010Blue, 0xC7B29B, 0xFDF6EF, 0xFFFFFF, 0xFFFFFF, 0xC7B29B, 0xC7B29B, 0xC7B29B, 0xC7B29B, 0xC0C0C0, 0xC7B29B},
    {tsOffice2010Silver, 0xD2CDC8, 0xEDE5E0, 0xFFFFFF, 0xFFFFFF, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xC0C0C0, 0xD2CDC8},
    {tsOffice2010Black, 0x6D6D6D, 0x919191, 0xE8E8E8, 0xE8E8E8, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0xC0C0C0, 0x6D6D6D},
};

} // namespace

void ApplyStyleColors(TWatchAppearance *Appearance, TQRVStyle AStyle)
{
    if (!Appearance)
        return;
    Appearance->SetCenterPointOuterBorderColor(clBlack);
    Appearance->HourFont()->SetColor(clBlack);
    Appearance->AMPMFont()->SetColor(clBlack);
    for (const TWatchStyleRow &row : StyleRows) {
        if (row.Style != AStyle)
            continue;
        Appearance->SetAMPMBorderColor(row.A);
        Appearance->SetAMPMColor(row.F);
        Appearance->SetBackgroundColor(row.B);
        Appearance->SetBackgroundColorTo(row.T);
        Appearance->SetBorderColor(row.D);
        Appearance->SetCenterPointBorderColor(row.P);
        Appearance->SetCenterPointColor(row.Q);
        Appearance->SetHourColor(row.H);
        Appearance->SetMinuteColor(row.H);
        Appearance->SetHourPointer(row.H);
        Appearance->SetMinutePointer(row.H);
        Appearance->SetHourPointerShadow(row.S);
        Appearance->SetMinutePointerShadow(row.S);
        Appearance->SetSecondPointer(row.R);
        if (AStyle == tsOffice2007Obsidian) {
            Appearance->AMPMFont()->SetColor(0xF2F1F0);
            Appearance->HourFont()->SetColor(0xF2F1F0);
        }
        return;
    }
}
