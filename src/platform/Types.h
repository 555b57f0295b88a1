#pragma once
// Geometry records of the platform: points, sizes and rectangles whose right and bottom edges
// are exclusive, as the classic drawing calls treat them.

struct TPoint {
    int X = 0;
    int Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int x, int y) : X(x), Y(y) {}
    friend constexpr bool operator==(const TPoint &, const TPoint &) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    constexpr TSize() = default;
    constexpr TSize(int w, int h) : cx(w), cy(h) {}
    friend constexpr bool operator==(const TSize &, const TSize &) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr TRect(TPoint tl, TPoint br) : Left(tl.X), Top(tl.Y), Right(br.X), Bottom(br.Y) {}
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    friend constexpr bool operator==(const TRect &, const TRect &) = default;
};

constexpr TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
constexpr TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }
constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr bool PtInRect(const TRect &r, TPoint p) { return r.Contains(p); }

inline bool IntersectRect(TRect &dst, const TRect &a, const TRect &b)
{
    dst = {a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
           a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    if (dst.IsEmpty()) {
        dst = {};
        return false;
    }
    return true;
}

inline void OffsetRect(TRect &r, int dx, int dy)
{
    r.Left += dx; r.Right += dx; r.Top += dy; r.Bottom += dy;
}

inline void InflateRect(TRect &r, int dx, int dy)
{
    r.Left -= dx; r.Right += dx; r.Top -= dy; r.Bottom += dy;
}
