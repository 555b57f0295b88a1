// What the string grid keeps of itself outside: the column state string, the column widths and
// order in an INI file or the registry, the looks in a Key=Value file and the print settings in
// an INI file.
#include "grid/core/ExtGrid.h"

#include "platform/IniFiles.h"
#include "platform/Registry.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

// ---- the option object ----

void TColumnSize::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TColumnSize *>(Source);
    if (!src)
        return;
    Rows = src->Rows;
    Save = src->Save;
    Key = src->Key;
    Section = src->Section;
    FStretch = src->FStretch;
    StretchColumn = src->StretchColumn;
    SynchWithGrid = src->SynchWithGrid;
    SynchNormalCellsOnly = src->SynchNormalCellsOnly;
    Location = src->Location;
}

namespace {

// Real columns from here on have no visibility flag and are always shown.
constexpr int MaxHideCol = 512;

[[noreturn]] void ListIndexError(int Index)
{
    throw EListError(QString::fromLatin1(SListIndexError).arg(Index));
}

std::vector<int> IntegerList(const QStringList &Parts)
{
    std::vector<int> r;
    r.reserve(std::size_t(Parts.size()));
    for (const QString &p : Parts)
        r.push_back(StrToInt(p));
    return r;
}

QStringList CommaParts(const QString &Field)
{
    return Field.isEmpty() ? QStringList() : Field.split(u',');
}

// The inverse of a permutation of 0..N-1; empty when V is none.
std::vector<int> Inverse(const std::vector<int> &V)
{
    std::vector<int> inv(V.size(), -1);
    for (std::size_t p = 0; p < V.size(); ++p) {
        const int v = V[p];
        if (v < 0 || std::size_t(v) >= V.size() || inv[std::size_t(v)] != -1)
            return {};
        inv[std::size_t(v)] = int(p);
    }
    return inv;
}

void SetList(TIntList *L, const std::vector<int> &V)
{
    L->Clear();
    for (int v : V)
        L->Add(v);
}

} // namespace

// ---- column state string ----

UnicodeString TExtStringGrid::ColumnStatesToString()
{
    const int n = ColCount() + NumHiddenColumns();
    QStringList widths, order, visible;
    for (int i = 0; i < n; ++i) {
        widths << QString::number(ColWidths(i));
        visible << (IsHiddenColumn(i) ? QStringLiteral("0") : QStringLiteral("1"));
    }
    if (FColumnOrder->Count() > 0)
        for (int i = 0; i < FColumnOrder->Count(); ++i)
            order << QString::number(FColumnOrder->Items(i));
    else
        for (int i = 0; i < n; ++i)
            order << QString::number(i);
    return QString::number(n) + u'#' + widths.join(u',') + u'#' + order.join(u',') + u'#' + visible.join(u',');
}

