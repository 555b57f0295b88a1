// The binary cell stream: a rectangle of cells with texts, cell properties and graphics, for
// binary files, for callers' streams and for the grid's own clipboard format.
#include "grid/core/ExtGrid.h"

#include "grid/services/GridBinIO.h"
#include "grid/services/GridFileText.h"
#include "platform/FileUtils.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

// ---- identifiers ----

namespace {
const char *const CellTypeNames[] = {
    "ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox", "ctRotated", "ctDataImage",
    "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture", "ctFilePicture", "ctValue", "ctProgress",
    "ctComment", "ctButton", "ctBitButton", "ctVirtCheckBox", "ctRowCheckBox", "ctProgressPie", "ctSummary",
    "ctRangeIndicator", "ctXPProgress", "ctInterface", "ctScrollbar", "ctRadioButton", "ctBalloon", "ctShape",
    "ctRating", "ctTriStateCheckBox", "ctExpand"};
const char *const CellHAlignNames[] = {"haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull"};
const char *const CellVAlignNames[] = {"vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull"};
const char *const VAlignmentNames[] = {"vtaTop", "vtaCenter", "vtaBottom"};
const char *const EditorNames[] = {
    "edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox", "edDateEdit",
    "edDateEditUpDown", "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric", "edPositiveNumeric", "edFloat",
    "edCapital", "edMixedCase", "edPassword", "edUnitEditBtn", "edLowerCase", "edUpperCase", "edFloatSpinEdit",
    "edTimeSpinEdit", "edDateSpinEdit", "edNumericEditBtn", "edFloatEditBtn", "edCustom", "edRichEdit", "edNone",
    "edDateTimeEdit", "edValidChars", "edTrackbarDropDown", "edMemoDropDown", "edCalculatorDropDown",
    "edTimePickerDropDown", "edDetailDropDown", "edGridDropDown", "edColorPickerDropDown",
    "edImagePickerDropDown", "edExtGridDropDown", "edPositiveFloat", "edNumericUnitEditBtn",
    "edFloatUnitEditBtn", "edMaskEditBtn"};
const char *const GradientNames[] = {"GradientVertical", "GradientHorizontal"};
const char *const CheckBoxStateNames[] = {"cbUnchecked", "cbChecked", "cbGrayed"};
} // namespace

namespace GridIdents {
const TIdentTable CellType = IdentTable(CellTypeNames);
const TIdentTable CellHAlign = IdentTable(CellHAlignNames);
const TIdentTable CellVAlign = IdentTable(CellVAlignNames);
const TIdentTable VAlignment = IdentTable(VAlignmentNames);
const TIdentTable Editor = IdentTable(EditorNames);
const TIdentTable GradientDirection = IdentTable(GradientNames);
const TIdentTable CheckBoxState = IdentTable(CheckBoxStateNames);
} // namespace GridIdents

// ---- records ----

TGridRecordIO::TGridRecordIO(TComponent *AOwner, const char *AClassName) : TComponent(AOwner), FClass(AClassName)
{
    const QByteArray name(AClassName);
    FHead = QByteArray("TPF0") + char(name.size()) + name + char(0);
}

void TGridRecordIO::BeginWrite(TFilerWriter &W) const
{
    W.WriteRaw(FHead);
}

void TGridRecordIO::EndWrite(TFilerWriter &W)
{
    W.WriteListEnd();
    W.WriteListEnd();
}

template <typename F>
void TGridRecordIO::ReadRecordBy(TFilerReader &R, F Prop)
{
    if (!R.SkipIf(FHead)) {
        R.ReadSignature();
        if (R.ReadStrBytes() != QByteArrayView(FClass))
            R.Error();
        // The object name is read and dropped: records carry none.
        (void)R.ReadStrBytes();
    }
    while (!R.EndOfList()) {
        QByteArrayView name = R.ReadStrBytes();
        char buf[256];
        if (!R.ViewsStay()) {
            // Kept aside: reading the value may move the reader's window.
            std::memcpy(buf, name.data(), size_t(name.size()));
            name = QByteArrayView(buf, name.size());
        }
        if (!Prop(name))
            R.Error();
    }
    R.ReadListEnd();
    R.ReadListEnd();
}

template <typename F>
void TGridRecordIO::ReadRecord(TFilerReader &R, F Prop)
{
    ReadRecordBy(R, [&](QByteArrayView N) { return Prop(N, R.ReadSimple()); });
}

