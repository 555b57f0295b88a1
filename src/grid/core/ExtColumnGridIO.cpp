// The column definitions' storage (the column stream, the column order in an INI file, the
// recorded default order) and their share in the grid's structure operations.

#include "grid/core/ExtColumnGrid.h"

#include "grid/services/GridBinIO.h"
#include "platform/Filer.h"
#include "platform/IniFiles.h"

#include <memory>
#include <vector>

namespace {

const char *const BorderIdents[] = {"cbLeft", "cbTop", "cbRight", "cbBottom"};
const char *const PopupIdents[] = {"cpFixedCellsRClick", "cpFixedCellsLClick", "cpNormalCellsRClick",
                                   "cpNormalCellsLClick", "cpAllCellsRClick", "cpAllCellsLClick"};
const char *const SortIdents[] = {"ssAutomatic", "ssAlphabetic", "ssNumeric", "ssDate", "ssAlphaNoCase",
                                  "ssAlphaCase", "ssShortDateEU", "ssShortDateUS", "ssCustom", "ssFinancial",
                                  "ssAnsiAlphaCase", "ssAnsiAlphaNoCase", "ssRaw", "ssHTML", "ssImages",
                                  "ssCheckBox", "ssDateTime", "ssTime", "ssAlphaNumeric",
                                  "ssAlphaNumericNoCase"};
const char *const PenStyleIdents[] = {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
                                      "psInsideFrame", "psUserStyle", "psAlternate"};
// The alignment, editor and font style names are the ones every stream of the grid writes.
const TIdentTable &AlignNames = AlignmentIdents;
const TIdentTable BorderNames = IdentTable(BorderIdents);
const TIdentTable PopupNames = IdentTable(PopupIdents);
const TIdentTable SortNames = IdentTable(SortIdents);
const TIdentTable &EditorNames = GridIdents::Editor;
const TIdentTable &FontStyleNames = FontStyleIdents;
const TIdentTable PenStyleNames = IdentTable(PenStyleIdents);

UnicodeString EnumName(const TIdentTable &Names, int Value) { return IdentOfValue(Names, Value); }

int EnumValue(const TFilerReader &, const TIdentTable &Names, const TFilerValue &V) { return ReadIdentValue(Names, V); }

QStringList BorderSet(TCellBorders B)
{
    // In the order of the set's elements.
    QStringList l;
    for (int i = 0; i < 4; ++i)
        if (B.Contains(TCellBorder(i)))
            l << QString::fromLatin1(BorderNames.Names[i]);
    return l;
}

TCellBorders ReadBorders(const TFilerReader &R, const TFilerValue &V)
{
    if (V.Type != vaSet)
        R.Error();
    TCellBorders b;
    for (const auto &e : V.Items) {
        TFilerValue iv;
        iv.Type = vaIdent;
        iv.Text = e;
        b.Include(TCellBorder(EnumValue(R, BorderNames, iv)));
    }
    return b;
}

void WriteFont(TFilerWriter &W, const QString &Prefix, TFont *F)
{
    // All five are written, as the form resources do for a font that is not the parent's.
    W.WriteStr(Prefix + QStringLiteral(".Charset"));
    if (F->Charset() == DEFAULT_CHARSET)
        W.WriteIdent(QStringLiteral("DEFAULT_CHARSET"));
    else if (F->Charset() == ANSI_CHARSET)
        W.WriteIdent(QStringLiteral("ANSI_CHARSET"));
    else
        W.WriteInteger(F->Charset());
    W.WriteStr(Prefix + QStringLiteral(".Color"));
    W.WriteColor(F->Color());
    W.WriteStr(Prefix + QStringLiteral(".Height"));
    W.WriteInteger(F->Height());
    W.WriteStr(Prefix + QStringLiteral(".Name"));
    W.WriteString(F->Name());
    W.WriteStr(Prefix + QStringLiteral(".Style"));
    QStringList st;
    for (int i = 0; i < 4; ++i)
        if (F->Style().Contains(TFontStyle(i)))
            st << QString::fromLatin1(FontStyleNames.Names[i]);
    W.WriteSet(st);
}

void WritePen(TFilerWriter &W, const QString &Prefix, TPen *P)
{
    const TPen def;
    if (P->Color() != def.Color()) {
        W.WriteStr(Prefix + QStringLiteral(".Color"));
        W.WriteColor(P->Color());
    }
    if (P->Style() != def.Style()) {
        W.WriteStr(Prefix + QStringLiteral(".Style"));
        W.WriteIdent(EnumName(PenStyleNames, int(P->Style())));
    }
    if (P->Width() != def.Width()) {
        W.WriteStr(Prefix + QStringLiteral(".Width"));
        W.WriteInteger(P->Width());
    }
}

void WriteItem(TFilerWriter &W, TGridColumnItem *C)
{
    auto name = [&W](const char *n) { W.WriteStr(QString::fromLatin1(n)); };
    auto text = [&](const char *n, const UnicodeString &v) {
        if (!v.isEmpty()) {
            name(n);
            W.WriteString(v);
        }
    };
    auto integer = [&](const char *n, int v) {
        name(n);
        W.WriteInteger(v);
    };
    auto boolean = [&](const char *n, bool v) {
        name(n);
        W.WriteBoolean(v);
    };
    auto ident = [&](const char *n, const UnicodeString &v) {
        name(n);
        W.WriteIdent(v);
    };
    auto list = [&](const char *n, TStrings *l) {
        if (l->Count() > 0) {
            name(n);
            QStringList s;
            for (int i = 0; i < l->Count(); ++i)
                s << l->Strings(i);
            W.WriteStrings(s);
        }
    };
    integer("AutoMinSize", C->AutoMinSize());
    integer("AutoMaxSize", C->AutoMaxSize());
    ident("Alignment", EnumName(AlignNames, C->Alignment()));
    name("Borders");
    W.WriteSet(BorderSet(C->Borders()));
    WritePen(W, QStringLiteral("BorderPen"), C->BorderPen());
    text("CheckFalse", C->CheckFalse());
    text("CheckTrue", C->CheckTrue());
    name("Color");
    W.WriteColor(C->Color());
    if (C->ColumnPopup())
        ident("ColumnPopup", C->ColumnPopup()->Name());
    ident("ColumnPopupType", EnumName(PopupNames, C->ColumnPopupType()));
    list("ComboItems.Strings", C->ComboItems());
    integer("DropDownCount", C->DropDownCount());
    integer("EditLength", C->EditLength());
    if (C->EditLink())
        ident("EditLink", C->EditLink()->Name());
    text("EditMask", C->EditMask());
    ident("Editor", EnumName(EditorNames, C->Editor()));
    list("Filter.Strings", C->Filter());
    boolean("FilterCaseSensitive", C->FilterCaseSensitive());
    boolean("Fixed", C->Fixed());
    text("FloatFormat", C->FloatFormat());
    WriteFont(W, QStringLiteral("Font"), C->Font());
    text("Header", C->Header());
    ident("HeaderAlignment", EnumName(AlignNames, C->HeaderAlignment()));
    WriteFont(W, QStringLiteral("HeaderFont"), C->HeaderFont());
    integer("MinSize", C->MinSize());
    integer("MaxSize", C->MaxSize());
    text("Name", C->Name());
    boolean("Password", C->Password());
    if (!C->PrintBorderCustom())
        boolean("PrintBorderCustom", false);
    name("PrintBorders");
    W.WriteSet(BorderSet(C->PrintBorders()));
    WritePen(W, QStringLiteral("PrintBorderPen"), C->PrintBorderPen());
    name("PrintColor");
    W.WriteColor(C->PrintColor());
    if (!C->PrintFontCustom())
        boolean("PrintFontCustom", false);
    WriteFont(W, QStringLiteral("PrintFont"), C->PrintFont());
    boolean("ReadOnly", C->ReadOnly());
    boolean("ShowBands", C->ShowBands());
    ident("SortStyle", EnumName(SortNames, C->SortStyle()));
    text("SortPrefix", C->SortPrefix());
    text("SortSuffix", C->SortSuffix());
    integer("SpinMax", C->SpinMax());
    integer("SpinMin", C->SpinMin());
    integer("SpinStep", C->SpinStep());
    integer("Tag", C->Tag());
    integer("Width", C->Width());
}

bool ReadFontProp(const TFilerReader &R, TFont *F, const QString &Prop, const TFilerValue &V)
{
    if (Prop == QLatin1String("Charset")) {
        if (V.Type == vaIdent) {
            if (V.Text == QLatin1String("DEFAULT_CHARSET"))
                F->SetCharset(DEFAULT_CHARSET);
            else if (V.Text == QLatin1String("ANSI_CHARSET"))
                F->SetCharset(ANSI_CHARSET);
            else
                R.Error();
        } else
            F->SetCharset(TFontCharset(R.AsInteger(V)));
    } else if (Prop == QLatin1String("Color"))
        F->SetColor(R.AsColor(V));
    else if (Prop == QLatin1String("Height"))
        F->SetHeight(R.AsInteger(V));
    else if (Prop == QLatin1String("Name"))
        F->SetName(R.AsString(V));
    else if (Prop == QLatin1String("Style")) {
        if (V.Type != vaSet)
            R.Error();
        TFontStyles s;
        for (const auto &e : V.Items) {
            TFilerValue iv;
            iv.Type = vaIdent;
            iv.Text = e;
            s.Include(TFontStyle(EnumValue(R, FontStyleNames, iv)));
        }
        F->SetStyle(s);
    } else
        return false;
    return true;
}

bool ReadPenProp(const TFilerReader &R, TPen *P, const QString &Prop, const TFilerValue &V)
{
    if (Prop == QLatin1String("Color"))
        P->SetColor(R.AsColor(V));
    else if (Prop == QLatin1String("Style"))
        P->SetStyle(TPenStyle(EnumValue(R, PenStyleNames, V)));
    else if (Prop == QLatin1String("Width"))
        P->SetWidth(R.AsInteger(V));
    else
        return false;
    return true;
}

TComponent *FindNamed(TComponent *Owner, const UnicodeString &Name)
{
    // References are kept by name; the grid's owner (the form) holds the named components.
    if (!Owner)
        return nullptr;
    for (int i = 0; i < Owner->ComponentCount(); ++i)
        if (Owner->Components(i)->Name() == Name)
            return Owner->Components(i);
    return nullptr;
}

void ReadItemProp(TFilerReader &R, TGridColumnItem *C, TExtColumnGrid *Grid, const UnicodeString &Prop)
{
    const TFilerValue v = R.ReadSimple();
    const auto dot = Prop.indexOf(QLatin1Char('.'));
    if (dot > 0) {
        const QString head = Prop.left(dot), tail = Prop.mid(dot + 1);
        bool ok = false;
        if (head == QLatin1String("Font"))
            ok = ReadFontProp(R, C->Font(), tail, v);
        else if (head == QLatin1String("HeaderFont"))
            ok = ReadFontProp(R, C->HeaderFont(), tail, v);
        else if (head == QLatin1String("PrintFont"))
            ok = ReadFontProp(R, C->PrintFont(), tail, v);
        else if (head == QLatin1String("BorderPen"))
            ok = ReadPenProp(R, C->BorderPen(), tail, v);
        else if (head == QLatin1String("PrintBorderPen"))
            ok = ReadPenProp(R, C->PrintBorderPen(), tail, v);
        else if (tail == QLatin1String("Strings") && v.Type == vaList &&
                 (head == QLatin1String("ComboItems") || head == QLatin1String("Filter"))) {
            TStringList l;
            for (const auto &s : v.Items)
                l.Add(s);
            if (head == QLatin1String("ComboItems"))
                C->SetComboItems(&l);
            else
                C->SetFilter(&l);
            ok = true;
        }
        if (!ok)
            R.Error();
        return;
    }
    const QString &p = Prop;
    if (p == QLatin1String("AutoMinSize")) C->SetAutoMinSize(R.AsInteger(v));
    else if (p == QLatin1String("AutoMaxSize")) C->SetAutoMaxSize(R.AsInteger(v));
    else if (p == QLatin1String("Alignment")) C->SetAlignment(TAlignment(EnumValue(R, AlignNames, v)));
    else if (p == QLatin1String("Borders")) C->SetBorders(ReadBorders(R, v));
    else if (p == QLatin1String("CheckFalse")) C->SetCheckFalse(R.AsString(v));
    else if (p == QLatin1String("CheckTrue")) C->SetCheckTrue(R.AsString(v));
    else if (p == QLatin1String("Color")) C->SetColor(R.AsColor(v));
    else if (p == QLatin1String("ColumnPopup")) {
        if (v.Type != vaIdent) R.Error();
        C->SetColumnPopup(dynamic_cast<TPopupMenu *>(FindNamed(Grid->Owner(), v.Text)));
    } else if (p == QLatin1String("ColumnPopupType")) C->SetColumnPopupType(TColumnPopupType(EnumValue(R, PopupNames, v)));
    else if (p == QLatin1String("DropDownCount")) C->SetDropDownCount(R.AsInteger(v));
    else if (p == QLatin1String("EditLength")) C->SetEditLength(R.AsInteger(v));
    else if (p == QLatin1String("EditLink")) {
        if (v.Type != vaIdent) R.Error();
        C->SetEditLink(FindNamed(Grid->Owner(), v.Text));
    } else if (p == QLatin1String("EditMask")) C->SetEditMask(R.AsString(v));
    else if (p == QLatin1String("Editor")) C->SetEditor(TEditorType(EnumValue(R, EditorNames, v)));
    else if (p == QLatin1String("FilterCaseSensitive")) C->SetFilterCaseSensitive(R.AsBoolean(v));
    else if (p == QLatin1String("Fixed")) C->SetFixed(R.AsBoolean(v));
    else if (p == QLatin1String("FloatFormat")) C->SetFloatFormat(R.AsString(v));
    else if (p == QLatin1String("Header")) C->SetHeader(R.AsString(v));
    else if (p == QLatin1String("HeaderAlignment")) C->SetHeaderAlignment(TAlignment(EnumValue(R, AlignNames, v)));
    else if (p == QLatin1String("MinSize")) C->SetMinSize(R.AsInteger(v));
    else if (p == QLatin1String("MaxSize")) C->SetMaxSize(R.AsInteger(v));
    else if (p == QLatin1String("Name")) C->SetName(R.AsString(v));
    else if (p == QLatin1String("Password")) C->SetPassword(R.AsBoolean(v));
    else if (p == QLatin1String("PrintBorderCustom")) C->SetPrintBorderCustom(R.AsBoolean(v));
    else if (p == QLatin1String("PrintBorders")) C->SetPrintBorders(ReadBorders(R, v));
    else if (p == QLatin1String("PrintColor")) C->SetPrintColor(R.AsColor(v));
    else if (p == QLatin1String("PrintFontCustom")) C->SetPrintFontCustom(R.AsBoolean(v));
    else if (p == QLatin1String("ReadOnly")) C->SetReadOnly(R.AsBoolean(v));
    else if (p == QLatin1String("ShowBands")) C->SetShowBands(R.AsBoolean(v));
    else if (p == QLatin1String("SortStyle")) C->SetSortStyle(TSortStyle(EnumValue(R, SortNames, v)));
    else if (p == QLatin1String("SortPrefix")) C->SetSortPrefix(R.AsString(v));
    else if (p == QLatin1String("SortSuffix")) C->SetSortSuffix(R.AsString(v));
    else if (p == QLatin1String("SpinMax")) C->SetSpinMax(R.AsInteger(v));
    else if (p == QLatin1String("SpinMin")) C->SetSpinMin(R.AsInteger(v));
    else if (p == QLatin1String("SpinStep")) C->SetSpinStep(R.AsInteger(v));
    else if (p == QLatin1String("Tag")) C->SetTag(R.AsInteger(v));
    else if (p == QLatin1String("Width")) C->SetWidth(R.AsInteger(v));
    else R.Error();
}

// The stream carries a column whole: besides what Assign copies, the three settings that a
// column copy leaves at their creation values, so that saving and loading keeps them.
void CopyColumn(TGridColumnItem *Dest, TGridColumnItem *Source)
{
    Dest->Assign(Source);
    Dest->SetColumnPopupType(Source->ColumnPopupType());
    Dest->SetPrintBorderCustom(Source->PrintBorderCustom());
    Dest->SetPrintFontCustom(Source->PrintFontCustom());
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TExtColumnGridIO

TExtColumnGridIO::TExtColumnGridIO(TComponent *AOwner)
    : TComponent(AOwner), FItems(new TGridColumnCollection(dynamic_cast<TExtColumnGrid *>(AOwner)))
{
}

TExtColumnGridIO::~TExtColumnGridIO() { delete FItems; }

// ---------------------------------------------------------------------------------------------
// Column stream

void TExtColumnGrid::SaveColumnsToStream(TStream *Stream)
{
    TExtColumnGridIO io(this);
    TGridColumnCollection &items = *io.Items();
    items.FNoRecursiveUpdate = true;
    for (int i = 0; i < FColumns->Count(); ++i) {
        CopyColumn(static_cast<TGridColumnItem *>(items.TCollection::Add()), FColumns->Items(i));
    }
    TFilerWriter w(Stream);
    w.WriteSignature();
    w.WriteStr(QStringLiteral("TExtColumnGridIO"));
    w.WriteStr(UnicodeString());
    w.WriteStr(QStringLiteral("Items"));
    w.WriteValue(vaCollection);
    for (int i = 0; i < items.Count(); ++i) {
        w.WriteValue(vaList);
        WriteItem(w, items.Items(i));
        w.WriteListEnd();
    }
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    w.Flush();
}

void TExtColumnGrid::LoadColumnsFromStream(TStream *Stream)
{
    // Read into a carrier first, so that a stream that fails half way leaves the columns as they
    // were. The width and header setters act on the grid at once, so the widths and header cells
    // they may have touched are put back as well.
    std::vector<int> widths;
    std::vector<UnicodeString> headers, itemHeaders;
    const UnicodeString headerList = FColumnHeaders->Text();
    for (int i = 0; i < FColumns->Count(); ++i)
        itemHeaders.push_back(FColumns->Items(i)->Header());
    for (int i = 0; i < TExtStringGrid::ColCount(); ++i) {
        widths.push_back(ColWidths(i));
        if (FixedRows() > 0)
            headers.push_back(Cells(i, 0));
    }
    auto io = std::make_unique<TExtColumnGridIO>(this);
    TGridColumnCollection *items = io->Items();
    items->FNoRecursiveUpdate = true;
    const bool wasNoRecursive = FColumns->FNoRecursiveUpdate;
    FColumns->FNoRecursiveUpdate = true;
    try {
        TFilerReader r(Stream);
        r.ReadSignature();
        if (r.ReadStr() != QLatin1String("TExtColumnGridIO"))
            r.Error();
        r.ReadStr();
        while (!r.EndOfList()) {
            if (r.ReadStr() != QLatin1String("Items") || r.ReadValue() != vaCollection)
                r.Error();
            items->Clear();
            while (!r.EndOfList()) {
                if (r.ReadValue() != vaList)
                    r.Error();
                auto *c = static_cast<TGridColumnItem *>(items->TCollection::Add());
                while (!r.EndOfList())
                    ReadItemProp(r, c, this, r.ReadStr());
                r.ReadListEnd();
            }
            r.ReadListEnd();
        }
        r.ReadListEnd();
        r.ReadListEnd();
    } catch (...) {
        io.reset();
        // The header list passes its entries on to the items when it changes: restore it first.
        if (FColumnHeaders->Text() != headerList)
            FColumnHeaders->SetText(headerList);
        for (int i = 0; i < FColumns->Count() && i < int(itemHeaders.size()); ++i)
            FColumns->Items(i)->SetHeaderField(itemHeaders[size_t(i)]);
        for (int i = 0; i < int(widths.size()) && i < TExtStringGrid::ColCount(); ++i) {
            if (ColWidths(i) != widths[size_t(i)])
                SetColWidths(i, widths[size_t(i)]);
            if (i < int(headers.size()) && Cells(i, 0) != headers[size_t(i)])
                SetCells(i, 0, headers[size_t(i)]);
        }
        FColumns->FNoRecursiveUpdate = wasNoRecursive;
        throw;
    }
    FColumns->Clear();
    for (int i = 0; i < items->Count(); ++i)
        CopyColumn(static_cast<TGridColumnItem *>(FColumns->TCollection::Add()), items->Items(i));
    FColumns->FNoRecursiveUpdate = wasNoRecursive;
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Column order

void TGridColumnCollection::SetOrganization()
{
    const bool was = FNoRecursiveUpdate;
    FNoRecursiveUpdate = true;
    if (FOwner)
        FOwner->SyncColumnItems();
    FNoRecursiveUpdate = was;
    for (int i = 0; i < Count(); ++i)
        Items(i)->SetDefIdx(i);
}

static bool IsPermutation(const std::vector<int> &V)
{
    std::vector<bool> seen(V.size(), false);
    for (int v : V) {
        if (v < 0 || size_t(v) >= V.size() || seen[size_t(v)])
            return false;
        seen[size_t(v)] = true;
    }
    return true;
}

void TGridColumnCollection::ResetOrganization()
{
    if (!FOwner)
        return;
    std::vector<int> def;
    for (int i = 0; i < Count(); ++i)
        def.push_back(Items(i)->DefIdx());
    // Anything but a permutation would never settle.
    if (!IsPermutation(def))
        return;
    bool moved = true;
    while (moved) {
        moved = false;
        for (int i = 0; i < Count(); ++i) {
            const int d = Items(i)->DefIdx();
            if (d < i) {
                FOwner->MoveColumn(i, d);
                moved = true;
            }
        }
    }
}

void TExtColumnGrid::SaveColumnPositions(const UnicodeString &Key, const UnicodeString &Section)
{
    TIniFile ini(Key);
    for (int n = 0; n < FColumns->Count(); ++n)
        ini.WriteInteger(Section, QStringLiteral("CP%1").arg(n), FColumns->Items(n)->DefIdx());
    ini.UpdateFile();
}

void TExtColumnGrid::LoadColumnPositions(const UnicodeString &Key, const UnicodeString &Section)
{
    TIniFile ini(Key);
    const int n = FColumns->Count();
    std::vector<int> k(size_t(n), -1);
    for (int j = 0; j < n; ++j)
        k[size_t(j)] = ini.ReadInteger(Section, QStringLiteral("CP%1").arg(j), -1);
    // A file from another layout, or with a value twice, would leave a half applied order.
    if (!IsPermutation(k))
        return;
    // Back to the order the columns first had, so that the item at k is the column of default
    // place k.
    ResetColumnOrder();
    for (int j = 0; j < n; ++j)
        FColumns->Items(k[size_t(j)])->SetDefIdx(j);
    FColumns->ResetOrganization();
    for (int j = 0; j < n; ++j)
        FColumns->Items(j)->SetDefIdx(k[size_t(j)]);
}

void TExtColumnGrid::SaveColPositions()
{
    if (ColumnSize()->Location == clIniFile)
        SaveColumnPositions(ColumnSize()->Key, ColumnSize()->Section);
    else
        TExtStringGrid::SaveColPositions();
}

void TExtColumnGrid::LoadColPositions()
{
    if (ColumnSize()->Location == clIniFile)
        LoadColumnPositions(ColumnSize()->Key, ColumnSize()->Section);
    else
        TExtStringGrid::LoadColPositions();
}

// ---------------------------------------------------------------------------------------------
// Structure operations

void TExtColumnGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    FColumns->FNoRecursiveUpdate = true;
    const int top = TopRow();
    const int from = RealColIndex(FromIndex), to = RealColIndex(ToIndex);
    TExtStringGrid::ColumnMoved(FromIndex, ToIndex);
    if (from >= 0 && from < FColumns->Count() && to >= 0 && to < FColumns->Count()) {
        FColumns->BeginUpdate();
        FColMoving = true;
        static_cast<TGridColumnItem *>(FColumns->TCollection::Add())->Assign(FColumns->Items(from));
        delete FColumns->Items(from);
        FColumns->Insert(to)->Assign(FColumns->Items(FColumns->Count() - 1));
        delete FColumns->Items(FColumns->Count() - 1);
        SetTopRow(top);
        FColMoving = false;
        FColumns->EndUpdate();
    }
    FColumns->FNoRecursiveUpdate = false;
    if (OnAfterColumnMoved)
        OnAfterColumnMoved(this, from, to);
}

void TExtColumnGrid::InsertCols(int ColIndex, int CCount)
{
    TExtStringGrid::InsertCols(ColIndex, CCount);
    const bool was = FColumns->FNoRecursiveUpdate;
    FColumns->FNoRecursiveUpdate = true;
    for (int i = 0; i < CCount; ++i)
        if (ColIndex >= 0 && ColIndex <= FColumns->Count())
            FColumns->Insert(ColIndex);
    FColumns->FNoRecursiveUpdate = was;
}

void TExtColumnGrid::RemoveCols(int ColIndex, int CCount)
{
    TExtStringGrid::RemoveCols(ColIndex, CCount);
    for (int i = 0; i < CCount; ++i)
        if (ColIndex >= 0 && ColIndex < FColumns->Count())
            delete FColumns->Items(ColIndex);
}

void TExtColumnGrid::Group(int ColIndex)
{
    if (TGridColumnItem *c = ItemOf(ColIndex))
        FSaveCol->Assign(c);
    TExtStringGrid::Group(ColIndex);
}

void TExtColumnGrid::UnGroup()
{
    const int col = FGroupColumn;
    TExtStringGrid::UnGroup();
    if (col != -1)
        if (TGridColumnItem *c = ItemOf(col))
            c->Assign(FSaveCol);
}