void TExtStringGrid::StringToColumnStates(const UnicodeString &Value)
{
    if (!Value.contains(u'#'))
        return;
    // The whole string is checked before the grid changes, so that a damaged one leaves the
    // columns as they were.
    const QStringList fields = Value.split(u'#');
    const auto field = [&](int i) { return i < fields.size() ? fields[i] : QString(); };
    const int n = StrToInt(field(0));
    if (n < 0 || n > MaxFileCols)
        ListIndexError(n);
    const std::vector<int> widths = IntegerList(CommaParts(field(1)));
    if (int(widths.size()) < n)
        ListIndexError(int(widths.size()));
    std::vector<int> saved;
    const std::vector<int> orderEntries = IntegerList(CommaParts(field(2)));
    if (!orderEntries.empty()) {
        for (int v : orderEntries)
            if (v != -1 && int(saved.size()) < n)
                saved.push_back(v);
        if (int(saved.size()) < n)
            ListIndexError(int(saved.size()));
        for (int v : saved)
            if (v < 0 || v >= n)
                ListIndexError(v);
    }
    const std::vector<int> inverse = Inverse(saved);
    if (!saved.empty() && inverse.empty())
        throw EListError(QStringLiteral("Column order lists a column twice"));
    const QStringList visible = CommaParts(field(3));
    if (visible.size() < n)
        ListIndexError(int(visible.size()));

    // No stretching while the columns are rebuilt; it comes back once the widths are set.
    const bool stretch = FColumnSize->Stretch();
    if (stretch)
        FColumnSize->SetStretch(false);
    // The saved order is relative to the recorded one: columns moved since go back first, so
    // that applying the same string twice gives the same columns.
    if (FColumnOrder->Count() > 0)
        ResetColumnOrder();
    FColumnOrder->Clear();
    UnHideColumnsAll();
    SetColCount(n);
    if (!saved.empty()) {
        SetList(FColumnOrder, inverse);
        ResetColumnOrder();
        SetList(FColumnOrder, saved);
    }
    for (int i = std::min(n, MaxHideCol) - 1; i >= 0; --i)
        if (visible[i] == u"0")
            HideColumn(i);
    if (stretch) {
        const int sc = FColumnSize->StretchColumn == -1 ? ColCount() - 1 : FColumnSize->StretchColumn;
        SetDefaultColWidth(ColWidths(sc));
    }
    // The platform keeps a column more than asked for when the count is below its minimum.
    for (int i = 0; i < std::min(ColCount(), n); ++i)
        SetColWidths(i, widths[std::size_t(i)]);
    if (stretch)
        FColumnSize->SetStretch(true);
}

// ---- column widths and order in an INI file or the registry ----

namespace {

std::unique_ptr<TCustomIniFile> OpenColumnStore(const TColumnSize *CS)
{
    if (CS->Location == clIniFile)
        return std::make_unique<TMemIniFile>(CS->Key);
    return std::make_unique<TRegistryIniFile>(CS->Key);
}

QString NumberedKey(const char *Prefix, int N)
{
    return QString::fromLatin1(Prefix) + QString::number(N);
}

} // namespace

void TExtStringGrid::SaveColSizes()
{
    if (FColumnSize->Key.isEmpty() || FColumnSize->Section.isEmpty() || Designing())
        return;
    auto store = OpenColumnStore(FColumnSize);
    for (int n = 0; n < ColCount(); ++n)
        store->WriteInteger(FColumnSize->Section, NumberedKey("Col", n), ColWidths(n));
    store->UpdateFile();
}

void TExtStringGrid::LoadColSizes()
{
    if (FColumnSize->Key.isEmpty() || FColumnSize->Section.isEmpty() || Designing())
        return;
    // A width no screen needs is a damaged value and keeps the column's width: the grid adds
    // the widths up in int, and a file-sized grid of such columns stays far from overflowing.
    constexpr int MaxStoredColWidth = 16383;
    auto store = OpenColumnStore(FColumnSize);
    for (int n = 0; n < ColCount(); ++n) {
        const int w = store->ReadInteger(FColumnSize->Section, NumberedKey("Col", n), ColWidths(n));
        if (w != ColWidths(n) && w >= -1 && w <= MaxStoredColWidth)
            SetColWidths(n, w);
    }
    store->UpdateFile();
}

void TExtStringGrid::SaveColPositions()
{
    if (FColumnSize->Key.isEmpty() || FColumnSize->Section.isEmpty() || Designing())
        return;
    auto store = OpenColumnStore(FColumnSize);
    for (int n = 0; n < FColumnOrder->Count(); ++n)
        store->WriteInteger(FColumnSize->Section, NumberedKey("Pos", n), FColumnOrder->Items(n));
    store->UpdateFile();
}