namespace {

void WriteProp(TFilerWriter &W, const char *Name, int Value)
{
    W.WriteStr(QLatin1StringView(Name));
    W.WriteInteger(Value);
}

void WriteBoolProp(TFilerWriter &W, const char *Name, bool Value)
{
    W.WriteStr(QLatin1StringView(Name));
    W.WriteBoolean(Value);
}

// Texts are stored only when they hold something.
void WriteTextProp(TFilerWriter &W, const char *Name, const UnicodeString &Value)
{
    if (Value.isEmpty())
        return;
    W.WriteStr(QLatin1StringView(Name));
    W.WriteString(Value);
}

void WriteIdentProp(TFilerWriter &W, const char *Name, const TIdentTable &Table, int Value)
{
    W.WriteStr(QLatin1StringView(Name));
    W.WriteIdent(IdentOfValue(Table, Value));
}

template <std::size_t N>
bool Is(QByteArrayView Name, const char (&Text)[N])
{
    return Name.size() == qsizetype(N - 1) && std::memcmp(Name.data(), Text, N - 1) == 0;
}

// A picture's data as the graphic stores it; damaged data is a damaged stream.
template <typename G>
void LoadGraphicData(G *Graphic, const QByteArray &Data)
{
    try {
        Graphic->LoadFromBytes(Data);
    } catch (const EInvalidGraphic &) {
        TFilerReader::Error();
    }
}

} // namespace

void TGridPropIO::Clear()
{
    ColCount = RowCount = ID = 0;
    ColWidths.clear();
    RowHeights.clear();
    FullGrid = false;
}

void TGridPropIO::Write(TFilerWriter &W) const
{
    BeginWrite(W);
    WriteProp(W, "ColCount", ColCount);
    WriteProp(W, "RowCount", RowCount);
    WriteTextProp(W, "ColWidths", ColWidths);
    WriteTextProp(W, "RowHeights", RowHeights);
    WriteBoolProp(W, "FullGrid", FullGrid);
    WriteProp(W, "ID", ID);
    EndWrite(W);
}

void TGridPropIO::Read(TFilerReader &R)
{
    Clear();
    ReadRecord(R, [&](QByteArrayView N, const TFilerValue &V) {
        if (Is(N, "ColCount"))
            ColCount = R.AsInteger(V);
        else if (Is(N, "RowCount"))
            RowCount = R.AsInteger(V);
        else if (Is(N, "ColWidths"))
            ColWidths = R.AsString(V);
        else if (Is(N, "RowHeights"))
            RowHeights = R.AsString(V);
        else if (Is(N, "FullGrid"))
            FullGrid = R.AsBoolean(V);
        else if (Is(N, "ID"))
            ID = R.AsInteger(V);
        else
            return false;
        return true;
    });
}

void TGridCellIO::Clear()
{
    Col = Row = 0;
    // The room stays for the next record's text.
    Cell.resize(0);
    HasProp = false;
}

void TGridCellIO::Write(TFilerWriter &W) const
{
    BeginWrite(W);
    WriteProp(W, "Col", Col);
    WriteProp(W, "Row", Row);
    WriteTextProp(W, "Cell", Cell);
    WriteBoolProp(W, "HasProp", HasProp);
    EndWrite(W);
}

void TGridCellIO::Read(TFilerReader &R)
{
    Clear();
    // One record per cell: its values are read by kind, without the general value between.
    ReadRecordBy(R, [&](QByteArrayView N) {
        if (Is(N, "Col"))
            Col = R.ReadInteger();
        else if (Is(N, "Row"))
            Row = R.ReadInteger();
        else if (Is(N, "Cell"))
            R.ReadString(Cell);
        else if (Is(N, "HasProp"))
            HasProp = R.ReadBoolean();
        else
            return false;
        return true;
    });
}

TGridCellPropIO::TGridCellPropIO(TComponent *AOwner, TExtStringGrid *Grid)
    : TGridRecordIO(AOwner, "TGridCellPropIO"), FGrid(Grid), FCellProperties(std::make_unique<TCellProperties>(Grid, 0, 0))
{
}

TGridCellPropIO::~TGridCellPropIO() = default;

void TGridCellPropIO::Clear()
{
    FCellProperties = std::make_unique<TCellProperties>(FGrid, 0, 0);
    HasGraphic = false;
    FControlName.clear();
}

