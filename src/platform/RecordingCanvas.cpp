// The recording canvas of the tests.
#include "platform/RecordingCanvas.h"

#include "platform/GraphicsPrivate.h"

class TRecordingCanvas::TScope {
public:
    TScope(TRecordingCanvas *c, const char *name, std::vector<int> args, const UnicodeString &text = UnicodeString())
        : FCanvas(c)
    {
        FCanvas->Record(QString::fromLatin1(name), std::move(args), text);
        ++FCanvas->FDepth;
    }
    ~TScope() { --FCanvas->FDepth; }
    TScope(const TScope &) = delete;
    TScope &operator=(const TScope &) = delete;

private:
    TRecordingCanvas *FCanvas;
};

UnicodeString TRecordingCanvas::TCall::ToString() const
{
    QStringList parts;
    for (int a : Args)
        parts << QString::number(a);
    if (!Text.isNull())
        parts << QLatin1Char('"') + Text + QLatin1Char('"');
    return Name + QLatin1Char('(') + parts.join(QLatin1Char(',')) + QLatin1Char(')');
}

TRecordingCanvas::TRecordingCanvas() = default;

TRecordingCanvas::TRecordingCanvas(int Width, int Height)
    : FImage(std::make_unique<QImage>(std::max(Width, 1), std::max(Height, 1), QImage::Format_RGB32))
{
    FImage->setDotsPerMeterX(3780);
    FImage->setDotsPerMeterY(3780);
    FImage->fill(Qt::white);
}

TRecordingCanvas::~TRecordingCanvas()
{
    ReleaseOwnPainter();
}

QPainter *TRecordingCanvas::CreatePainter()
{
    return FImage ? new QPainter(FImage.get()) : nullptr;
}

QImage *TRecordingCanvas::RasterImage()
{
    return FImage.get();
}

const QImage &TRecordingCanvas::Image() const
{
    static const QImage none;
    return FImage ? *FImage : none;
}

bool TRecordingCanvas::Record(const UnicodeString &Name, std::vector<int> Args, const UnicodeString &Text)
{
    if (FDepth > 0)
        return false;
    // The colours the call draws with: the brush and font decide them lazily.
    Prepare();
    TCall c;
    c.Name = Name;
    c.Args = std::move(Args);
    c.Text = Text;
    c.PenColor = Pen()->Color();
    c.PenWidth = Pen()->Width();
    c.PenStyle = Pen()->Style();
    c.PenMode = Pen()->Mode();
    c.BrushColor = Brush()->Color();
    c.BrushStyle = Brush()->Style();
    c.FontName = Font()->Name();
    c.FontHeight = Font()->Height();
    c.FontStyle = Font()->Style();
    c.FontColor = Font()->Color();
    c.FontOrientation = Font()->Orientation();
    c.TextColor = GetTextColor();
    c.BkColor = GetBkColor();
    c.BkMode = GetBkMode();
    FCalls.push_back(std::move(c));
    return true;
}

QStringList TRecordingCanvas::Lines() const
{
    QStringList out;
    for (const TCall &c : FCalls)
        out << c.ToString();
    return out;
}

std::vector<TRecordingCanvas::TCall> TRecordingCanvas::CallsOf(const UnicodeString &Name) const
{
    std::vector<TCall> out;
    for (const TCall &c : FCalls)
        if (c.Name == Name)
            out.push_back(c);
    return out;
}

namespace {

std::vector<int> PointArgs(const std::vector<TPoint> &Points)
{
    std::vector<int> a;
    for (const TPoint &p : Points) {
        a.push_back(p.X);
        a.push_back(p.Y);
    }
    return a;
}

} // namespace

void TRecordingCanvas::MoveTo(int X, int Y)
{
    TScope s(this, "MoveTo", {X, Y});
    TCanvas::MoveTo(X, Y);
}

void TRecordingCanvas::LineTo(int X, int Y)
{
    TScope s(this, "LineTo", {X, Y});
    TCanvas::LineTo(X, Y);
}

void TRecordingCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    TScope s(this, "Rectangle", {X1, Y1, X2, Y2});
    TCanvas::Rectangle(X1, Y1, X2, Y2);
}

void TRecordingCanvas::FillRect(const TRect &R)
{
    TScope s(this, "FillRect", {R.Left, R.Top, R.Right, R.Bottom});
    TCanvas::FillRect(R);
}

void TRecordingCanvas::FrameRect(const TRect &R)
{
    TScope s(this, "FrameRect", {R.Left, R.Top, R.Right, R.Bottom});
    TCanvas::FrameRect(R);
}

void TRecordingCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    TScope s(this, "RoundRect", {X1, Y1, X2, Y2, X3, Y3});
    TCanvas::RoundRect(X1, Y1, X2, Y2, X3, Y3);
}

void TRecordingCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    TScope s(this, "Ellipse", {X1, Y1, X2, Y2});
    TCanvas::Ellipse(X1, Y1, X2, Y2);
}

void TRecordingCanvas::Polygon(const std::vector<TPoint> &Points)
{
    TScope s(this, "Polygon", PointArgs(Points));
    TCanvas::Polygon(Points);
}

void TRecordingCanvas::Polyline(const std::vector<TPoint> &Points)
{
    TScope s(this, "Polyline", PointArgs(Points));
    TCanvas::Polyline(Points);
}

void TRecordingCanvas::PolyBezier(const std::vector<TPoint> &Points)
{
    TScope s(this, "PolyBezier", PointArgs(Points));
    TCanvas::PolyBezier(Points);
}

void TRecordingCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    TScope s(this, "Arc", {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
    TCanvas::Arc(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TRecordingCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    TScope s(this, "Chord", {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
    TCanvas::Chord(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TRecordingCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    TScope s(this, "Pie", {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
    TCanvas::Pie(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TRecordingCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle)
{
    TScope s(this, "FloodFill", {X, Y, Color, static_cast<int>(FillStyle)});
    TCanvas::FloodFill(X, Y, Color, FillStyle);
}

void TRecordingCanvas::DrawFocusRect(const TRect &R)
{
    TScope s(this, "DrawFocusRect", {R.Left, R.Top, R.Right, R.Bottom});
    TCanvas::DrawFocusRect(R);
}

void TRecordingCanvas::SetPixel(int X, int Y, TColor Color)
{
    TScope s(this, "SetPixel", {X, Y, Color});
    TCanvas::SetPixel(X, Y, Color);
}

void TRecordingCanvas::TextOut(int X, int Y, const UnicodeString &Text)
{
    TScope s(this, "TextOut", {X, Y}, Text.isNull() ? QStringLiteral("") : Text);
    TCanvas::TextOut(X, Y, Text);
}

void TRecordingCanvas::TextRect(const TRect &R, int X, int Y, const UnicodeString &Text)
{
    TScope s(this, "TextRect", {R.Left, R.Top, R.Right, R.Bottom, X, Y}, Text.isNull() ? QStringLiteral("") : Text);
    TCanvas::TextRect(R, X, Y, Text);
}

void TRecordingCanvas::ExtTextOut(int X, int Y, unsigned Options, const TRect *R, const UnicodeString &Text,
                                  int PrefixPos)
{
    std::vector<int> args{X, Y, static_cast<int>(Options)};
    if (R) {
        args.insert(args.end(), {R->Left, R->Top, R->Right, R->Bottom});
    }
    args.push_back(PrefixPos);
    TScope s(this, "ExtTextOut", std::move(args), Text.isNull() ? QStringLiteral("") : Text);
    TCanvas::ExtTextOut(X, Y, Options, R, Text, PrefixPos);
}

void TRecordingCanvas::Draw(int X, int Y, TGraphic *Graphic)
{
    TScope s(this, "Draw", {X, Y, Graphic ? Graphic->Width() : 0, Graphic ? Graphic->Height() : 0});
    TCanvas::Draw(X, Y, Graphic);
}

void TRecordingCanvas::StretchDraw(const TRect &R, TGraphic *Graphic)
{
    TScope s(this, "StretchDraw", {R.Left, R.Top, R.Right, R.Bottom});
    TCanvas::StretchDraw(R, Graphic);
}

void TRecordingCanvas::CopyRect(const TRect &Dest, TCanvas *Canvas, const TRect &Source)
{
    TScope s(this, "CopyRect",
             {Dest.Left, Dest.Top, Dest.Right, Dest.Bottom, Source.Left, Source.Top, Source.Right, Source.Bottom,
              static_cast<int>(CopyMode())});
    TCanvas::CopyRect(Dest, Canvas, Source);
}

void TRecordingCanvas::BrushCopy(const TRect &Dest, TBitmap *Bitmap, const TRect &Source, TColor Color)
{
    TScope s(this, "BrushCopy",
             {Dest.Left, Dest.Top, Dest.Right, Dest.Bottom, Source.Left, Source.Top, Source.Right, Source.Bottom, Color});
    TCanvas::BrushCopy(Dest, Bitmap, Source, Color);
}

int TRecordingCanvas::SetBkMode(int Mode)
{
    TScope s(this, "SetBkMode", {Mode});
    return TCanvas::SetBkMode(Mode);
}

TColorRef TRecordingCanvas::SetBkColor(TColorRef Color)
{
    TScope s(this, "SetBkColor", {static_cast<int>(Color)});
    return TCanvas::SetBkColor(Color);
}

TColorRef TRecordingCanvas::SetTextColor(TColorRef Color)
{
    TScope s(this, "SetTextColor", {static_cast<int>(Color)});
    return TCanvas::SetTextColor(Color);
}

int TRecordingCanvas::SelectClipRgn(HRGN Rgn)
{
    std::vector<int> args;
    if (Rgn) {
        const QRect b = Rgn->Region.boundingRect();
        args = {b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    }
    TScope s(this, "SelectClipRgn", std::move(args));
    return TCanvas::SelectClipRgn(Rgn);
}

int TRecordingCanvas::ExcludeClipRect(int Left, int Top, int Right, int Bottom)
{
    TScope s(this, "ExcludeClipRect", {Left, Top, Right, Bottom});
    return TCanvas::ExcludeClipRect(Left, Top, Right, Bottom);
}

int TRecordingCanvas::IntersectClipRect(int Left, int Top, int Right, int Bottom)
{
    TScope s(this, "IntersectClipRect", {Left, Top, Right, Bottom});
    return TCanvas::IntersectClipRect(Left, Top, Right, Bottom);
}

int TRecordingCanvas::SaveDC()
{
    TScope s(this, "SaveDC", {});
    return TCanvas::SaveDC();
}

bool TRecordingCanvas::RestoreDC(int Level)
{
    TScope s(this, "RestoreDC", {Level});
    return TCanvas::RestoreDC(Level);
}

int TRecordingCanvas::SetMapMode(int Mode)
{
    TScope s(this, "SetMapMode", {Mode});
    return TCanvas::SetMapMode(Mode);
}

bool TRecordingCanvas::SetWindowExtEx(int X, int Y, TSize *Old)
{
    TScope s(this, "SetWindowExtEx", {X, Y});
    return TCanvas::SetWindowExtEx(X, Y, Old);
}

bool TRecordingCanvas::SetViewportExtEx(int X, int Y, TSize *Old)
{
    TScope s(this, "SetViewportExtEx", {X, Y});
    return TCanvas::SetViewportExtEx(X, Y, Old);
}

bool TRecordingCanvas::SetWindowOrgEx(int X, int Y, TPoint *Old)
{
    TScope s(this, "SetWindowOrgEx", {X, Y});
    return TCanvas::SetWindowOrgEx(X, Y, Old);
}

bool TRecordingCanvas::SetViewportOrgEx(int X, int Y, TPoint *Old)
{
    TScope s(this, "SetViewportOrgEx", {X, Y});
    return TCanvas::SetViewportOrgEx(X, Y, Old);
}