void TExtStringGrid::LoadColPositions()
{
    if (FColumnSize->Key.isEmpty() || FColumnSize->Section.isEmpty() || Designing())
        return;
    auto store = OpenColumnStore(FColumnSize);
    const UnicodeString &sec = FColumnSize->Section;
    if (store->ReadInteger(sec, QStringLiteral("Pos0"), -1) == -1)
        return;
    const int all = AllColCount();
    std::vector<int> stored;
    for (int n = 0; n < all && store->ValueExists(sec, NumberedKey("Pos", n)); ++n)
        stored.push_back(store->ReadInteger(sec, NumberedKey("Pos", n), -1));
    // Positions of another layout (fewer or more columns, a value twice) would move columns for
    // ever or half way; they change nothing.
    const std::vector<int> inverse = Inverse(stored);
    if (int(stored.size()) != all || inverse.empty())
        return;
    std::vector<int> hidden;
    for (int c = 0; c < std::min(all, MaxHideCol); ++c)
        if (IsHiddenColumn(c))
            hidden.push_back(c);
    if (FColumnOrder->Count() > 0)
        ResetColumnOrder();
    SetList(FColumnOrder, inverse);
    UnHideColumnsAll();
    ResetColumnOrder();
    for (int c : hidden)
        HideColumn(c);
    SetList(FColumnOrder, stored);
    store->UpdateFile();
}

// ---- visual properties ----

namespace {

const char *const ControlStyleNames[] = {"csClassic", "csFlat", "csWinXP", "csChiselled", "csQRV", "csGlyph", "csTheme"};
const char *const LookNames[] = {"glStandard", "glSoft", "glClassic", "glQRV",         "glXP",
                                 "glListView", "glVista", "glWin7",  "glOffice2007", "glCustom"};
const char *const DisplayNames[] = {"bdTile", "bdFixed", "bdGradientHorz", "bdGradientVert"};
const char *const CellsNames[] = {"bcNormal", "bcFixed", "bcAll"};
const char *const StyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

class TPropWriter {
public:
    void Add(const char *Key, const QString &Value) { FLines.Add(QString::fromLatin1(Key) + u'=' + Value); }
    void Color(const char *Key, TColor Value) { Add(Key, ColorToString(Value)); }
    void Bool(const char *Key, bool Value) { Add(Key, Value ? QStringLiteral("true") : QStringLiteral("false")); }
    void Int(const char *Key, int Value) { Add(Key, QString::number(Value)); }
    void Font(const char *Key, TFont *F)
    {
        const QString k = QString::fromLatin1(Key);
        QStringList style;
        for (int i = 0; i < 4; ++i)
            if (F->Style().Contains(TFontStyle(i)))
                style << QString::fromLatin1(StyleNames[i]);
        FLines.Add(k + QStringLiteral(".Color=") + ColorToString(F->Color()));
        FLines.Add(k + QStringLiteral(".Style=") + style.join(u','));
        FLines.Add(k + QStringLiteral(".Size=") + QString::number(F->Size()));
        FLines.Add(k + QStringLiteral(".Name=") + F->Name());
    }
    TStringList FLines;
};

class TPropReader {
public:
    explicit TPropReader(TStringList *L) : FLines(L) {}
    QString Value(const QString &Key) const { return FLines->Values(Key); }
    TColor Color(const QString &Key) const
    {
        const QString v = Value(Key);
        return v.isEmpty() ? clNone : StringToColor(v);
    }
    bool Bool(const QString &Key) const { return Value(Key).toUpper() == u"TRUE"; }
    int Int(const QString &Key) const { return StrToInt(Value(Key)); }
    // The first name the upper-cased value equals; -1 for none.
    template <std::size_t N> int Enum(const QString &Key, const char *const (&Names)[N]) const
    {
        const QString v = Value(Key).toUpper();
        for (std::size_t i = 0; i < N; ++i)
            if (v == QString::fromLatin1(Names[i]).toUpper())
                return int(i);
        return -1;
    }
    void Font(const QString &Key, TFont *F) const
    {
        F->SetColor(Color(Key + QStringLiteral(".Color")));
        const QString s = Value(Key + QStringLiteral(".Style"));
        TFontStyles style;
        for (int i = 0; i < 4; ++i)
            if (s.contains(QString::fromLatin1(StyleNames[i])))
                style << TFontStyle(i);
        F->SetStyle(style);
        F->SetSize(Int(Key + QStringLiteral(".Size")));
        F->SetName(Value(Key + QStringLiteral(".Name")));
    }

private:
    TStringList *FLines;
};

} // namespace