void TGridCellPropIO::Write(TFilerWriter &W) const
{
    const TCellProperties &p = *FCellProperties;
    BeginWrite(W);
    WriteBoolProp(W, "CellProperties.IsBaseCell", p.IsBaseCell());
    WriteProp(W, "CellProperties.CellSpanX", p.CellSpanX());
    WriteProp(W, "CellProperties.CellSpanY", p.CellSpanY());
    WriteIdentProp(W, "CellProperties.Alignment", AlignmentIdents, p.Alignment());
    WriteProp(W, "CellProperties.BorderColor", p.BorderColor());
    WriteProp(W, "CellProperties.BorderWidth", p.BorderWidth());
    WriteProp(W, "CellProperties.BrushColor", p.BrushColor());
    WriteProp(W, "CellProperties.BrushColorTo", p.BrushColorTo());
    WriteIdentProp(W, "CellProperties.BrushStyle", BrushStyleIdents, int(p.BrushStyle()));
    // The application's value is written as a number; no reader turns it back into anything.
    WriteProp(W, "CellProperties.CellObject", int(std::uint32_t(p.CellObject())));
    WriteProp(W, "CellProperties.FontColor", p.FontColor());
    WriteTextProp(W, "CellProperties.FontName", p.FontName());
    WriteProp(W, "CellProperties.FontSize", p.FontSize());
    unsigned styles = 0;
    for (int i = 0; i < 4; ++i)
        if (p.FontStyle().Contains(TFontStyle(i)))
            styles |= 1u << i;
    W.WriteStr(QLatin1StringView("CellProperties.FontStyle"));
    W.WriteSet(IdentsOfSet(FontStyleIdents, styles));
    WriteIdentProp(W, "CellProperties.Editor", GridIdents::Editor, p.Editor());
    WriteIdentProp(W, "CellProperties.GradientDirection", GridIdents::GradientDirection, p.GradientDirection());
    WriteBoolProp(W, "CellProperties.ReadOnly", p.ReadOnly());
    WriteIdentProp(W, "CellProperties.VAlignment", GridIdents::VAlignment, p.VAlignment());
    WriteBoolProp(W, "CellProperties.WordWrap", p.WordWrap());
    WriteProp(W, "CellProperties.NodeLevel", p.NodeLevel());
    if (p.Control() && !p.Control()->Name().isEmpty()) {
        W.WriteStr(QLatin1StringView("CellProperties.Control"));
        W.WriteIdent(p.Control()->Name());
    }
    WriteBoolProp(W, "HasGraphic", HasGraphic);
    EndWrite(W);
}

void TGridCellPropIO::Read(TFilerReader &R)
{
    HasGraphic = false;
    FControlName.clear();
    TCellProperties &p = *FCellProperties;
    ReadRecord(R, [&](QByteArrayView N, const TFilerValue &V) {
        if (Is(N, "HasGraphic")) {
            HasGraphic = R.AsBoolean(V);
            return true;
        }
        if (!N.startsWith("CellProperties."))
            return false;
        const QByteArrayView n = N.sliced(15);
        if (Is(n, "IsBaseCell"))
            p.SetIsBaseCell(R.AsBoolean(V));
        else if (Is(n, "CellSpanX"))
            p.SetCellSpanX(R.AsInteger(V));
        else if (Is(n, "CellSpanY"))
            p.SetCellSpanY(R.AsInteger(V));
        else if (Is(n, "Alignment"))
            p.SetAlignment(TAlignment(ReadIdentValue(AlignmentIdents, V)));
        else if (Is(n, "BorderColor"))
            p.SetBorderColor(R.AsColor(V));
        else if (Is(n, "BorderWidth"))
            p.SetBorderWidth(R.AsInteger(V));
        else if (Is(n, "BrushColor"))
            p.SetBrushColor(R.AsColor(V));
        else if (Is(n, "BrushColorTo"))
            p.SetBrushColorTo(R.AsColor(V));
        else if (Is(n, "BrushStyle"))
            p.SetBrushStyle(TBrushStyle(ReadIdentValue(BrushStyleIdents, V)));
        else if (Is(n, "CellObject"))
            (void)R.AsInteger(V);
        else if (Is(n, "FontColor"))
            p.SetFontColor(R.AsColor(V));
        else if (Is(n, "FontName"))
            p.SetFontName(R.AsString(V));
        else if (Is(n, "FontSize"))
            p.SetFontSize(R.AsInteger(V));
        else if (Is(n, "FontStyle")) {
            const unsigned bits = ReadIdentSet(FontStyleIdents, V);
            TFontStyles s;
            for (int i = 0; i < 4; ++i)
                if (bits & (1u << i))
                    s << TFontStyle(i);
            p.SetFontStyle(s);
        } else if (Is(n, "Editor"))
            p.SetEditor(TEditorType(ReadIdentValue(GridIdents::Editor, V)));
        else if (Is(n, "GradientDirection"))
            p.SetGradientDirection(TCellGradientDirection(ReadIdentValue(GridIdents::GradientDirection, V)));
        else if (Is(n, "ReadOnly"))
            p.SetReadOnly(R.AsBoolean(V));
        else if (Is(n, "VAlignment"))
            p.SetVAlignment(TVAlignment(ReadIdentValue(GridIdents::VAlignment, V)));
        else if (Is(n, "WordWrap"))
            p.SetWordWrap(R.AsBoolean(V));
        else if (Is(n, "NodeLevel"))
            p.SetNodeLevel(R.AsInteger(V));
        else if (Is(n, "Control")) {
            if (V.Type != vaIdent)
                R.Error();
            FControlName = V.Text;
        } else
            return false;
        return true;
    });
}

