// Items of a mini-HTML line: pictures (image list, system icons, named pictures, URL pictures) and
// in-text controls, and the drawing helpers the renderer shares with them.

#include "controls/MiniHTMLPrivate.h"

#include "controls/PictureContainer.h"
#include "platform/FileUtils.h"
#include "platform/ImgList.h"
#include "platform/ShellApi.h"
#include "platform/SysUtils.h"
#include "platform/UxTheme.h"
#include "platform/VersionInfo.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MaxPixels = 10000;

int Scaled(int Value, int Dpi)
{
    return static_cast<int>((static_cast<long long>(Value) * Dpi + 48) / 96);
}

int Round(double V)
{
    if (!std::isfinite(V))
        return 0;
    return static_cast<int>(std::lround(std::clamp(V, -1e6, 1e6)));
}

bool ThemeFlag()
{
    OSVERSIONINFO info;
    if (!GetVersionEx(info))
        return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion != 0);
}

void DrawThemePart(HWND Window, TCanvas *C, const char *Class, int Part, int State, const TRect &R)
{
    HTHEME theme = OpenThemeData(Window, QString::fromLatin1(Class));
    if (!theme)
        return;
    DrawThemeBackground(theme, C->Handle(), Part, State, R, nullptr);
    CloseThemeData(theme);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Drawing helpers

void StretchBitmapToRect(TCanvas *Canvas, const TRect &R, TBitmap *Bitmap)
{
    if (!Canvas || !Bitmap || Bitmap->Empty())
        return;
    Canvas->BlitImage(R, Bitmap->Image(), SRCCOPY);
}

bool IsDirectory(const UnicodeString &Path)
{
    return DirectoryExists(Path);
}

void DrawSystemIcon(TCanvas *Canvas, int X, int Y, const UnicodeString &Path, bool Large, bool Draw, bool Print,
                    double Scale, TSize &Size)
{
    TCustomImageList *list = ShellSystemImageList(Large);
    Size = TSize(list->Width(), list->Height());
    int index = -1;
    if (!TryStrToInt(Path, index)) {
        index = -1;
        const UnicodeString found = FindPathNoCase(Path);
        SHFILEINFOW info;
        const unsigned size = Large ? SHGFI_LARGEICON : SHGFI_SMALLICON;
        std::uintptr_t r;
        if (!found.isEmpty())
            r = SHGetFileInfoW(found, 0, &info, SHGFI_SYSICONINDEX | size);
        else
            r = SHGetFileInfoW(Path, FILE_ATTRIBUTE_NORMAL, &info, SHGFI_SYSICONINDEX | size | SHGFI_USEFILEATTRIBUTES);
        if (r != 0)
            index = info.iIcon;
    }
    if (!Draw || !Canvas || index < 0 || index >= list->Count())
        return;
    if (!Print) {
        list->Draw(Canvas, X, Y, index);
        return;
    }
    TBitmap bmp;
    list->GetBitmap(index, &bmp);
    StretchBitmapToRect(Canvas, TRect(X, Y, X + Round(Size.cx * Scale), Y + Round(Size.cy * Scale)), &bmp);
}

HFONT SelectRotatedFont(TCanvas *Canvas, int Degrees, TFont &Previous)
{
    Previous.Assign(Canvas->Font());
    LOGFONT lf;
    GetObject(Canvas->Font()->Handle(), lf);
    lf.lfEscapement = Degrees * 10;
    lf.lfOrientation = Degrees * 10;
    HFONT rotated = CreateFontIndirect(lf);
    SelectObject(Canvas->Handle(), rotated);
    return rotated;
}

void RestoreRotatedFont(TCanvas *Canvas, HFONT Rotated, const TFont &Previous)
{
    Canvas->Font()->Assign(const_cast<TFont *>(&Previous));
    DeleteObject(Rotated);
}

unsigned HtmlDrawTextFlags(unsigned Flags, bool RightToLeft)
{
    if (!SysLocaleMiddleEast() || !RightToLeft)
        return Flags;
    if (Flags & DT_RIGHT)
        Flags &= ~DT_RIGHT;
    else if (!(Flags & DT_CENTER))
        Flags |= DT_RIGHT;
    return Flags | DT_RTLREADING;
}

bool CheckThemeOSVersion()
{
    static const bool flag = ThemeFlag();
    return flag;
}

// ---------------------------------------------------------------------------------------------
// Items

namespace MiniHtml {

bool PlaceItem(TLine &L, int Width, int Height)
{
    const int avail = L.R.Right - L.R.Left;
    if (avail < L.Width + Width && Width < avail) {
        L.Full = true;
        return false;
    }
    L.Width += Width;
    L.X += Width;
    L.Height = std::max(L.Height, Height);
    return true;
}

THTMLPicture *FindHtmlPicture(TRenderState &S, const UnicodeString &Source)
{
    THtmlRenderParams &P = S.P;
    THTMLPicture *pic = nullptr;
    if (!Source.contains(QLatin1Char(':'))) {
        if (P.Pictures)
            pic = P.Pictures->FindPicture(Source);
    } else if (Source.contains(QLatin1String("://")) && P.PictureCache) {
        pic = P.PictureCache->FindPicture(Source);
        if (!pic) {
            THTMLPicture *added = P.PictureCache->AddPicture();
            added->SetAsynch(false);
            try {
                added->LoadFromURL(Source);
            } catch (const Exception &) {
                // A resource that is no picture stays an empty picture of the cache.
            }
            if (added->ID().isEmpty())
                added->SetID(Source);
            pic = P.PictureCache->FindPicture(Source);
        }
    }
    return pic;
}

void LayoutImage(TRenderState &S, TLine &L, const UnicodeString &Tag)
{
    THtmlRenderParams &P = S.P;
    TCanvas *C = S.C;
    const bool draw = Drawing(S, L);
    ++S.ImageCounter;
    const QString upper = AsciiUpper(Tag);
    const QString attrs = upper.mid(2);
    QString src = TagValue(attrs, attrs, QLatin1String("SRC"));
    if (S.HoveredImage == S.ImageCounter) {
        const QString alt = TagValue(attrs, attrs, QLatin1String("ALT"));
        if (!alt.isEmpty())
            src = alt;
    }
    const int reqW = std::clamp(IntPrefixValue(TagValue(attrs, attrs, QLatin1String("WIDTH"))), 0, MaxPixels);
    const int reqH = std::clamp(IntPrefixValue(TagValue(attrs, attrs, QLatin1String("HEIGHT"))), 0, MaxPixels);
    const int dpiX = C->PixelsPerInchX();
    const int dpiY = C->PixelsPerInchY();

    enum { kNone, kList, kSystem, kPicture } kind = kNone;
    int iw = 0, ih = 0, index = -1;
    bool large = false;
    QString path;
    THTMLPicture *pic = nullptr;
    int picW = 0, picH = 0;

    if (src.startsWith(QLatin1String("IDX:"))) {
        int i = 0;
        if (P.Images && TryStrToInt(src.mid(4).trimmed(), i) && i >= 0 && i < P.Images->Count()) {
            kind = kList;
            index = i;
            iw = Scaled(P.Images->Width(), dpiX);
            ih = Scaled(P.Images->Height(), dpiY);
        }
    }
    if (src.startsWith(QLatin1String("SSYS:")) || src.startsWith(QLatin1String("LSYS:"))) {
        kind = kSystem;
        large = src.startsWith(QLatin1Char('L'));
        path = src.mid(5);
        TSize size;
        DrawSystemIcon(C, 0, 0, path, large, false, false, 1.0, size);
        iw = Scaled(size.cx, dpiX);
        ih = Scaled(size.cy, dpiY);
    }
    if (!src.contains(QLatin1Char(':')) || src.contains(QLatin1String("://"))) {
        pic = src.isEmpty() ? nullptr : FindHtmlPicture(S, src);
        if (pic && !pic->Empty()) {
            kind = kPicture;
            picW = pic->Width();
            picH = pic->Height();
            int w = reqW, h = reqH;
            if (reqW > 0 && reqH <= 0)
                h = picW > 0 ? static_cast<int>(std::lround(double(picH) * reqW / picW)) : 0;
            else if (reqH > 0 && reqW <= 0)
                w = picH > 0 ? static_cast<int>(std::lround(double(picW) * reqH / picH)) : 0;
            if (reqW > 0 || reqH > 0) {
                picW = std::clamp(w, 0, MaxPixels);
                picH = std::clamp(h, 0, MaxPixels);
                iw = Scaled(picW, dpiX);
                ih = Scaled(picH, dpiY);
            } else {
                picW = -1; // natural size
                iw = Scaled(pic->MaxWidth(), dpiX);
                ih = Scaled(pic->MaxHeight(), dpiY);
            }
        } else {
            pic = nullptr;
        }
    }

    const int x = L.X;
    const int top = L.R.Top;
    const int offset = L.Measure ? L.Width : L.X - L.R.Left;
    if (!PlaceItem(L, iw, ih))
        return;

    if (upper.contains(QLatin1String("\"TOP"))) {
        L.ImageRaise = L.Height - C->TextHeight(QStringLiteral("gh"));
    } else if (upper.contains(QLatin1String("\"MIDDLE"))) {
        L.ImageRaise = (L.Height - C->TextHeight(QStringLiteral("gh"))) / 2;
    }

    if (draw) {
        switch (kind) {
        case kList:
            if (!P.PrintMode) {
                P.Images->Draw(C, x, top, index);
            } else {
                TBitmap bmp;
                P.Images->GetBitmap(index, &bmp);
                StretchBitmapToRect(C, TRect(x, top, x + Round(iw * P.PrintScale), top + Round(ih * P.PrintScale)), &bmp);
            }
            break;
        case kSystem: {
            TSize size;
            DrawSystemIcon(C, x, top, path, large, true, P.PrintMode, P.PrintScale, size);
            break;
        }
        case kPicture:
            if (picW >= 0) {
                pic->SetStretch(true);
                pic->Draw(C, TRect(x, top, x + picW, top + picH));
            } else {
                pic->SetStretch(false);
                if (pic->FrameCount() > 1) {
                    const TColor color = C->Brush()->Color();
                    const TBrushStyle style = C->Brush()->Style();
                    C->Brush()->SetColor(S.EntryBrushColor);
                    C->Brush()->SetStyle(TBrushStyle::bsSolid);
                    C->FillRect(TRect(x, top, x + pic->MaxWidth(), top + pic->MaxHeight()));
                    C->Brush()->SetColor(color);
                    C->Brush()->SetStyle(style);
                    pic->Draw(C, TRect(x + pic->FrameXPos(), top + pic->FrameYPos(), x + pic->MaxWidth(),
                                       top + pic->MaxHeight()));
                } else {
                    pic->Draw(C, TRect(x, top, x + iw, top + ih));
                }
            }
            break;
        case kNone:
            break;
        }
    }

    const int hx = P.HitX - L.R.Left;
    if (S.InAnchor && offset < hx && hx < offset + iw && top < P.HitY && P.HitY < top + ih) {
        L.ControlHit = true;
        P.HitAnchor = S.AnchorRef;
        P.HitTitle = S.AnchorTitle;
        S.HoveredImage = S.ImageCounter;
    }
}

void LayoutControl(TRenderState &S, TLine &L, const UnicodeString &Tag)
{
    THtmlRenderParams &P = S.P;
    TCanvas *C = S.C;
    UnicodeString type, id, value, width, height, prop, maxlen;
    ParseControlTag(Tag, type, id, value, width, height, prop, maxlen);
    int w = 0;
    // Without a usable width the control is not laid out at all.
    if (width.isEmpty() || !TryStrToInt(width.trimmed(), w))
        return;
    w = std::clamp(w, 0, MaxPixels);
    int ch = 25;
    if (!TryStrToInt(height.trimmed(), ch))
        ch = 25;
    ch = std::clamp(ch, 0, 1000);

    const bool box = type == QLatin1String("CHECK") || type == QLatin1String("RADIO");
    const bool button = type == QLatin1String("BUTTON");
    const bool combo = type == QLatin1String("COMBO");
    const int gh = C->TextHeight(QStringLiteral("gh"));
    const int drawH = box ? 16 : (button ? 24 : gh + 10);
    const int itemW = box ? 16 : w;
    const int itemH = box ? 16 : ((button || combo) ? 25 : gh + 10);

    const int avail = L.R.Right - L.R.Left;
    if (avail < L.Width + itemW && itemW < avail) {
        L.Full = true;
        return;
    }
    L.Height = box ? 16 : 23;
    if (ch > 25)
        L.Height = ch - 2;

    const int x = L.X;
    const int lb = L.R.Bottom;
    const int s = L.Height;
    const bool hot = x - 2 < P.HitX && P.HitX < x + w - 2 && lb - drawH - 2 < P.HitY && P.HitY < lb - 2;

    if (Drawing(S, L)) {
        const TColor penColor = C->Pen()->Color();
        const TColor brushColor = C->Brush()->Color();
        const TBrushStyle brushStyle = C->Brush()->Style();
        const TColor frame = S.Themed ? TColorOf(0xB99D7F) : clGray;
        const bool checked = AsciiUpper(value) == QLatin1String("TRUE");
        auto whiteBox = [&](const TRect &r) {
            C->Brush()->SetColor(clWhite);
            C->Brush()->SetStyle(TBrushStyle::bsSolid);
            C->Pen()->SetColor(frame);
            C->Rectangle(r);
            C->Brush()->SetStyle(TBrushStyle::bsClear);
        };
        const unsigned textFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        if (type == QLatin1String("EDIT") || type == QLatin1String("PASSWORD") || type == QLatin1String("MASK")) {
            whiteBox(TRect(x, lb - s + 4, x + w, lb + 2));
            TRect tr(x + 2, lb - s + 4, x + w, lb);
            DrawText(C->Handle(), type == QLatin1String("PASSWORD") ? PasswordMask(value) : value, -1, &tr, textFlags);
        } else if (combo) {
            whiteBox(TRect(x, lb - s + 4, x + w, lb + 2));
            TRect tr(x + 4, lb - s + 4, x + w - 18, lb);
            DrawText(C->Handle(), value, -1, &tr, textFlags);
            TRect br(x + w - 18, lb - s + 5, x + w - 1, lb + 1);
            if (S.Themed)
                DrawThemePart(P.ThemeWindow, C, "combobox", 1, hot ? 2 : 1, br);
            else
                DrawFrameControl(C->Handle(), br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
        } else if (type == QLatin1String("CHECK")) {
            TRect br(x + 2, lb - 15, x + 15, lb);
            if (S.Themed)
                DrawThemePart(P.ThemeWindow, C, "button", 3, checked ? 5 : 1, br);
            else
                DrawFrameControl(C->Handle(), br, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0u));
        } else if (type == QLatin1String("RADIO")) {
            TRect br(x + 2, lb - 14, x + 14, lb);
            if (S.Themed)
                DrawThemePart(P.ThemeWindow, C, "button", 2, checked ? 5 : 1, br);
            else
                DrawFrameControl(C->Handle(), br, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_FLAT | (checked ? DFCS_CHECKED : 0u));
        } else if (button) {
            TRect br(x + 2, lb - ch, x + w - 2, lb);
            if (S.Themed)
                DrawThemePart(P.ThemeWindow, C, "button", 1, P.MouseDown ? 3 : (hot ? 2 : 1), br);
            else
                DrawFrameControl(C->Handle(), br, DFC_BUTTON, DFCS_BUTTONPUSH | ((hot && P.MouseDown) ? DFCS_PUSHED : 0u));
            TRect tr(br.Left + 2, br.Top + 2, br.Right - 2, br.Bottom - 2);
            DrawText(C->Handle(), value, -1, &tr, textFlags | DT_CENTER);
        }
        C->Pen()->SetColor(penColor);
        C->Brush()->SetColor(brushColor);
        C->Brush()->SetStyle(brushStyle);
    }

    const int offset = L.Measure ? L.Width : L.X - L.R.Left;
    const int hx = P.HitX - L.R.Left;
    const bool inside = offset < hx && hx < offset + itemW && L.R.Top < P.HitY && P.HitY < L.R.Top + itemH;
    if (inside || (P.FindControl && id == P.ControlID)) {
        L.ControlHit = true;
        P.HitAnchor = QStringLiteral("ctrl");
        S.HoveredImage = S.ImageCounter;
        P.ControlRect = TRect(L.R.Left + offset, L.R.Top, L.R.Left + offset + itemW, L.R.Top + itemH);
        P.ControlValue = value;
        P.ControlID = id;
        P.ControlType = type;
    }
    L.Width += itemW;
    L.X += itemW;
    L.Height = std::max(L.Height, itemH);
}

} // namespace MiniHtml