void TExtStringGrid::SaveVisualProps(const UnicodeString &FileName)
{
    TPropWriter w;
    w.Color("Color", Color());
    w.Color("HintColor", FHintColor);
    w.Color("SelectionColor", SelectionColor());
    w.Color("SelectionColorTo", SelectionColorTo());
    w.Color("SelectionMirrorColor", SelectionMirrorColor());
    w.Color("SelectionMirrorColorTo", SelectionMirrorColorTo());
    w.Color("SelectionTextColor", SelectionTextColor());
    w.Color("URLColor", URLColor());
    w.Bool("URLShow", URLShow());
    w.Bool("URLShowInText", URLShowInText());
    w.Color("ScrollColor", ScrollColor());
    w.Color("ActiveRowColor", ActiveRowColor());
    w.Bool("ActiveRowShow", ActiveRowShow());
    w.Bool("ActiveCellShow", ActiveCellShow());
    w.Font("Font", Font());
    w.Color("ActiveCellColor", ActiveCellColor());
    w.Color("ActiveCellColorTo", ActiveCellColorTo());
    w.Font("ActiveCellFont", ActiveCellFont());
    w.Font("FixedFont", FixedFont());
    w.Color("Balloon.BackgroundColor", FBalloonSettings->BackgroundColor);
    w.Color("Balloon.TextColor", FBalloonSettings->TextColor);
    w.Int("Balloon.Transparency", FBalloonSettings->Transparency);
    w.Color("Bands.PrimaryColor", FBands->PrimaryColor());
    w.Color("Bands.SecondaryColor", FBands->SecondaryColor());
    w.Bool("Bands.Active", FBands->Active());
    w.Color("SortSettings.IndexColor", FSortSettings->IndexColor);
    w.Color("FloatingFooter.Color", FFloatingFooter->Color);
    TControlLook *cl = FControlLook;
    w.Int("ControlLook.CheckSize", cl->CheckSize);
    w.Color("ControlLook.Color", cl->Color());
    w.Color("ControlLook.CommentColor", cl->CommentColor);
    w.Add("ControlLook.ControlStyle", QString::fromLatin1(ControlStyleNames[cl->ControlStyle()]));
    w.Color("ControlLook.FixedGradientFrom", cl->FixedGradientFrom());
    w.Color("ControlLook.FixedGradientTo", cl->FixedGradientTo());
    w.Int("ControlLook.RadioSize", cl->RadioSize);
    w.Bool("ControlLook.FlatButton", cl->FlatButton());
    w.Color("ControlLook.ProgressBorderColor", cl->ProgressBorderColor());
    w.Bool("ControlLook.ProgressXP", cl->ProgressXP());
    UnicodeString look;
    GetLookName(FLook, look);
    w.Add("Look", look);
    w.Color("SearchFooter.Color", FSearchFooter->Color());
    w.Color("SearchFooter.ColorTo", FSearchFooter->ColorTo());
    TGrouping *gr = FGrouping;
    w.Color("Grouping.HeaderColor", gr->HeaderColor);
    w.Color("Grouping.HeaderColorTo", gr->HeaderColorTo);
    w.Color("Grouping.HeaderTextColor", gr->HeaderTextColor);
    w.Bool("Grouping.HeaderUnderline", gr->HeaderUnderline);
    w.Color("Grouping.HeaderLineColor", gr->HeaderLineColor);
    w.Int("Grouping.HeaderLineWidth", gr->HeaderLineWidth);
    w.Color("Grouping.SummaryColor", gr->SummaryColor);
    w.Color("Grouping.SummaryColorTo", gr->SummaryColorTo);
    w.Color("Grouping.SummaryTextColor", gr->SummaryTextColor);
    w.Bool("Grouping.SummaryLine", gr->SummaryLine);
    w.Color("Grouping.SummaryLineColor", gr->SummaryLineColor);
    w.Int("Grouping.SummaryLineWidth", gr->SummaryLineWidth);
    w.Color("GridLineColor", GridLineColor());
    w.Color("GridFixedLineColor", GridFixedLineColor());
    TBackGround *bg = FBackGround;
    w.Int("BackGround.Top", bg->Top);
    w.Int("BackGround.Left", bg->Left);
    w.Add("BackGround.Display", QString::fromLatin1(DisplayNames[bg->Display]));
    w.Add("BackGround.Cells", QString::fromLatin1(CellsNames[bg->Cells]));
    w.Color("BackGround.Color", bg->Color);
    w.Color("BackGround.ColorTo", bg->ColorTo);
    try {
        w.FLines.SaveToFile(FileName);
    } catch (const Exception &) {
        throw Exception(QStringLiteral("Cannot Create ") + FileName);
    }
}