TGridGraphicIO::TGridGraphicIO(TComponent *AOwner)
    : TGridRecordIO(AOwner, "TGridGraphicIO"), FCellGraphic(std::make_unique<TCellGraphic>())
{
}

TGridGraphicIO::~TGridGraphicIO() = default;

void TGridGraphicIO::Clear() { FCellGraphic = std::make_unique<TCellGraphic>(); }

void TGridGraphicIO::Write(TFilerWriter &W) const
{
    const TCellGraphic &g = *FCellGraphic;
    BeginWrite(W);
    WriteIdentProp(W, "CellGraphic.CellType", GridIdents::CellType, g.CellType());
    WriteIdentProp(W, "CellGraphic.CellVAlign", GridIdents::CellVAlign, g.CellVAlign());
    WriteIdentProp(W, "CellGraphic.CellHAlign", GridIdents::CellHAlign, g.CellHAlign());
    WriteProp(W, "CellGraphic.CellIndex", g.CellIndex());
    WriteBoolProp(W, "CellGraphic.CellTransparent", g.CellTransparent());
    WriteBoolProp(W, "CellGraphic.CellCreated", g.CellCreated());
    WriteBoolProp(W, "CellGraphic.CellBoolean", g.CellBoolean());
    WriteIdentProp(W, "CellGraphic.CellCheckBoxState", GridIdents::CheckBoxState, g.CellCheckBoxState());
    WriteProp(W, "CellGraphic.CellAngle", g.CellAngle());
    if (g.CellValue() != 0) {
        W.WriteStr(QLatin1StringView("CellGraphic.CellValue"));
        W.WriteFloat(g.CellValue());
    }
    WriteProp(W, "CellGraphic.CellErrFrom", g.CellErrFrom());
    WriteProp(W, "CellGraphic.CellErrLen", g.CellErrLen());
    WriteTextProp(W, "CellGraphic.CellText", g.CellText());
    EndWrite(W);
}

void TGridGraphicIO::Read(TFilerReader &R)
{
    Clear();
    TCellGraphic &g = *FCellGraphic;
    ReadRecord(R, [&](QByteArrayView N, const TFilerValue &V) {
        if (!N.startsWith("CellGraphic."))
            return false;
        const QByteArrayView n = N.sliced(12);
        if (Is(n, "CellType"))
            g.SetCellType(TCellType(ReadIdentValue(GridIdents::CellType, V)));
        else if (Is(n, "CellVAlign"))
            g.SetCellVAlign(TCellVAlign(ReadIdentValue(GridIdents::CellVAlign, V)));
        else if (Is(n, "CellHAlign"))
            g.SetCellHAlign(TCellHAlign(ReadIdentValue(GridIdents::CellHAlign, V)));
        else if (Is(n, "CellIndex"))
            g.SetCellIndex(R.AsInteger(V));
        else if (Is(n, "CellTransparent"))
            g.SetCellTransparent(R.AsBoolean(V));
        else if (Is(n, "CellCreated"))
            g.SetCellCreated(R.AsBoolean(V));
        else if (Is(n, "CellBoolean"))
            g.SetCellBoolean(R.AsBoolean(V));
        else if (Is(n, "CellCheckBoxState"))
            g.SetCellCheckBoxState(TCheckBoxState(ReadIdentValue(GridIdents::CheckBoxState, V)));
        else if (Is(n, "CellAngle"))
            g.SetCellAngle(R.AsInteger(V));
        else if (Is(n, "CellValue"))
            g.SetCellValue(R.AsFloat(V));
        else if (Is(n, "CellErrFrom"))
            g.SetCellErrFrom(R.AsInteger(V));
        else if (Is(n, "CellErrLen"))
            g.SetCellErrLen(R.AsInteger(V));
        else if (Is(n, "CellText"))
            g.SetCellText(R.AsString(V));
        else
            return false;
        return true;
    });
}

TGridBMPIO::TGridBMPIO(TComponent *AOwner) : TGridRecordIO(AOwner, "TGridBMPIO"), FBitmap(std::make_unique<TBitmap>()) {}
TGridBMPIO::~TGridBMPIO() = default;
void TGridBMPIO::Clear() { FBitmap = std::make_unique<TBitmap>(); }

