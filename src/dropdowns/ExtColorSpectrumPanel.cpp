#include "dropdowns/ExtColorSelectors.h"

#include "platform/Windows.h"

TExtColorSpectrumPanel::TExtColorSpectrumPanel(TComponent *AOwner) : TExtCustomColorSelectorPanel(AOwner)
{
    FSpectrumImage = new TImage(this);
    FSpectrumImage->SetParent(this);
    FSpectrumImage->SetHeight(128);
    FSpectrumImage->SetWidth(128);
    {
        TBitmap bmp;
        bmp.LoadFromResourceName(QStringLiteral("QRV_SPECTRUM"));
        FSpectrumImage->Picture()->SetBitmap(&bmp);
    }
    FSpectrumImage->OnMouseMove = [this](TObject *Sender, TShiftState Shift, int X, int Y) {
        SpectrumMouseMove(Sender, Shift, X, Y);
    };
    FSpectrumImage->OnMouseDown = [this](TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        SpectrumMouseDown(Sender, Button, Shift, X, Y);
    };
    FSpectrumImage->OnMouseUp = [this](TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        SpectrumMouseUp(Sender, Button, Shift, X, Y);
    };
    Screen->SetCursors(SpectrumCursor, LoadCursor(nullptr, QStringLiteral("QRV_POINTER")));
    FSpectrumImage->SetCursor(SpectrumCursor);
}

TExtColorSpectrumPanel::~TExtColorSpectrumPanel()
{
    delete FSpectrumImage;
}

void TExtColorSpectrumPanel::SetSpectrumPanelSize()
{
    SetHeight(174);
    SetWidth(150);
}

void TExtColorSpectrumPanel::LayoutSpectrum()
{
    SetSpectrumPanelSize();
    TImage *img = FSpectrumImage;
    img->SetLeft((Width() - img->Width()) / 2);
    img->SetTop(10);
    const int IL = img->Left(), IW = img->Width(), IB = img->Top() + img->Height();
    FSelectedRect = TRect(IL - 1, IB + 8, IL + IW / 2 - 2, IB + 28);
    FHotRect = TRect(FSelectedRect.Right + 4, FSelectedRect.Top, IL + IW + 1, FSelectedRect.Bottom);
    FHotColor = clNone;
    Invalidate();
}

void TExtColorSpectrumPanel::DrawSwatch(TCanvas *Canvas, const TRect &R, TColor Color)
{
    Canvas->Pen()->SetColor(0x808080);
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas->Rectangle(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
    Canvas->Pen()->SetColor(0xFFFFFF);
    // clNone shows no fill: the swatch stays empty until a colour is sampled.
    if (Color != clNone) {
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(Color);
    }
    Canvas->Rectangle(R);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
}

void TExtColorSpectrumPanel::Paint()
{
    TExtCustomColorSelectorPanel::Paint();
    TCanvas *C = Canvas();
    const TImage *img = FSpectrumImage;
    const TRect r(img->Left(), img->Top(), img->Left() + img->Width(), img->Top() + img->Height());
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    C->Pen()->SetColor(0xFFFFFF);
    C->Rectangle(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    C->Pen()->SetColor(0x808080);
    C->Rectangle(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2);
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    DrawSwatch(C, FSelectedRect, FSelectedColor);
    DrawSwatch(C, FHotRect, FHotColor);
}

void TExtColorSpectrumPanel::SpectrumMouseMove(TObject *, TShiftState, int X, int Y)
{
    // The colour shown under the pointer is the spectrum's own pixel there.
    TBitmap *bmp = FSpectrumImage->Picture()->Bitmap();
    if (X < 0 || Y < 0 || X >= bmp->Width() || Y >= bmp->Height())
        return;
    FHotColor = bmp->Canvas()->Pixels(X, Y);
    const TRect r(FHotRect.Left - 1, FHotRect.Top - 1, FHotRect.Right + 1, FHotRect.Bottom + 1);
    if (HandleAllocated())
        InvalidateRect(Handle(), &r, false);
}

void TExtColorSpectrumPanel::SpectrumMouseDown(TObject *, TMouseButton, TShiftState, int, int)
{
    SetSelectedColor(FHotColor);
    const TRect r(FSelectedRect.Left - 1, FSelectedRect.Top - 1, FSelectedRect.Right + 1, FSelectedRect.Bottom + 1);
    if (HandleAllocated())
        InvalidateRect(Handle(), &r, false);
    if (OnSelect)
        OnSelect(this);
}

void TExtColorSpectrumPanel::SpectrumMouseUp(TObject *, TMouseButton, TShiftState, int, int)
{
    if (OnShouldHide)
        OnShouldHide(this);
}

void TExtColorSpectrumPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
    if (OnShouldHide)
        OnShouldHide(this);
}