void TExtStringGrid::LoadVisualProps(const UnicodeString &FileName)
{
    TStringList lines;
    try {
        lines.LoadFromFile(FileName);
    } catch (const Exception &) {
        throw Exception(QStringLiteral("Cannot open file ") + FileName);
    }
    const TPropReader r(&lines);
    const auto k = [](const char *Key) { return QString::fromLatin1(Key); };
    SetColor(r.Color(k("Color")));
    FHintColor = r.Color(k("HintColor"));
    SetSelectionColor(r.Color(k("SelectionColor")));
    SetSelectionColorTo(r.Color(k("SelectionColorTo")));
    SetSelectionMirrorColor(r.Color(k("SelectionMirrorColor")));
    SetSelectionMirrorColorTo(r.Color(k("SelectionMirrorColorTo")));
    SetSelectionTextColor(r.Color(k("SelectionTextColor")));
    SetURLColor(r.Color(k("URLColor")));
    SetURLShow(r.Bool(k("URLShow")));
    SetURLShowInText(r.Bool(k("URLShowInText")));
    SetScrollColor(r.Color(k("ScrollColor")));
    SetActiveRowColor(r.Color(k("ActiveRowColor")));
    SetActiveRowShow(r.Bool(k("ActiveRowShow")));
    SetActiveCellShow(r.Bool(k("ActiveCellShow")));
    r.Font(k("Font"), Font());
    SetActiveCellColor(r.Color(k("ActiveCellColor")));
    SetActiveCellColorTo(r.Color(k("ActiveCellColorTo")));
    r.Font(k("ActiveCellFont"), ActiveCellFont());
    r.Font(k("FixedFont"), FixedFont());
    Invalidate();
    FBalloonSettings->BackgroundColor = r.Color(k("Balloon.BackGroundColor"));
    FBalloonSettings->TextColor = r.Color(k("Balloon.TextColor"));
    FBalloonSettings->Transparency = Byte(r.Int(k("Balloon.Transparency")));
    FBands->SetPrimaryColor(r.Color(k("Bands.PrimaryColor")));
    FBands->SetSecondaryColor(r.Color(k("Bands.SecondaryColor")));
    FBands->SetActive(r.Bool(k("Bands.Active")));
    FSortSettings->IndexColor = r.Color(k("SortSettings.IndexColor"));
    FFloatingFooter->SetColor(r.Color(k("FloatingFooter.Color")));
    TControlLook *cl = FControlLook;
    cl->SetCheckSize(r.Int(k("ControlLook.CheckSize")));
    cl->SetColor(r.Color(k("ControlLook.Color")));
    cl->SetCommentColor(r.Color(k("ControlLook.CommentColor")));
    if (const int v = r.Enum(k("ControlLook.ControlStyle"), ControlStyleNames); v >= 0)
        cl->SetControlStyle(TControlLook::TControlStyle(v));
    cl->SetFixedGradientFrom(r.Color(k("ControlLook.FixedGradientFrom")));
    cl->SetFixedGradientTo(r.Color(k("ControlLook.FixedGradientTo")));
    cl->SetRadioSize(r.Int(k("ControlLook.RadioSize")));
    cl->SetFlatButton(r.Bool(k("ControlLook.FlatButton")));
    cl->SetProgressBorderColor(r.Color(k("ControlLook.ProgressBorderColor")));
    cl->SetProgressXP(r.Bool(k("ControlLook.ProgressXP")));
    if (const int v = r.Enum(k("Look"), LookNames); v >= 0)
        SetLook(TGridLook(v));
    FSearchFooter->SetColor(r.Color(k("SearchFooter.Color")));
    FSearchFooter->SetColorTo(r.Color(k("SearchFooter.ColorTo")));
    SetGridLineColor(r.Color(k("GridLineColor")));
    SetGridFixedLineColor(r.Color(k("GridFixedLineColor")));
    TGrouping *gr = FGrouping;
    gr->HeaderColor = r.Color(k("Grouping.HeaderColor"));
    gr->HeaderColorTo = r.Color(k("Grouping.HeaderColorTo"));
    gr->HeaderTextColor = r.Color(k("Grouping.HeaderTextColor"));
    gr->HeaderUnderline = r.Bool(k("Grouping.HeaderUnderline"));
    gr->HeaderLineColor = r.Color(k("Grouping.HeaderLineColor"));
    gr->HeaderLineWidth = r.Int(k("Grouping.HeaderLineWidth"));
    gr->SummaryColor = r.Color(k("Grouping.SummaryColor"));
    gr->SummaryColorTo = r.Color(k("Grouping.SummaryColorTo"));
    gr->SummaryTextColor = r.Color(k("Grouping.SummaryTextColor"));
    gr->SummaryLine = r.Bool(k("Grouping.SummaryLine"));
    gr->SummaryLineColor = r.Color(k("Grouping.SummaryLineColor"));
    gr->SummaryLineWidth = r.Int(k("Grouping.SummaryLineWidth"));
    TBackGround *bg = FBackGround;
    bg->SetTop(r.Int(k("BackGround.Top")));
    bg->SetLeft(r.Int(k("BackGround.Left")));
    if (const int v = r.Enum(k("BackGround.Display"), DisplayNames); v >= 0)
        bg->SetDisplay(TBackGroundDisplay(v));
    if (const int v = r.Enum(k("BackGround.Cells"), CellsNames); v >= 0)
        bg->SetCells(TBackGroundCells(v));
    bg->SetColor(r.Color(k("BackGround.Color")));
    bg->SetColorTo(r.Color(k("BackGround.ColorTo")));
}