void TGridBMPIO::Write(TFilerWriter &W) const
{
    BeginWrite(W);
    if (!FBitmap->Empty()) {
        W.WriteStr(QLatin1StringView("Bitmap.Data"));
        W.WriteBinary(FBitmap->SaveToBytes());
    }
    EndWrite(W);
}

void TGridBMPIO::Read(TFilerReader &R)
{
    Clear();
    ReadRecord(R, [&](QByteArrayView N, const TFilerValue &V) {
        if (!Is(N, "Bitmap.Data"))
            return false;
        LoadGraphicData(FBitmap.get(), R.AsBinary(V));
        return true;
    });
}

TGridIconIO::TGridIconIO(TComponent *AOwner) : TGridRecordIO(AOwner, "TGridIconIO"), FIcon(std::make_unique<TIcon>()) {}
TGridIconIO::~TGridIconIO() = default;
void TGridIconIO::Clear() { FIcon = std::make_unique<TIcon>(); }

void TGridIconIO::Write(TFilerWriter &W) const
{
    BeginWrite(W);
    if (!FIcon->Empty()) {
        W.WriteStr(QLatin1StringView("Icon.Data"));
        W.WriteBinary(FIcon->SaveToBytes());
    }
    EndWrite(W);
}

void TGridIconIO::Read(TFilerReader &R)
{
    Clear();
    ReadRecord(R, [&](QByteArrayView N, const TFilerValue &V) {
        if (!Is(N, "Icon.Data"))
            return false;
        LoadGraphicData(FIcon.get(), R.AsBinary(V));
        return true;
    });
}

TGridPicIO::TGridPicIO(TComponent *AOwner) : TGridRecordIO(AOwner, "TGridPicIO"), FPicture(std::make_unique<TPicture>()) {}
TGridPicIO::~TGridPicIO() = default;
void TGridPicIO::Clear() { FPicture = std::make_unique<TPicture>(); }

void TGridPicIO::Write(TFilerWriter &W) const
{
    BeginWrite(W);
    if (TGraphic *g = FPicture->Graphic(); g && !g->Empty()) {
        // The graphic's class name as a short string, then its own stored form.
        const QByteArray cls = g->ClassName().toUtf8().left(255);
        QByteArray data;
        data += char(cls.size());
        data += cls;
        data += g->SaveToBytes();
        W.WriteStr(QLatin1StringView("Picture.Data"));
        W.WriteBinary(data);
    }
    EndWrite(W);
}

void TGridPicIO::Read(TFilerReader &R)
{
    Clear();
    ReadRecord(R, [&](QByteArrayView N, const TFilerValue &V) {
        if (!Is(N, "Picture.Data"))
            return false;
        const QByteArray data = R.AsBinary(V);
        if (data.isEmpty() || Byte(data[0]) + 1 > data.size())
            R.Error();
        // The graphic is chosen by its content; the class name only has to be there.
        std::unique_ptr<TGraphic> g;
        try {
            g = LoadGraphicFromBytes(data.mid(Byte(data[0]) + 1));
        } catch (const EInvalidGraphic &) {
            R.Error();
        }
        FPicture->SetGraphic(g.get());
        return true;
    });
}

TGridFilePicIO::TGridFilePicIO(TComponent *AOwner)
    : TGridRecordIO(AOwner, "TGridFilePicIO"), FPicture(std::make_unique<TFilePicture>())
{
}
TGridFilePicIO::~TGridFilePicIO() = default;
void TGridFilePicIO::Clear() { FPicture = std::make_unique<TFilePicture>(); }

void TGridFilePicIO::Write(TFilerWriter &W) const
{
    BeginWrite(W);
    WriteTextProp(W, "Picture.Filename", FPicture->Filename());
    EndWrite(W);
}

void TGridFilePicIO::Read(TFilerReader &R)
{
    Clear();
    ReadRecord(R, [&](QByteArrayView N, const TFilerValue &V) {
        if (!Is(N, "Picture.Filename"))
            return false;
        // A picture whose file is gone keeps its name; it draws nothing until the file is back.
        try {
            FPicture->SetFilename(R.AsString(V));
        } catch (const EReadError &) {
            throw;
        } catch (const Exception &) {
        }
        return true;
    });
}

void TGridSLIO::Write(TFilerWriter &W) const
{
    BeginWrite(W);
    if (!Strings.isEmpty()) {
        W.WriteStr(QLatin1StringView("Strings.Strings"));
        W.WriteStrings(Strings);
    }
    EndWrite(W);
}

