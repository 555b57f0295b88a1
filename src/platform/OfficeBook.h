#pragma once
// The workbook server's model of one workbook, shared by the OOXML and the legacy .xls readers.

#include "platform/ComObj.h"

#include <map>
#include <utility>
#include <vector>

namespace office {

// The most cells one workbook holds and one range hands out; beyond it a file is refused rather
// than filling memory.
constexpr std::size_t MaxCells = 4u << 20;
constexpr int MaxCols = 16384;
constexpr int MaxRows = 1048576;

struct TCell {
    OleVariant Value;
    // The cell's format index in the workbook's styles, kept when the sheet is written again.
    QByteArray Style;
    // Still as the file holds it: a rewrite of the sheet copies the cell (and its formula).
    bool Original = false;
};

struct TSheet {
    UnicodeString Name;
    // (row, column), both from 1.
    std::map<std::pair<int, int>, TCell> Cells;
    // The sheet's part in the package and its relation id in the workbook; empty while the sheet
    // was never saved.
    QString Part;
    QString RelId;
    bool Changed = false;
    bool Renamed = false;
};

struct TBook {
    std::vector<TSheet> Sheets;
    std::size_t CellCount = 0;
};

// Fills Book from a legacy .xls workbook; EOleException when it cannot be read.
void ReadLegacyWorkbook(const QString &Path, TBook &Book);

} // namespace office
