#include "editors/frame/URuleEditor.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/URuleXML.h"
#include "core/USettings.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/ComCtrls.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/FileUtils.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"
#include "platform/XMLDoc.h"

namespace {

constexpr int Form_Client_Height = 337;
constexpr int Button_Width = 110;
constexpr int Button_Height = 28;
constexpr int Button_Top = 6;
// Delete, Insert, Copy and Paste Row follow OK and Cancel from the left.
constexpr int Row_Button_Lefts[4] = {252, 370, 488, 606};

TEditorType Editor_Of(TRule_Cell Kind)
{
    switch (Kind) {
    case TRule_Cell::Check:
        return edDataCheckBox;
    case TRule_Cell::List:
        return edComboList;
    case TRule_Cell::Combo:
        return edComboEdit;
    case TRule_Cell::Text:
        break;
    }
    return edNormal;
}

} // namespace

TFRuleEditor::TFRuleEditor(TComponent *AOwner, TRule_Editor_Def Def) : TFConf_Dialog(AOwner), FDef(std::move(Def))
{
    SetName(QString::fromLatin1(FDef.Name));

    TLbButton **Row_Buttons[] = {&Btn_DelRow, &Btn_InsRow, &Btn_CopyRow, &Btn_PasteRow};
    for (int i = 0; i < 4; ++i)
        *Row_Buttons[i] = New_Lb_Button(P_Button, Row_Button_Lefts[i], Button_Top, Button_Width, Button_Height);

    FGrids.resize(FDef.Grids.size());
    if (FGrids.size() > 1) {
        PageControl1 = new TPageControl(this);
        PageControl1->SetParent(this);
        PageControl1->SetAlign(alClient);
        for (std::size_t i = 0; i < FGrids.size(); ++i) {
            auto *Sheet = new TTabSheet(this);
            Sheet->SetPageControl(PageControl1);
            FGrids[i].Page = Sheet;
            Make_Grid(int(i), Sheet);
        }
        PageControl1->SetActivePageIndex(0);
    } else if (!FGrids.empty()) {
        Make_Grid(0, this);
    }

    XML1 = new TXMLDocument(this);

    Btn_OK->OnClick = [this](TObject *S) { Btn_OKClick(S); };
    Btn_DelRow->OnClick = [this](TObject *S) { Btn_DelRowClick(S); };
    Btn_InsRow->OnClick = [this](TObject *S) { Btn_InsRowClick(S); };
    Btn_CopyRow->OnClick = [this](TObject *S) { Btn_CopyRowClick(S); };
    Btn_PasteRow->OnClick = [this](TObject *S) { Btn_PasteRowClick(S); };
    OnCreate = [this](TObject *S) { FormCreate(S); };
    OnShow = [this](TObject *S) { FormShow(S); };
}

TFRuleEditor::~TFRuleEditor() = default;

void TFRuleEditor::Make_Grid(int Index, TWinControl *Parent)
{
    const TRule_Grid &D = FDef.Grids[std::size_t(Index)];
    TExtColumnGrid *G = New_Rule_Grid(this, Parent, int(D.Columns.size()), D.Rows, D.Header_Height);
    FGrids[std::size_t(Index)].Grid = G;
    if (D.Row_Height > 0) {
        // The default height applies to every row, the header row included, so the header's
        // own height goes back on afterwards.
        G->SetDefaultRowHeight(D.Row_Height);
        if (D.Header_Height > 0)
            G->SetRowHeights(0, D.Header_Height);
    }
    // The grid follows its columns once, when they are all set, rather than after each change.
    G->Columns()->BeginUpdate();
    for (std::size_t c = 0; c < D.Columns.size(); ++c) {
        const TRule_Column &C = D.Columns[c];
        TGridColumnItem *Item = G->Columns()->Items(int(c));
        Item->SetWidth(C.Width);
        Item->SetColor(C.Color);
        Item->SetEditor(Editor_Of(C.Kind));
        if (C.Kind == TRule_Cell::Check)
            Set_Check_Column(G, int(c));
        for (const QString &Text : C.Items)
            Item->ComboItems()->Add(Text);
    }
    G->Columns()->EndUpdate();
    G->OnGridHint = [this](TObject *S, int ARow, int ACol, UnicodeString &HintStr) { GridHint(S, ARow, ACol, HintStr); };
    G->OnKeyPress = [this](TObject *S, WideChar &Key) { KeyPress(S, Key); };
    G->OnDblClickCell = [this](TObject *S, int ARow, int ACol) { DblClickCell(S, ARow, ACol); };
    G->OnClickCell = [this](TObject *S, int ARow, int ACol) { ClickCell(S, ARow, ACol); };
}