void TGridSLIO::Read(TFilerReader &R)
{
    Clear();
    ReadRecord(R, [&](QByteArrayView N, const TFilerValue &V) {
        if (!Is(N, "Strings.Strings") || V.Type != vaList)
            return false;
        Strings = V.Items;
        return true;
    });
}

// ---- the grid's side ----

namespace {

// The nine records, owned by the grid for one save or load.
struct TBinRecords {
    explicit TBinRecords(TExtStringGrid *G)
        : Prop(G), Cell(G), CellProp(G, G), Graphic(G), BMP(G), Icon(G), Pic(G), FilePic(G), SL(G)
    {
    }
    TGridPropIO Prop;
    TGridCellIO Cell;
    TGridCellPropIO CellProp;
    TGridGraphicIO Graphic;
    TGridBMPIO BMP;
    TGridIconIO Icon;
    TGridPicIO Pic;
    TGridFilePicIO FilePic;
    TGridSLIO SL;
};

bool HasPayloadObject(TCellType T)
{
    switch (T) {
    case ctBitmap: case ctIcon: case ctRadio: case ctImages: case ctPicture: case ctFilePicture: case ctBitButton:
        return true;
    default:
        return false;
    }
}


// Whole numbers joined by commas, as the header keeps widths and heights.
QList<int> ReadSizes(const UnicodeString &Text)
{
    QList<int> sizes;
    if (Text.isEmpty())
        return sizes;
    for (QStringView part : QStringView(Text).split(u',')) {
        bool ok = false;
        const int v = part.toInt(&ok);
        if (!ok)
            TFilerReader::Error();
        sizes.append(std::clamp(v, 0, int(SHRT_MAX)));
    }
    return sizes;
}

} // namespace

void TExtStringGrid::SaveRectToBinStream(const TRect &Rect, TStream *Stream)
{
    TFilerWriter w(Stream);
    TBinRecords rec(this);
    const int left = Rect.Left, top = Rect.Top, right = Rect.Right, bottom = Rect.Bottom;
    rec.Prop.RowCount = bottom - top + 1;
    rec.Prop.ColCount = right - left + 1;
    rec.Prop.FullGrid = FSaveFixedCells ? rec.Prop.RowCount == RowCount() && rec.Prop.ColCount == ColCount()
                                        : rec.Prop.RowCount == RowCount() - FixedRows() && rec.Prop.ColCount == ColCount() - FixedCols();
    rec.Prop.ID = int(GridID());
    QStringList widths, heights;
    for (int c = left; c <= right; ++c)
        widths << QString::number(ColWidths(c));
    for (int r = top; r <= bottom; ++r)
        heights << QString::number(RowHeights(r));
    rec.Prop.ColWidths = widths.join(u',');
    rec.Prop.RowHeights = heights.join(u',');
    rec.Prop.Write(w);

    int last = INT_MIN;
    ExportNotification(esExportStart, top);
    for (int r = top; r <= bottom; ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = left; c <= right; ++c) {
            rec.Cell.Col = c;
            rec.Cell.Row = r;
            rec.Cell.Cell = InsideGrid(c, r) ? GetCellEx(c, r) : UnicodeString();
            rec.Cell.HasProp = CellHasProperties(c, r);
            rec.Cell.Write(w);
            if (!rec.Cell.HasProp)
                continue;
            TCellProperties *src = PropsOf(c, r);
            TCellProperties *p = rec.CellProp.CellProperties();
            p->Assign(src);
            p->SetBrushColorTo(src->BrushColorTo());
            p->SetGradientDirection(src->GradientDirection());
            // Only the slot's own graphic travels, not a grid-wide shared one.
            auto *g = dynamic_cast<TCellGraphic *>(src->GraphicObject());
            bool hasGraphic = false;
            if (g && g->CellType() != ctEmpty)
                // A picture the application handed in belongs to it, not to the cell.
                hasGraphic = HasPayloadObject(g->CellType()) ? g->CellCreated() : true;
            rec.CellProp.HasGraphic = hasGraphic;
            rec.CellProp.Write(w);
            if (!hasGraphic)
                continue;
            TCellGraphic *rg = rec.Graphic.CellGraphic();
            rg->SetCellText(UnicodeString());
            rg->Assign(g);
            rg->SetCellCreated(g->CellCreated());
            rg->SetCellCheckBoxState(g->CellCheckBoxState());
            rec.Graphic.Write(w);
            switch (g->CellType()) {
            case ctBitmap:
            case ctBitButton:
                rec.BMP.Clear();
                if (TBitmap *b = g->CellBitmap())
                    rec.BMP.Bitmap()->Assign(b);
                rec.BMP.Write(w);
                break;
            case ctIcon:
                rec.Icon.Clear();
                if (TIcon *i = g->CellIcon())
                    rec.Icon.Icon()->Assign(i);
                rec.Icon.Write(w);
                break;
            case ctRadio:
                rec.SL.Clear();
                if (auto *s = dynamic_cast<TStrings *>(g->CellObject()))
                    for (int i = 0; i < s->Count(); ++i)
                        rec.SL.Strings << s->Strings(i);
                rec.SL.Write(w);
                break;
            case ctImages:
                rec.SL.Clear();
                if (auto *l = dynamic_cast<TIntList *>(g->CellObject()))
                    for (int i = 0; i < l->Count(); ++i)
                        rec.SL.Strings << QString::number(l->Items(i));
                rec.SL.Write(w);
                break;
            case ctPicture:
                rec.Pic.Clear();
                if (auto *pic = dynamic_cast<TPicture *>(g->CellObject()))
                    rec.Pic.Picture()->Assign(pic);
                rec.Pic.Write(w);
                break;
            case ctFilePicture:
                rec.FilePic.Clear();
                if (auto *fp = dynamic_cast<TFilePicture *>(g->CellObject()))
                    rec.FilePic.Picture()->Assign(fp);
                rec.FilePic.Write(w);
                break;
            default:
                break;
            }
        }
        FireFileProgress(GridFileText::Percent(r, bottom - top), last);
    }
    w.Flush();
    ExportNotification(esExportDone, -1);
}

