#include "core/UComon.h"

#include "core/UFabricoreFirmWare.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/SerialPorts.h"
#include "platform/SysUtils.h"

UnicodeString Name_Active_Conf;
UnicodeString Path_Active_Conf;
UnicodeString Path_Projects;
UnicodeString Path_Exe;
UnicodeString Path_Master;
UnicodeString Path_Language;
UnicodeString Caption_Main;
UnicodeString SW_Code;
UnicodeString SW_Desc;
UnicodeString Last_IP_Address;
int Update_Type = 0;
bool Update_Read_Back = false;
UnicodeString Language_Name;
bool Opt_Internet = false;
bool Opt_Check_Update = false;
bool Opt_Jump_Field = false;
bool Opt_AutoSize_Col = false;
std::unique_ptr<TStringList> SL_Copy_Row;
UnicodeString File_CAN_Rec_Frames;
UnicodeString File_ParGen;
UnicodeString File_EtherNetIP_Master_Rules;
UnicodeString File_SNMP_Trap;
UnicodeString File_CAN_Send_Frames;
UnicodeString File_BACnet_Slave_SetAccess;
UnicodeString File_KNX_SetAccess;
UnicodeString File_MQTT_Set_Topic;
UnicodeString File_PDO_CANopen;
UnicodeString File_SDO_Client_CANopen;
UnicodeString File_SDO_Server_CANopen;
std::unique_ptr<TStringList> SL_MIB_Desc_Read;
std::unique_ptr<TStringList> SL_MIB_Desc_Write;

void Set_Program_Paths(const UnicodeString &Exe_Folder)
{
    Path_Exe = Exe_Folder;
    Path_Master = Path_Exe + QStringLiteral("\\MASTER");
    Path_Projects = Path_Exe + QStringLiteral("\\PROJECTS");
    Path_Language = Path_Exe + QStringLiteral("\\LANGUAGE");
}

void Set_Identity_Texts()
{
    Caption_Main = Const_Caption_Main;
    SW_Code = Const_SW_Code;
    SW_Desc = Const_SW_Desc;
}

void Create_Common_Lists()
{
    SL_Copy_Row = std::make_unique<TStringList>();
    SL_MIB_Desc_Read = std::make_unique<TStringList>();
    SL_MIB_Desc_Write = std::make_unique<TStringList>();
}

QStringList Find_File_Names(const UnicodeString &Pattern, int Attr,
                            const std::function<bool(const TSearchRec &)> &Accept)
{
    QStringList Names;
    TSearchRec F;
    if (FindFirst(Pattern, Attr, F) == 0) {
        do {
            if (Accept(F))
                Names.append(F.Name);
        } while (FindNext(F) == 0);
        FindClose(F);
    }
    return Names;
}

namespace {

bool In_Range(int Value, int Low, int High)
{
    return Value >= Low && Value <= High;
}

// Splits S at its first Sep: Head takes the part before it, S the rest after it.
// Without Sep, Head is empty and S stays.
void Split_First(UnicodeString &S, QChar Sep, UnicodeString &Head)
{
    const qsizetype p = S.indexOf(Sep);
    if (p < 0) {
        Head.clear();
        return;
    }
    Head = S.left(p);
    S = S.mid(p + 1);
}

} // namespace

bool Check_IP_Address(const UnicodeString &Text, UnicodeString &IP1, UnicodeString &IP2,
                      UnicodeString &IP3, UnicodeString &IP4)
{
    IP1.clear();
    IP2.clear();
    IP3.clear();
    IP4.clear();
    UnicodeString t = Trim(Text);
    UnicodeString *Parts[3] = {&IP1, &IP2, &IP3};
    for (UnicodeString *Part : Parts) {
        if (!t.contains(QLatin1Char('.')))
            return false;
        UnicodeString Head;
        Split_First(t, QLatin1Char('.'), Head);
        *Part = Trim(Head);
        t = Trim(t);
    }
    IP4 = t;
    for (const UnicodeString *Part : {&IP1, &IP2, &IP3, &IP4})
        if (!In_Range(StrToIntDef(*Part, 1000), 0, 255))
            return false;
    return true;
}

