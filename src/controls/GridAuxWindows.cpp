// Arrow and focus windows, the alpha mask and the Gaussian blur of the focus frame.
#include "controls/GridAuxWindows.h"

#include "platform/WinGdi.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

// ---- TArrowWindow ----

TArrowWindow::TArrowWindow(TWinControl *AOwner, TArrowDirection ADir) : TPanel(AOwner), Dir(ADir)
{
    SetColor(TColorOf(0x00FF00u));
    SetParent(AOwner);
    SetVisible(false);
}

std::array<TPoint, 7> TArrowWindow::ArrowPoints(TArrowDirection ADir)
{
    switch (ADir) {
    case arrUp: return {{{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}}};
    case arrDown: return {{{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}}};
    case arrLeft: return {{{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}}};
    case arrRight: return {{{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}}};
    }
    return {};
}

void TArrowWindow::CreateParams(TCreateParams &Params)
{
    TPanel::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = 0;
}

void TArrowWindow::CreateWnd()
{
    TPanel::CreateWnd();
    Arrow = ArrowPoints(Dir);
    SetWindowRgn(Handle(), CreatePolygonRgn(Arrow.data(), int(Arrow.size()), WINDING), true);
}

TDragImageWindow::TDragImageWindow(TWinControl *AOwner) : TCustomControl(AOwner), FPicture(std::make_unique<TBitmap>())
{
    SetParent(AOwner);
    SetVisible(false);
}

TDragImageWindow::~TDragImageWindow() = default;

void TDragImageWindow::CreateParams(TCreateParams &Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = 0;
}

void TDragImageWindow::Paint()
{
    Canvas()->Draw(0, 0, FPicture.get());
}

void TArrowWindow::Paint()
{
    TCanvas *c = Canvas();
    c->Brush()->SetColor(Color());
    c->Pen()->SetColor(Color());
    c->Rectangle(ClientRect());
}

// ---- TGridFocusWindow ----

TGridFocusWindow::TGridFocusWindow(TComponent *AOwner) : TCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 0, 0);
    SetColor(TColorOf(0x0000FFu));
}

void TGridFocusWindow::CreateParams(TCreateParams &Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_DISABLED;
    Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
}

// ---- TGridAlphaMask ----

TGridAlphaMask::TGridAlphaMask()
{
    SetPixelFormat(TPixelFormat::pf32bit);
}

void TGridAlphaMask::Assign(TPersistent *Source)
{
    if (auto *m = dynamic_cast<TGridAlphaMask *>(Source)) {
        FOpacity = m->FOpacity;
        // The copy takes the source's size, so that rows and pixels are never read past its end.
        SetSize(m->Width(), m->Height());
        const std::size_t bytes = std::size_t(std::max(0, Width())) * 4;
        for (int y = 0; y < Height(); ++y)
            std::memcpy(ScanLine(y), m->ScanLine(y), bytes);
    } else {
        TBitmap::Assign(Source);
    }
    SetPixelFormat(TPixelFormat::pf32bit);
}

void TGridAlphaMask::MergeMask(TBitmap *Mask, TBitmap *Bitmap, TColor Color)
{
    if (!Bitmap || Bitmap->PixelFormat() != TPixelFormat::pf24bit)
        return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    SetSize(w, h);
    SetPixelFormat(TPixelFormat::pf32bit);
    const int mw = Mask ? Mask->Width() : 0, mh = Mask ? Mask->Height() : 0;
    auto scale = [](int v, int a) { return Byte((v * a + 127) / 255); };
    for (int y = 0; y < h; ++y) {
        const auto *src = static_cast<const Byte *>(Bitmap->ScanLine(y));
        const auto *mask = y < mh ? static_cast<const Byte *>(Mask->ScanLine(y)) : nullptr;
        auto *dst = static_cast<Byte *>(ScanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = mask && x < mw ? mask[x * 4 + 2] : 0;
            dst[x * 4 + 0] = scale(src[x * 4 + 0], a);
            dst[x * 4 + 1] = scale(src[x * 4 + 1], a);
            dst[x * 4 + 2] = scale(src[x * 4 + 2], a);
            dst[x * 4 + 3] = Byte(a);
        }
    }
}

// ---- blur ----