// ---- print settings ----

namespace {

int StyleBits(TFontStyles S)
{
    int bits = 0;
    for (int i = 0; i < 4; ++i)
        if (S.Contains(TFontStyle(i)))
            bits |= 1 << i;
    return bits;
}

class TPrintIni {
public:
    TPrintIni(const UnicodeString &FileName, const UnicodeString &Section) : FSection(Section)
    {
        try {
            FIni = std::make_unique<TMemIniFile>(FileName);
        } catch (const Exception &) {
            throw Exception(QStringLiteral("Cannot open file ") + FileName);
        }
    }
    void Update()
    {
        try {
            FIni->UpdateFile();
        } catch (const Exception &) {
            throw Exception(QStringLiteral("Cannot Create ") + FIni->FileName());
        }
    }

    void Int(const char *Key, int Value) { FIni->WriteInteger(FSection, QString::fromLatin1(Key), Value); }
    void Text(const char *Key, const QString &Value) { FIni->WriteString(FSection, QString::fromLatin1(Key), Value); }
    void Flag(const char *Key, bool Value) { Text(Key, Value ? QStringLiteral("Y") : QStringLiteral("N")); }
    void Font(const char *Prefix, TFont *F)
    {
        const QString p = QString::fromLatin1(Prefix);
        FIni->WriteString(FSection, p + QStringLiteral("Name"), F->Name());
        FIni->WriteInteger(FSection, p + QStringLiteral("Size"), F->Size());
        FIni->WriteInteger(FSection, p + QStringLiteral("Style"), StyleBits(F->Style()));
        FIni->WriteInteger(FSection, p + QStringLiteral("Color"), int(F->Color()));
    }