bool Conv_IP_Address(const UnicodeString &Text, Byte &B1, Byte &B2, Byte &B3, Byte &B4)
{
    if (Text.isEmpty())
        return true;
    bool Error = false;
    UnicodeString Rest = Text;
    Byte *Bytes[4] = {&B1, &B2, &B3, &B4};
    for (int i = 0; i < 4; ++i) {
        UnicodeString Part;
        if (i < 3) {
            const qsizetype p = Rest.indexOf(QLatin1Char('.'));
            Part = p < 0 ? UnicodeString() : Rest.left(p);
        } else {
            Part = Rest;
        }
        const int Value = StrToIntDef(Part, -1);
        if (In_Range(Value, 0, 255)) {
            *Bytes[i] = static_cast<Byte>(Value);
        } else {
            *Bytes[i] = 0;
            Error = true;
        }
        const qsizetype p = Rest.indexOf(QLatin1Char('.'));
        if (p >= 0)
            Rest = Rest.mid(p + 1);
    }
    return Error;
}

bool Is_Not_Dotted(const UnicodeString &Text)
{
    return !Text.contains(QLatin1Char('.'));
}

int Check_KNX_Address(const UnicodeString &Text, bool Is_Group, bool Allow_Zero)
{
    const QChar Sep = Is_Group ? QLatin1Char('/') : QLatin1Char('.');
    const QChar Foreign = Is_Group ? QLatin1Char('.') : QLatin1Char('/');
    if (Text.contains(Foreign))
        return 1;
    if (!Text.contains(Sep)) {
        const int Value = StrToIntDef(Trim(Text), -1);
        return In_Range(Value, 1, 65535) ? 0 : 1;
    }
    UnicodeString Rest = Text;
    UnicodeString Head;
    Split_First(Rest, Sep, Head);
    const int a = StrToIntDef(Trim(Head), -1);
    if (!Rest.contains(Sep)) {
        const int b = StrToIntDef(Trim(Rest), -1);
        bool Valid;
        if (Is_Group)
            Valid = In_Range(a, 0, 31) && In_Range(b, 0, 2047) && !(a == 0 && b == 0);
        else // the two-part individual form, as in "230.240"
            Valid = In_Range(a, 0, 255) && In_Range(b, 0, 255) && (Allow_Zero || !(a == 0 && b == 0));
        return Valid ? 0 : 1;
    }
    Split_First(Rest, Sep, Head);
    const int b = StrToIntDef(Trim(Head), -1);
    const int c = StrToIntDef(Trim(Rest), -1); // a further separator makes it no number
    bool Valid;
    if (Is_Group)
        Valid = In_Range(a, 0, 31) && In_Range(b, 0, 7) && In_Range(c, 0, 255) && !(a == 0 && b == 0 && c == 0);
    else
        Valid = In_Range(a, 0, 15) && In_Range(b, 0, 15) && In_Range(c, 0, 255) &&
                (Allow_Zero || !(a == 0 && b == 0 && c == 0));
    return Valid ? 0 : 1;
}

std::unique_ptr<TStringList> Find_ComPorts()
{
    // The numbers a system of the NT family tries.
    constexpr int Max_Com_Port = 256;
    auto Ports = std::make_unique<TStringList>();
    for (int n = 1; n <= Max_Com_Port; ++n)
        if (ComPortExists(n))
            Ports->Add(IntToStr(n));
    return Ports;
}

namespace {

// Columns 1 to the returned count - 1 are the row's data, hidden ones included.
int All_Columns(TExtColumnGrid *Grid)
{
    return Grid->ColCount() + Grid->NumHiddenColumns();
}

bool Is_Rule_Row(TExtColumnGrid *Grid, int Row)
{
    return Row >= Grid->FixedRows() && Row < Grid->RowCount();
}

void Blank_Row(TExtColumnGrid *Grid, int Row)
{
    const int N = All_Columns(Grid);
    for (int c = 1; c < N; ++c)
        Grid->SetCellEx(c, Row, UnicodeString());
}

void Copy_Texts(TExtColumnGrid *Grid, int From, int To)
{
    const int N = All_Columns(Grid);
    for (int c = 1; c < N; ++c)
        Grid->SetCellEx(c, To, Grid->GetCellEx(c, From));
}

} // namespace

