// Fixed-width text read by character positions: any bytes and any positions load into the
// grid without reading past a line, and the grid stays within the readers' ceilings.
//
// Input: byte 0 holds the number of positions (0..7) in its low bits, DoTrim in bit 3 and
// MaxRows (-1..6) in bits 4-6; the positions follow as one byte each; the rest is the file.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1 || Size > 256 * 1024)
        return 0;
    Fuzz::NeedApplication();
    Fuzz::CleanDir();
    const int count = Data[0] & 7;
    const bool trim = Data[0] & 8;
    const int maxRows = ((Data[0] >> 4) & 7) - 1;
    if (Size < size_t(1 + count))
        return 0;
    TIntList positions(0, 0);
    for (int i = 0; i < count; ++i)
        positions.Add(int(Data[1 + i]) - 8);
    Fuzz::WriteFile(QStringLiteral("in.txt"), Fuzz::Bytes(Data + 1 + count, Size - 1 - size_t(count)));
    TExtStringGrid g(nullptr);
    g.SetColCount(2);
    g.SetRowCount(2);
    g.LoadFromFixed(Fuzz::PathOf(QStringLiteral("in.txt")), &positions, trim, maxRows);
    for (int i = 1; i < positions.Count(); ++i)
        Fuzz::Check(positions.Items(i - 1) <= positions.Items(i), "the positions were not sorted");
    Fuzz::Check(g.RowCount() <= TExtStringGrid::MaxFileRows, "the file grew the grid past the ceiling");
    TIntList widths(0, 0);
    g.SaveToFixed(Fuzz::PathOf(QStringLiteral("out.txt")), &widths);
    return 0;
}