TExtColumnGrid *TFRuleEditor::Grid(int Index) const
{
    return FGrids[std::size_t(Index)].Grid;
}

TTabSheet *TFRuleEditor::Page(int Index) const
{
    return FGrids[std::size_t(Index)].Page;
}

TStringList *TFRuleEditor::Hint_List(int Index) const
{
    return FGrids[std::size_t(Index)].Hint.get();
}

bool TFRuleEditor::Copy_Flag(int Index) const
{
    return FGrids[std::size_t(Index)].Do_Copy;
}

int TFRuleEditor::Active_Index() const
{
    if (!PageControl1)
        return 0;
    const int Index = PageControl1->ActivePageIndex();
    return Index >= 0 && Index < Grid_Count() ? Index : 0;
}

int TFRuleEditor::Index_Of(TObject *Sender) const
{
    for (int i = 0; i < Grid_Count(); ++i)
        if (Grid(i) == Sender)
            return i;
    return Active_Index();
}

UnicodeString TFRuleEditor::Cell(int Grid_Index, int Col, int Row) const
{
    return Grid(Grid_Index)->GetCellEx(Col, Row);
}

int TFRuleEditor::Cell_Int(int Grid_Index, int Col, int Row) const
{
    return StrToIntDef(Cell(Grid_Index, Col, Row), -1);
}

bool TFRuleEditor::Row_Used(int Grid_Index, int Row) const
{
    return !Trim(Cell(Grid_Index, FDef.Grids[std::size_t(Grid_Index)].Key_Col, Row)).isEmpty();
}

void TFRuleEditor::Fill_Number_Items(TExtColumnGrid *Grid, int Col, int Count)
{
    TStringList *Items = Grid->Columns()->Items(Col)->ComboItems();
    Items->BeginUpdate();
    Items->Clear();
    for (int i = 0; i < Count; ++i)
        Items->Add(IntToStr(i));
    Items->EndUpdate();
}

bool TFRuleEditor::Row_Enabled(int Grid_Index, int Row) const
{
    UnicodeString Text = Trim(Cell(Grid_Index, 1, Row));
    if (FDef.Enable_Upper_Case)
        Text = UpperCase(Text);
    return Text == QLatin1String("Y");
}

void TFRuleEditor::FormCreate(TObject *Sender)
{
    L_SW_Code->SetCaption(SW_Code);
    SetClientSize(FDef.Client_Width, Form_Client_Height);
    for (TGrid_State &S : FGrids)
        S.Hint = std::make_unique<TStringList>();
    Create_Set_Up();
    Set_Lang();
}

void TFRuleEditor::Fill_Hint_Lists()
{
    for (std::size_t g = 0; g < FGrids.size(); ++g) {
        TStringList *Hint = FGrids[g].Hint.get();
        if (!Hint)
            continue;
        Hint->Clear();
        const std::vector<TRule_Column> &Columns = FDef.Grids[g].Columns;
        for (std::size_t c = 1; c < Columns.size(); ++c)
            Hint->Add(Lang_Text(Columns[c].Hint));
    }
}

void TFRuleEditor::Set_Lang()
{
    const int b = FDef.Text_Base;
    SetCaption(Lang_Text(b));
    L_SW_Desc->SetCaption(Lang_Text(b + 1));
    TLbButton *const Buttons[] = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    for (int i = 0; i < 6; ++i) {
        Buttons[i]->SetCaption(Lang_Text(b + 2 + i));
        Buttons[i]->SetHint(Lang_Text(FDef.Button_Hints + i));
    }
    for (std::size_t g = 0; g < FGrids.size(); ++g) {
        TExtColumnGrid *G = FGrids[g].Grid;
        const std::vector<TRule_Column> &Columns = FDef.Grids[g].Columns;
        if (FDef.Headers_In_Cells) {
            for (std::size_t c = 0; c < Columns.size(); ++c)
                G->SetCellEx(int(c), 0, Lang_Text(Columns[c].Header));
            continue;
        }
        G->Columns()->BeginUpdate();
        for (std::size_t c = 0; c < Columns.size(); ++c)
            G->Columns()->Items(int(c))->SetHeader(Lang_Text(Columns[c].Header));
        G->Columns()->EndUpdate();
    }
    Fill_Hint_Lists();
}

void TFRuleEditor::Reset_Grids()
{
    for (int g = 0; g < Grid_Count(); ++g) {
        TExtColumnGrid *G = Grid(g);
        const bool Has_Enable = FDef.Grids[std::size_t(g)].Has_Enable;
        const int N = G->ColCount() + (FDef.Reset_Shown_Only ? 0 : G->NumHiddenColumns());
        for (int r = 1; r < G->RowCount(); ++r) {
            G->SetCellEx(0, r, IntToStr(r));
            for (int c = 1; c < N; ++c)
                G->SetCellEx(c, r, c == 1 && Has_Enable ? QStringLiteral("Y") : UnicodeString());
        }
    }
}