    int ReadInt(const char *Key, int Default) { return FIni->ReadInteger(FSection, QString::fromLatin1(Key), Default); }
    QString ReadText(const char *Key, const QString &Default = QString())
    {
        return FIni->ReadString(FSection, QString::fromLatin1(Key), Default);
    }
    bool ReadFlag(const char *Key, const char *Default) { return ReadText(Key, QString::fromLatin1(Default)) == u"Y"; }
    // An ordinal within 0..Max, else Current.
    template <typename E> E Ordinal(const char *Key, E Current, int Max)
    {
        const int v = ReadInt(Key, 0);
        return v >= 0 && v <= Max ? E(v) : Current;
    }
    TPrintPosition Position(const char *Key)
    {
        const int v = ReadInt(Key, 0);
        return v >= 1 && v <= 6 ? TPrintPosition(v) : ppNone;
    }
    // Name, size and colour replace; the stored style bits join the font's style.
    void ReadFont(const char *Prefix, TFont *F)
    {
        const QString p = QString::fromLatin1(Prefix);
        F->SetName(FIni->ReadString(FSection, p + QStringLiteral("Name"), QStringLiteral("Arial")));
        F->SetSize(FIni->ReadInteger(FSection, p + QStringLiteral("Size"), 10));
        const int bits = FIni->ReadInteger(FSection, p + QStringLiteral("Style"), 0);
        TFontStyles style = F->Style();
        for (int i = 0; i < 4; ++i)
            if (bits & (1 << i))
                style << TFontStyle(i);
        F->SetStyle(style);
        F->SetColor(TColor(FIni->ReadInteger(FSection, p + QStringLiteral("Color"), 0)));
    }

private:
    std::unique_ptr<TMemIniFile> FIni;
    UnicodeString FSection;
};

} // namespace

void TExtStringGrid::SavePrintSettings(const UnicodeString &Key, const UnicodeString &Section)
{
    TPrintSettings *ps = FPrintSettings;
    TPrintIni ini(Key, Section);
    ini.Int("ColumnSpacing", ps->ColumnSpacing);
    ini.Int("RowSpacing", ps->RowSpacing);
    ini.Int("TitleSpacing", ps->TitleSpacing);
    ini.Int("FixedHeight", ps->FixedHeight);
    ini.Int("FixedWidth", ps->FixedWidth);
    ini.Flag("Centered", ps->Centered);
    ini.Flag("NoAutoSize", ps->NoAutoSize);
    ini.Flag("UseFixedHeight", ps->UseFixedHeight);
    ini.Flag("UseFixedWidth", ps->UseFixedWidth);
    ini.Flag("RepeatFixedRows", ps->RepeatFixedRows);
    ini.Flag("RepeatFixedCols", ps->RepeatFixedCols);
    ini.Flag("UseDisplFont", ps->UseDisplayFont);
    ini.Flag("UseDefOrientation", ps->UseDefaultOrientation);
    ini.Int("Borders", int(ps->Borders));
    ini.Int("BorderColor", int(ps->BorderColor));
    ini.Int("BorderStyle", int(ps->BorderStyle));
    ini.Int("Date", int(ps->Date));
    ini.Int("PageNr", int(ps->PageNr));
    ini.Int("Title", int(ps->Title));
    ini.Int("Time", int(ps->Time));
    ini.Text("DateFormat", ps->DateFormat);
    ini.Text("TitleText", ps->TitleText);
    ini.Int("FooterSize", ps->FooterSize);
    ini.Int("HeaderSize", ps->HeaderSize);
    ini.Int("LeftSize", ps->LeftSize);
    ini.Int("RightSize", ps->RightSize);
    ini.Int("FitToPage", int(ps->FitToPage));
    ini.Font("Font", ps->Font());
    ini.Font("HeaderFont", ps->HeaderFont());
    ini.Font("FooterFont", ps->FooterFont());
    ini.Text("PageNumSep", ps->PageNumSep);
    ini.Text("PageSuffix", ps->PageSuffix);
    ini.Text("PagePrefix", ps->PagePrefix);
    ini.Int("Orientation", int(ps->Orientation));
    // One line of the file: carriage returns become the two characters \n, line feeds go.
    QString lines = ps->TitleLines()->Text();
    lines.remove(u'\n');
    lines.replace(u'\r', QStringLiteral("\\n"));
    ini.Text("TitleLines", lines);
    ini.Flag("PrintGraphics", ps->PrintGraphics);
    ini.Update();
}