void TExtStringGrid::SaveToBinStream(TStream *Stream)
{
    SaveRectToBinStream(TRect(SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()), Stream);
}

void TExtStringGrid::SaveToBinFile(const UnicodeString &FileName)
{
    TMemoryStream s;
    SaveToBinStream(&s);
    WriteFileAtomic(FileName, s.Bytes());
}

void TExtStringGrid::LoadAtPointFromBinStream(TPoint Point, TStream *Stream)
{
    TFilerReader r(Stream);
    TBinRecords rec(this);
    rec.Prop.Read(r);
    const TGridPropIO &head = rec.Prop;

    // The first cell tells where the rectangle began: a whole grid saved without its fixed
    // cells starts past them, and the grid must hold that much more.
    bool haveCell = r.Remaining() >= 2;
    if (haveCell)
        rec.Cell.Read(r);
    const long long firstCol = haveCell ? rec.Cell.Col : 0, firstRow = haveCell ? rec.Cell.Row : 0;
    long long originCol = 0, originRow = 0;
    if (head.FullGrid) {
        const long long cols = (long long)head.ColCount + std::max(0LL, firstCol);
        const long long rows = (long long)head.RowCount + std::max(0LL, firstRow);
        if (head.ColCount < 0 || head.RowCount < 0 || cols > MaxFileCols || rows > MaxFileRows)
            TFilerReader::Error();
        const QList<int> widths = ReadSizes(head.ColWidths), heights = ReadSizes(head.RowHeights);
        Clear();
        SetRowCount(int(rows));
        SetColCount(int(cols));
        const int c0 = int(std::max(0LL, firstCol)), r0 = int(std::max(0LL, firstRow));
        for (int i = 0; c0 + i < ColCount(); ++i) {
            if (i >= widths.size())
                throw EListError(QString::fromLatin1(SListIndexError).arg(i));
            SetColWidths(c0 + i, widths[i]);
        }
        for (int i = 0; r0 + i < RowCount(); ++i) {
            if (i >= heights.size())
                throw EListError(QString::fromLatin1(SListIndexError).arg(i));
            SetRowHeights(r0 + i, heights[i]);
        }
    } else {
        originCol = firstCol;
        originRow = firstRow;
    }

    int lastProgress = INT_MIN;
    long long lastRow = LLONG_MIN;
    while (haveCell) {
        const long long tcl = rec.Cell.Col + (long long)Point.X - originCol;
        const long long trl = rec.Cell.Row + (long long)Point.Y - originRow;
        const bool inside = tcl >= 0 && trl >= 0 && tcl < TotalColCount() && trl < RowCount();
        const int tc = inside ? int(tcl) : -1, tr = inside ? int(trl) : -1;
        if (inside)
            SetCellEx(tc, tr, rec.Cell.Cell);
        if (trl != lastRow) {
            lastRow = trl;
            FireFileProgress(GridFileText::Percent(trl, RowCount()), lastProgress);
        }
        if (rec.Cell.HasProp) {
            TCellProperties *p = rec.CellProp.CellProperties();
            TCellProperties *target = inside ? CellProperties(tc, tr) : nullptr;
            rec.CellProp.Clear();
            p = rec.CellProp.CellProperties();
            if (target) {
                p->Assign(target);
                p->SetBrushColorTo(target->BrushColorTo());
                p->SetGradientDirection(target->GradientDirection());
            }
            rec.CellProp.Read(r);
            if (target) {
                // A merged range that would reach outside the grid is not taken over: the
                // cell stands by itself.
                const bool base = p->IsBaseCell();
                const long long bx = tc - (long long)p->CellSpanX(), by = tr - (long long)p->CellSpanY();
                if (!base && (p->CellSpanX() < 0 || p->CellSpanY() < 0 || bx < 0 || by < 0)) {
                    p->SetIsBaseCell(true);
                    p->SetCellSpanX(-1);
                    p->SetCellSpanY(-1);
                } else if (base && (p->CellSpanX() < -1 || p->CellSpanY() < -1 ||
                                    tc + (long long)p->CellSpanX() >= TotalColCount() ||
                                    tr + (long long)p->CellSpanY() >= RowCount())) {
                    p->SetCellSpanX(-1);
                    p->SetCellSpanY(-1);
                }
                // The application's value and control are the target's own.
                const NativeUInt obj = target->CellObject();
                TControl *ctl = target->Control();
                TObject *graphic = target->GraphicObject();
                target->Assign(p);
                target->SetBrushColorTo(p->BrushColorTo());
                target->SetGradientDirection(p->GradientDirection());
                target->SetCellObject(obj);
                target->SetControl(ctl);
                target->SetGraphicObject(graphic);
                target->SetOwnerCol(tc);
                target->SetOwnerRow(tr);
            }
            if (rec.CellProp.HasGraphic) {
                rec.Graphic.Read(r);
                TCellGraphic *src = rec.Graphic.CellGraphic();
                TCellGraphic *g = nullptr;
                if (target) {
                    g = CreateCellGraphic(tc, tr);
                    g->Assign(src);
                    g->SetCellCreated(src->CellCreated());
                    g->SetCellCheckBoxState(src->CellCheckBoxState());
                }
                // Whatever object the payload gives, the grid owns it from here on.
                auto give = [&](TObject *O) {
                    g->SetCellObject(O);
                    g->SetCellCreated(true);
                };
                switch (src->CellType()) {
                case ctBitmap:
                case ctBitButton:
                    rec.BMP.Read(r);
                    if (g) {
                        auto *b = new TBitmap();
                        b->Assign(rec.BMP.Bitmap());
                        give(b);
                    }
                    break;
                case ctIcon:
                    rec.Icon.Read(r);
                    if (g) {
                        auto *i = new TIcon();
                        i->Assign(rec.Icon.Icon());
                        g->SetCellIcon(i);
                        g->SetCellCreated(true);
                    }
                    break;
                case ctRadio:
                    rec.SL.Read(r);
                    if (g) {
                        auto *s = new TStringList();
                        for (const auto &line : rec.SL.Strings)
                            s->Add(line);
                        give(s);
                    }
                    break;
                case ctImages: {
                    rec.SL.Read(r);
                    if (g) {
                        auto *l = new TIntList(tc, tr);
                        give(l);
                        try {
                            l->SetStrValue(rec.SL.Strings.join(u','));
                        } catch (const EConvertError &) {
                            TFilerReader::Error();
                        }
                        l->OnChange = [this](TObject *Sender, int ACol, int ARow) { CellImageChanged(Sender, ACol, ARow); };
                    }
                    break;
                }
                case ctPicture:
                    rec.Pic.Read(r);
                    if (g) {
                        auto *pic = new TPicture();
                        pic->Assign(rec.Pic.Picture());
                        give(pic);
                    }
                    break;
                case ctFilePicture:
                    rec.FilePic.Read(r);
                    if (g) {
                        auto *fp = new TFilePicture();
                        fp->Assign(rec.FilePic.Picture());
                        give(fp);
                    }
                    break;
                default:
                    break;
                }
            }
        }
        haveCell = r.Remaining() >= 2;
        if (haveCell)
            rec.Cell.Read(r);
    }
}

void TExtStringGrid::LoadFromBinStream(TStream *Stream)
{
    LoadAtPointFromBinStream(TPoint(0, 0), Stream);
    int nodes = 0;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (GetCellType(0, r) == ctNode)
            ++nodes;
    FNumNodes = nodes;
    if (nodes != 0)
        Invalidate();
}

void TExtStringGrid::LoadFromBinFile(const UnicodeString &FileName)
{
    TBytesStream s(ReadFileBytes(FileName, MaxDataFileSize));
    LoadFromBinStream(&s);
}
