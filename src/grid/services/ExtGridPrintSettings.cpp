// The print settings object: defaults, copying, and the grid's page number hook.
#include "grid/core/ExtGrid.h"

TPrintSettings::TPrintSettings(TExtStringGrid *AGrid)
    : FGrid(AGrid), FFont(std::make_unique<TFont>()), FHeaderFont(std::make_unique<TFont>()),
      FFooterFont(std::make_unique<TFont>()), FFixedFont(std::make_unique<TFont>()),
      FTitleLines(std::make_unique<TStringList>())
{
}

TPrintSettings::~TPrintSettings() = default;

void TPrintSettings::SetTitleLines(TStrings *Value)
{
    FTitleLines->Assign(Value);
}

void TPrintSettings::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TPrintSettings *>(Source);
    if (!src)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    if (src == this)
        return;
    FooterSize = src->FooterSize;
    HeaderSize = src->HeaderSize;
    Time = src->Time;
    Date = src->Date;
    DateFormat = src->DateFormat;
    PageNr = src->PageNr;
    Title = src->Title;
    TitleText = src->TitleText;
    SetTitleLines(src->TitleLines());
    SetFont(src->Font());
    SetFixedFont(src->FixedFont());
    SetHeaderFont(src->HeaderFont());
    SetFooterFont(src->FooterFont());
    Borders = src->Borders;
    BorderStyle = src->BorderStyle;
    BorderColor = src->BorderColor;
    Centered = src->Centered;
    RepeatFixedRows = src->RepeatFixedRows;
    RepeatFixedCols = src->RepeatFixedCols;
    LeftSize = src->LeftSize;
    RightSize = src->RightSize;
    ColumnSpacing = src->ColumnSpacing;
    RowSpacing = src->RowSpacing;
    TitleSpacing = src->TitleSpacing;
    Orientation = src->Orientation;
    PagePrefix = src->PagePrefix;
    PageSuffix = src->PageSuffix;
    PageNumberOffset = src->PageNumberOffset;
    MaxPagesOffset = src->MaxPagesOffset;
    FixedWidth = src->FixedWidth;
    FixedHeight = src->FixedHeight;
    UseFixedHeight = src->UseFixedHeight;
    UseFixedWidth = src->UseFixedWidth;
    FitToPage = src->FitToPage;
    JobName = src->JobName;
    PageNumSep = src->PageNumSep;
    NoAutoSize = src->NoAutoSize;
    NoAutoSizeRow = src->NoAutoSizeRow;
    PrintGraphics = src->PrintGraphics;
    UseDisplayFont = src->UseDisplayFont;
    UseDefaultOrientation = src->UseDefaultOrientation;
}

void TExtStringGrid::DoPrintGetPageNum(int PageNum, int PageColNum, UnicodeString &PageNumString)
{
    if (OnPrintGetPageNum)
        OnPrintGetPageNum(this, PageNum, PageColNum, PageNumString);
}