void TFRuleEditor::Clear_Copy_Flags()
{
    for (TGrid_State &S : FGrids)
        S.Do_Copy = false;
}

void TFRuleEditor::FormShow(TObject *Sender)
{
    // Every showing starts from the file, so what was typed before a cancel is gone.
    Reset_Grids();
    Set_Up_Grids();
    // Before the load, so that a load that fails cannot leave last showing's copy pasteable.
    Clear_Copy_Flags();
    if (!Load_File())
        return;
    After_Load();
    if (FDef.Focus_Grid_On_Show && Grid_Count() > 0 && Grid(0)->CanFocus())
        Grid(0)->SetFocus();
}

bool TFRuleEditor::Loaded_Cell(int Grid_Index, int Col, int Row, bool Present, UnicodeString &Text)
{
    if (Present)
        return true;
    const char *Default = FDef.Grids[std::size_t(Grid_Index)].Columns[std::size_t(Col)].Load_Default;
    if (!Default)
        return false;
    Text = QString::fromLatin1(Default);
    return true;
}

void TFRuleEditor::Read_Rows(int Index, const TXMLNode &Parent)
{
    TExtColumnGrid *G = Grid(Index);
    const std::vector<TRule_Column> &Columns = FDef.Grids[std::size_t(Index)].Columns;
    const TXMLNodeList Nodes = Parent.ChildNodes();
    int Row = 1;
    // Rows beyond the grid's have no place in it.
    for (int i = 0; i < Nodes.Count() && Row < G->RowCount(); ++i) {
        const TXMLNode Node = Nodes.Nodes(i);
        if (Node.NodeType() != ntElement)
            continue;
        for (std::size_t c = 1; c < Columns.size(); ++c) {
            const TRule_Column &C = Columns[c];
            const UnicodeString Name = QString::fromLatin1(C.Attribute);
            const bool Present = Node.HasAttribute(Name);
            if (!Present && !C.Guarded)
                throw EConvertError(QStringLiteral("Attribute \"%1\" not found in row %2 of \"%3\"")
                                        .arg(Name, IntToStr(Row), *FDef.File));
            UnicodeString Text = Present ? Node.Attributes(Name) : UnicodeString();
            if (Loaded_Cell(Index, int(c), Row, Present, Text))
                G->SetCellEx(int(c), Row, Text);
        }
        ++Row;
    }
}

bool TFRuleEditor::Load_File()
{
    if (Path_Active_Conf.isEmpty() || !FDef.File || !FileExists(*FDef.File))
        return true;
    try {
        XML1->SetActive(true);
        XML1->LoadFromFile(*FDef.File);
    } catch (...) {
        // A damaged file is reported once and shows as no file: confirming replaces it with a
        // good one, cancelling leaves it as it is.
        Reset_Grids();
        Application->HandleException(this);
        return true;
    }
    try {
        const TXMLNode Root = Document_Root(XML1);
        for (int g = 0; g < Grid_Count() && Root; ++g) {
            const UnicodeString &Section = FDef.Grids[std::size_t(g)].Section;
            const TXMLNode Parent = Section.isEmpty() ? Root : Find_Rule_Section(Root, Section);
            if (Parent)
                Read_Rows(g, Parent);
        }
    } catch (...) {
        // The rows read so far stay; the user sees which attribute the file lacks.
        Application->HandleException(this);
        return false;
    }
    return true;
}

bool TFRuleEditor::Controllo_dati()
{
    for (int g = 0; g < Grid_Count(); ++g) {
        const bool Has_Enable = FDef.Grids[std::size_t(g)].Has_Enable;
        for (int r = 1; r < Grid(g)->RowCount(); ++r) {
            // A row without its key is not stored, so it is not checked either; the rows below
            // it still are.
            if (!Row_Used(g, r) || (Has_Enable && !Row_Enabled(g, r)))
                continue;
            UnicodeString Failure;
            if (!Check_Row(g, r, Failure)) {
                MessageDlg(Lang_Text(FDef.Row_Prefix) + IntToStr(r) + Failure, mtError, TMsgDlgButtons{mbOK}, 0);
                return false;
            }
        }
    }
    return Check_Rules();
}