void BuildGaussKernel(TGaussKernel &Kernel, double Radius, int MaxData, int DataGranularity)
{
    std::array<double, 21> w{};
    double sum = 0;
    for (int d = -10; d <= 10; ++d) {
        const double x = d / Radius;
        w[std::size_t(d + 10)] = std::exp(-x * x / 2);
        sum += w[std::size_t(d + 10)];
    }
    for (double &v : w)
        v /= sum;
    // Drop the outer weights whose share stays below what one step of the data can show.
    const double threshold = double(DataGranularity) / (2.0 * MaxData);
    int k = 10;
    double tail = 0;
    while (tail < threshold && k > 1) {
        tail += 2 * w[std::size_t(k + 10)];
        --k;
    }
    double kept = 0;
    for (int d = -k; d <= k; ++d)
        kept += w[std::size_t(d + 10)];
    Kernel.K = Byte(k);
    Kernel.Weights.fill(0.0f);
    for (int d = -k; d <= k; ++d)
        Kernel.Weights[std::size_t(d + 10)] = float(w[std::size_t(d + 10)] / kept);
}

void BlurRow(Byte *Pixels, int L, const TGaussKernel &Kernel, Byte *Buffer)
{
    const int k = Kernel.K;
    for (int p = 0; p <= L; ++p)
        for (int b = 0; b < 3; ++b) {
            double s = 0;
            for (int i = -k; i <= k; ++i)
                s += double(Kernel.Weight(i)) * Pixels[std::clamp(p - i, 0, L) * 4 + b];
            // The weights are rounded to single precision; a flat run must keep its value.
            s += 1e-4;
            Buffer[p * 4 + b] = s < 0 ? 0 : s >= 255 ? 255 : Byte(s);
        }
    for (int p = 0; p <= L; ++p)
        std::memcpy(Pixels + p * 4, Buffer + p * 4, 3);
}

void GaussBlur24(TBitmap *Bitmap, double Radius)
{
    if (!Bitmap || Bitmap->PixelFormat() != TPixelFormat::pf24bit)
        throw Exception(QStringLiteral("Blur only works for 24-bit bitmaps"));
    if (Radius <= 0)
        return;
    TGaussKernel kernel;
    BuildGaussKernel(kernel, Radius, 255, 1);
    const int w = Bitmap->Width(), h = Bitmap->Height();
    if (w <= 0 || h <= 0)
        return;
    std::vector<Byte> buffer(std::size_t(std::max(w, h)) * 4);
    for (int y = 0; y < h; ++y) {
        auto *row = static_cast<Byte *>(Bitmap->ScanLine(y));
        if (20 < y && y < h - 20)
            std::memcpy(row, Bitmap->ScanLine(15), std::size_t(w) * 4);
        else
            BlurRow(row, w - 1, kernel, buffer.data());
    }
    std::vector<Byte *> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[std::size_t(y)] = static_cast<Byte *>(Bitmap->ScanLine(y));
    std::vector<Byte> column(std::size_t(h) * 4);
    for (int x = 0; x < w; ++x) {
        if (20 < x && x < w - 20) {
            for (int y = 0; y < h; ++y)
                std::memcpy(rows[std::size_t(y)] + x * 4, rows[std::size_t(y)] + 15 * 4, 3);
            continue;
        }
        for (int y = 0; y < h; ++y)
            std::memcpy(column.data() + y * 4, rows[std::size_t(y)] + x * 4, 4);
        BlurRow(column.data(), h - 1, kernel, buffer.data());
        for (int y = 0; y < h; ++y)
            std::memcpy(rows[std::size_t(y)] + x * 4, column.data() + y * 4, 3);
    }
}

void MakeRoundRectMask(TBitmap *Bitmap, int Width, int Height, int PenWidth, int CornerSize, double Radius)
{
    Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    Bitmap->SetSize(Width, Height);
    TCanvas *c = Bitmap->Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(clBlack);
    c->FillRect({0, 0, Width, Height});
    const TColor oldPen = c->Pen()->Color();
    const int oldWidth = c->Pen()->Width();
    const TColor oldBrush = c->Brush()->Color();
    if (PenWidth < 1) {
        c->Pen()->SetColor(clWhite);
        c->Pen()->SetWidth(1);
        c->Brush()->SetColor(clWhite);
    } else {
        c->Pen()->SetColor(clWhite);
        c->Pen()->SetWidth(PenWidth);
        c->Brush()->SetColor(clBlack);
    }
    const int inset = PenWidth / 2 + 2;
    c->RoundRect(inset, inset, Width - inset, Height - inset, CornerSize, CornerSize);
    c->Pen()->SetColor(oldPen);
    c->Pen()->SetWidth(oldWidth);
    c->Brush()->SetColor(oldBrush);
    if (Radius > 0)
        GaussBlur24(Bitmap, Radius);
}