TExtColumnGrid *New_Rule_Grid(TComponent *Owner, TWinControl *Parent, int Columns, int Rows, int Header_Height)
{
    auto *G = new TExtColumnGrid(Owner);
    G->SetParent(Parent);
    G->SetAlign(alClient);
    G->SetColCount(Columns);
    G->SetRowCount(Rows + 1);
    G->SetFixedRows(1);
    G->SetFixedCols(1);
    G->SetOptions(G->Options() + TGridOptions{goColSizing, goRangeSelect, goEditing});
    if (Header_Height > 0)
        G->SetRowHeights(0, Header_Height);
    G->SetShowHint(true);
    G->SetHintShowCells(true);
    return G;
}

void Set_Check_Column(TExtColumnGrid *Grid, int Col)
{
    TGridColumnItem *Item = Grid->Columns()->Items(Col);
    Item->SetEditor(edDataCheckBox);
    Item->SetAlignment(taCenter);
    Item->SetCheckTrue(QStringLiteral("Y"));
    Item->SetCheckFalse(QStringLiteral("N"));
}

void Delete_Row_Grid(int Row, TExtColumnGrid *Grid)
{
    if (!Grid || !Is_Rule_Row(Grid, Row))
        return;
    const int Last = Grid->RowCount() - 1;
    for (int r = Row; r < Last; ++r)
        Copy_Texts(Grid, r + 1, r);
    Blank_Row(Grid, Last);
}

void Insert_Row_Grid(int Row, TExtColumnGrid *Grid, bool Set_Enable)
{
    if (!Grid || !Is_Rule_Row(Grid, Row))
        return;
    for (int r = Grid->RowCount() - 2; r >= Row; --r)
        Copy_Texts(Grid, r, r + 1);
    Blank_Row(Grid, Row);
    if (Set_Enable && All_Columns(Grid) > 1)
        Grid->SetCellEx(1, Row, QStringLiteral("Y"));
}

void Copy_Row_Grid(TExtColumnGrid *Grid, int Row)
{
    if (!Grid || !SL_Copy_Row || !Is_Rule_Row(Grid, Row))
        return;
    SL_Copy_Row->Clear();
    const int N = All_Columns(Grid);
    for (int c = 1; c < N; ++c)
        SL_Copy_Row->Add(Grid->GetCellEx(c, Row));
}

void Paste_Row_Grid(TExtColumnGrid *Grid, int Row, bool Do_Copy)
{
    if (!Grid || !Is_Rule_Row(Grid, Row))
        return;
    if (!Do_Copy || !SL_Copy_Row) {
        MessageDlg(Lang_Text(1102), mtError, TMsgDlgButtons{mbOK}, 0);
        return;
    }
    const int N = All_Columns(Grid);
    if (SL_Copy_Row->Count() != N - 1) {
        MessageDlg(Lang_Text(1101), mtError, TMsgDlgButtons{mbOK}, 0);
        return;
    }
    // A check box always holds a state, so it does not make a row "used".
    bool Used = false;
    for (int c = 1; c < N && !Used; ++c) {
        const bool Check_Box = c < Grid->Columns()->Count() && Grid->Columns()->Items(c)->Editor() == edDataCheckBox;
        Used = !Check_Box && !Trim(Grid->GetCellEx(c, Row)).isEmpty();
    }
    if (Used && MessageDlg(Lang_Text(1100), mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes)
        return;
    for (int c = 1; c < N; ++c)
        Grid->SetCellEx(c, Row, SL_Copy_Row->Strings(c - 1));
}

void DblClickCell_Grid(TExtColumnGrid *Grid, int ARow, int ACol)
{
    if (Grid && Opt_AutoSize_Col && ARow == 0)
        Grid->AutoSizeCol(ACol, 0);
}

void KeyPress_Grid(TExtColumnGrid *Grid, WideChar &Key)
{
    if (!Grid || !Opt_Jump_Field || Key != 13)
        return;
    if (Grid->Col() > 0 && Grid->Row() > 0) {
        if (Grid->Col() < Grid->ColCount() - 1) {
            Grid->SetCol(Grid->Col() + 1);
        } else {
            Grid->SetCol(1);
            Grid->SetRow(Grid->Row() < Grid->RowCount() - 1 ? Grid->Row() + 1 : 1);
        }
    }
    Key = 0;
}