void TFRuleEditor::Save_File()
{
    // Without an open configuration the path would name a file at the root of the disk.
    if (Path_Active_Conf.isEmpty() || !FDef.File)
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". No configuration is open")
                                .arg(FDef.File ? *FDef.File : UnicodeString()));
    const TXMLNode Root = New_Rule_XML(XML1, FDef.Root, FDef.Version_Comment ? Rule_File_Version : UnicodeString());
    for (int g = 0; g < Grid_Count(); ++g) {
        const TRule_Grid &D = FDef.Grids[std::size_t(g)];
        const TXMLNode Parent = D.Section.isEmpty() ? Root : Root.AddChild(D.Section);
        std::vector<const char *> Names;
        for (std::size_t c = 1; c < D.Columns.size(); ++c)
            Names.push_back(D.Columns[c].Attribute);
        std::vector<UnicodeString> Values(Names.size());
        for (int r = 1; r < Grid(g)->RowCount(); ++r) {
            // Skipping a row without its key, rather than stopping there, keeps the rules typed
            // below it; they move up at the next showing.
            if (!Row_Used(g, r))
                continue;
            for (std::size_t k = 0; k < Values.size(); ++k)
                Values[k] = Cell(g, int(k) + 1, r);
            Add_Rule_Row(Parent, Names.data(), Values.data(), int(Values.size()));
        }
    }
    XML1->SaveToFile(*FDef.File);
}

void TFRuleEditor::Btn_OKClick(TObject *Sender)
{
    if (!Controllo_dati())
        return;
    try {
        Save_File();
    } catch (...) {
        // The old file is intact and the rules are still in the grid: the user can try again.
        Application->HandleException(this);
        return;
    }
    SetModalResult(mrOk);
}

void TFRuleEditor::Delete_Row(int Num_Row, TExtColumnGrid *Grid)
{
    if (!Grid || Num_Row < 1 || Num_Row >= Grid->RowCount())
        return;
    const int Last = Grid->RowCount() - 1;
    const int N = Grid->ColCount();
    for (int r = Num_Row; r < Last; ++r)
        for (int c = 1; c < N; ++c)
            Grid->SetCellEx(c, r, Grid->GetCellEx(c, r + 1));
    for (int c = 1; c < N; ++c)
        Grid->SetCellEx(c, Last, UnicodeString());
}

void TFRuleEditor::Btn_DelRowClick(TObject *Sender)
{
    TExtColumnGrid *G = Active_Grid();
    const int Row = G->Row();
    if (MessageDlg(Lang_Text(FDef.Delete_Text) + IntToStr(Row), mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes)
        return;
    if (FDef.Delete_Shown_Only)
        Delete_Row(Row, G);
    else
        Delete_Row_Grid(Row, G);
}

void TFRuleEditor::Btn_InsRowClick(TObject *Sender)
{
    const int g = Active_Index();
    Insert_Row_Grid(Grid(g)->Row(), Grid(g), FDef.Grids[std::size_t(g)].Has_Enable);
}

void TFRuleEditor::Btn_CopyRowClick(TObject *Sender)
{
    const int g = Active_Index();
    Copy_Row_Grid(Grid(g), Grid(g)->Row());
    for (int i = 0; i < Grid_Count(); ++i)
        FGrids[std::size_t(i)].Do_Copy = i == g;
}

void TFRuleEditor::Btn_PasteRowClick(TObject *Sender)
{
    const int g = Active_Index();
    Paste_Row_Grid(Grid(g), Grid(g)->Row(), Copy_Flag(g));
}

void TFRuleEditor::GridHint(TObject *Sender, int ARow, int ACol, UnicodeString &HintStr)
{
    if (FDef.Hint_Mode == THint_Mode::None)
        return;
    const int g = FDef.Hint_By_Page ? Active_Index() : Index_Of(Sender);
    const int k = FDef.Hint_Mode == THint_Mode::Real_Column ? Grid(Index_Of(Sender))->RealColIndex(ACol) : ACol;
    TStringList *Hint = Hint_List(g);
    if (ARow == 0 && k >= 1) {
        HintStr = Hint && k - 1 < Hint->Count() ? Hint->Strings(k - 1) : UnicodeString();
    } else if (!FDef.Hint_Kept_Outside) {
        HintStr.clear();
    }
}

void TFRuleEditor::KeyPress(TObject *Sender, WideChar &Key)
{
    KeyPress_Grid(Grid(Index_Of(Sender)), Key);
}

void TFRuleEditor::DblClickCell(TObject *Sender, int ARow, int ACol)
{
    DblClickCell_Grid(Grid(Index_Of(Sender)), ARow, ACol);
}

void TFRuleEditor::ClickCell(TObject *Sender, int ARow, int ACol)
{
    TExtColumnGrid *G = Grid(Index_Of(Sender));
    if (FDef.Click_Selects_Row && ACol == 0 && ARow >= 1 && ARow < G->RowCount())
        G->SelectRows(ARow, 1);
}