void TExtStringGrid::LoadPrintSettings(const UnicodeString &Key, const UnicodeString &Section)
{
    TPrintSettings *ps = FPrintSettings;
    TPrintIni ini(Key, Section);
    ps->ColumnSpacing = ini.ReadInt("ColumnSpacing", 20);
    ps->RowSpacing = ini.ReadInt("RowSpacing", 20);
    ps->TitleSpacing = ini.ReadInt("TitleSpacing", 20);
    ps->FixedHeight = ini.ReadInt("FixedHeight", 0);
    ps->FixedWidth = ini.ReadInt("FixedWidth", 0);
    ps->Centered = ini.ReadFlag("Centered", "Y");
    ps->NoAutoSize = ini.ReadFlag("NoAutoSize", "N");
    ps->UseFixedHeight = ini.ReadFlag("UseFixedHeight", "N");
    ps->UseFixedWidth = ini.ReadFlag("UseFixedWidth", "N");
    ps->RepeatFixedRows = ini.ReadFlag("RepeatFixedRows", "N");
    ps->RepeatFixedCols = ini.ReadFlag("RepeatFixedCols", "N");
    ps->UseDisplayFont = ini.ReadFlag("UseDisplFont", "N");
    ps->UseDefaultOrientation = ini.ReadFlag("UseDefOrientation", "N");
    ps->DateFormat = ini.ReadText("DateFormat");
    ps->TitleText = ini.ReadText("TitleText");
    ps->FooterSize = ini.ReadInt("FooterSize", 100);
    ps->HeaderSize = ini.ReadInt("HeaderSize", 100);
    ps->LeftSize = ini.ReadInt("LeftSize", 100);
    ps->RightSize = ini.ReadInt("RightSize", 100);
    ps->PageNumSep = ini.ReadText("PageNumSep");
    ps->PageSuffix = ini.ReadText("PageSuffix");
    ps->PagePrefix = ini.ReadText("PagePrefix");
    ps->PrintGraphics = ini.ReadFlag("PrintGraphics", "N");
    ps->Borders = ini.Ordinal("Borders", ps->Borders, int(pbCustom));
    ps->BorderStyle = ini.Ordinal("BorderStyle", ps->BorderStyle, int(TPenStyle::psInsideFrame));
    ps->BorderColor = TColor(ini.ReadInt("BorderColor", 0));
    ps->Date = ini.Position("Date");
    ps->PageNr = ini.Position("PageNr");
    ps->Title = ini.Position("Title");
    ps->Time = ini.Position("Time");
    ps->FitToPage = ini.Ordinal("FitToPage", ps->FitToPage, int(fpCustom));
    ini.ReadFont("Font", ps->Font());
    ini.ReadFont("HeaderFont", ps->HeaderFont());
    ini.ReadFont("FooterFont", ps->FooterFont());
    QString lines = ini.ReadText("TitleLines");
    lines.replace(QStringLiteral("\\n"), QStringLiteral("\r"));
    ps->TitleLines()->SetText(lines);
    ps->Orientation = ini.Ordinal("Orientation", ps->Orientation, int(poLandscape));
    ini.Update();
}
