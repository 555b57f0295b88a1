#include "editors/bacnet/UBACnetSlaveSetAccess.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/URuleXML.h"
#include "core/USettings.h"
#include "editors/UDescription_File.h"
#include "editors/bacnet/UBACnet_Eng_Unit.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/ComCtrls.h"
#include "platform/Dialogs.h"
#include "platform/FileUtils.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"
#include "platform/XMLDoc.h"

TFBACnetSlaveSetAccess *FBACnetSlaveSetAccess = nullptr;

namespace {

// The most objects of each list; half as many with the longer names.
constexpr int BACnet_Rows = 2000;
constexpr int BACnet_Short_Rows = 1000;
constexpr int BACnet_NByte = 1550;

enum : int {
    Col_Data_Type = 1,
    Col_Eng_Unit = 2,
    Col_Position = 3,
    Col_Bit = 4,
    Col_Length = 5,
    Col_Swap = 6,
    Col_Mnemonic = 7,
};

const QStringList Read_Types = {"Analog Input",      "Analog Value",      "Binary Input",      "Binary Value",
                                "Positive Integer Value", "Large Analog Value", "Integer Value", "Multi State Input",
                                "Multi State Value", "Life Safety Point", "Life Safety Zone",  "Access Door",
                                "Accumulator"};
const QStringList Write_Types = {"Analog Out",    "Analog Value",       "Binary Out",
                                 "Binary Value",  "Positive Integer Value", "Large Analog Value",
                                 "Integer Value", "Multi State Output", "Multi State Value",
                                 "Access Door"};

struct TLength_Rule {
    const char *Type;
    int Low, High;
    int Text;
};
// A type of its list not named here takes any length.
constexpr TLength_Rule Read_Lengths[] = {
    {"Analog Input", 1, 4, 1535},      {"Positive Integer Value", 1, 4, 1536}, {"Large Analog Value", 1, 8, 1537},
    {"Analog Value", 1, 4, 1538},      {"Multi State Input", 1, 4, 1539},      {"Multi State Value", 1, 4, 1540},
    {"Life Safety Point", 1, 2, 1541}, {"Life Safety Zone", 1, 2, 1542},       {"Access Door", 1, 1, 1543},
    {"Accumulator", 1, 4, 1544},
};
constexpr TLength_Rule Write_Lengths[] = {
    {"Analog Out", 1, 4, 1549},         {"Analog Value", 1, 4, 1550},       {"Positive Integer Value", 1, 4, 1551},
    {"Large Analog Value", 1, 8, 1552}, {"Integer Value", 1, 4, 1553},      {"Multi State Output", 1, 4, 1554},
    {"Multi State Value", 1, 4, 1555},  {"Access Door", 1, 1, 1556},
};

struct TGrid_Texts {
    int Eng_Unit, Position, Bit, Budget;
    const char *Binary[2];
};
constexpr TGrid_Texts Grid_Texts[2] = {
    {1533, 1534, 1545, 1546, {"Binary Input", "Binary Value"}},
    {1547, 1548, 1557, 1558, {"Binary Out", "Binary Value"}},
};

std::vector<TRule_Column> BACnet_Columns(int Header, const QStringList &Types)
{
    const auto Column = [](int H, const char *Attribute, TRule_Cell Kind, int Width, TColor Color) {
        return TRule_Column{.Header = H, .Attribute = Attribute, .Kind = Kind, .Width = Width, .Color = Color,
                            .Guarded = false};
    };
    const TColor Data = Rule_Color_Data;
    std::vector<TRule_Column> C = {
        {.Header = Header, .Width = 40},
        Column(Header + 1, "Data_Type", TRule_Cell::List, 150, Rule_Color_Address),
        Column(Header + 2, "Eng_Unit", TRule_Cell::Text, 100, Rule_Color_Address),
        Column(Header + 3, "Position", TRule_Cell::List, 64, Data),
        Column(Header + 4, "Bit", TRule_Cell::List, 64, Data),
        Column(Header + 5, "Length", TRule_Cell::Text, 64, Data),
        Column(Header + 6, "Swap", TRule_Cell::Check, 40, Rule_Color_Format),
        Column(Header + 7, "Mnemonic", TRule_Cell::Text, 250, clWhite),
    };
    C[Col_Data_Type].Items = Types;
    C[Col_Bit].Items = {"0", "1", "2", "3", "4", "5", "6", "7"};
    C[Col_Swap].Guarded = true;
    C[Col_Swap].Load_Default = "N";
    return C;
}

TRule_Editor_Def BACnet_Def()
{
    TRule_Editor_Def D;
    D.Name = "FBACnetSlaveSetAccess";
    D.Client_Width = 764;
    D.Text_Base = 1500;
    D.Button_Hints = 1510;
    D.Row_Prefix = 1532;
    D.Delete_Text = 1560;
    D.File = &File_BACnet_Slave_SetAccess;
    D.Root = QStringLiteral("BACnet_to_Modbus");
    const char *const Sections[2] = {"BACnet_in_Read", "BACnet_in_Write"};
    for (int g = 0; g < 2; ++g) {
        TRule_Grid G;
        G.Columns = BACnet_Columns(g == 0 ? 1516 : 1524, g == 0 ? Read_Types : Write_Types);
        G.Rows = BACnet_Rows;
        G.Key_Col = Col_Data_Type;
        G.Has_Enable = false;
        G.Section = QString::fromLatin1(Sections[g]);
        D.Grids.push_back(std::move(G));
    }
    D.Headers_In_Cells = true;
    D.Hint_Mode = THint_Mode::None;
    D.Click_Selects_Row = true;
    return D;
}

} // namespace

TFBACnetSlaveSetAccess::TFBACnetSlaveSetAccess(TComponent *AOwner) : TFRuleEditor(AOwner, BACnet_Def())
{
    ACG_BACnet_in_Read = Grid(0);
    ACG_BACnet_in_Write = Grid(1);
    ACG_BACnet_in_Read->SetName(QStringLiteral("ACG_BACnet_in_Read"));
    ACG_BACnet_in_Write->SetName(QStringLiteral("ACG_BACnet_in_Write"));
    TS_BACnet_in_Read = Page(0);
    TS_BACnet_in_Write = Page(1);
    TS_BACnet_in_Read->SetName(QStringLiteral("TS_BACnet_in_Read"));
    TS_BACnet_in_Write->SetName(QStringLiteral("TS_BACnet_in_Write"));
    ACG_BACnet_in_Read->OnDblClickCell = [this](TObject *S, int ARow, int ACol) {
        ACG_BACnet_in_ReadDblClickCell(S, ARow, ACol);
    };
    ACG_BACnet_in_Write->OnDblClickCell = [this](TObject *S, int ARow, int ACol) {
        ACG_BACnet_in_WriteDblClickCell(S, ARow, ACol);
    };
    ACG_BACnet_in_Write->OnComboChange = [this](TObject *S, int ACol, int ARow, int AItemIndex,
                                                const UnicodeString &ASelection) {
        ACG_BACnet_in_WriteComboChange(S, ACol, ARow, AItemIndex, ASelection);
    };
}

int TFBACnetSlaveSetAccess::Object_Limit() const
{
    return Desc_Lenght ? BACnet_Short_Rows : BACnet_Rows;
}

void TFBACnetSlaveSetAccess::Create_Set_Up()
{
    ACG_BACnet_in_Read->HideColumn(Col_Swap);
    ACG_BACnet_in_Write->HideColumn(Col_Swap);
}

void TFBACnetSlaveSetAccess::Set_Lang()
{
    TFRuleEditor::Set_Lang();
    TS_BACnet_in_Read->SetCaption(Lang_Text(1508));
    TS_BACnet_in_Write->SetCaption(Lang_Text(1509));
}

void TFBACnetSlaveSetAccess::Read_ParGen()
{
    Desc_Lenght = false;
    if (!FileExists(File_ParGen))
        return;
    try {
        UnicodeString Text;
        const TXMLNode Root = Load_Config_XML(XML1, File_ParGen);
        Desc_Lenght = Read_Child_Text(Root, QStringLiteral("BACnet_Desc_Chars_Limit"), Text) && Text == QLatin1String("1");
    } catch (...) {
        // A ParGen.xml that cannot be read gives the usual object names, unannounced.
        Desc_Lenght = false;
    }
}

void TFBACnetSlaveSetAccess::Set_Up_Grids()
{
    PageControl1->SetActivePageIndex(1);
    PageControl1->SetActivePageIndex(0);
    NByte_IN = BACnet_NByte;
    NByte_OUT = BACnet_NByte;
    const int Sizes[2] = {NByte_IN, NByte_OUT};
    Read_ParGen();
    const int Rows = Object_Limit() + 1;
    for (int g = 0; g < 2; ++g) {
        TExtColumnGrid *G = Grid(g);
        TStringList *Items = G->Columns()->Items(Col_Position)->ComboItems();
        Items->BeginUpdate();
        Items->Clear();
        for (int i = 0; i < Sizes[g]; ++i)
            Items->Add(IntToStr(i));
        Items->EndUpdate();
        // The cells keep their texts beyond the row count: rows that a shorter grid hid at the
        // last showing are reset here before they show again.
        const int Old_Rows = G->RowCount();
        if (Old_Rows < BACnet_Rows + 1) {
            G->SetRowCount(BACnet_Rows + 1);
            const int N = G->ColCount() + G->NumHiddenColumns();
            for (int r = Old_Rows; r <= BACnet_Rows; ++r) {
                G->SetCellEx(0, r, IntToStr(r));
                for (int c = 1; c < N; ++c)
                    G->SetCellEx(c, r, UnicodeString());
            }
        }
        G->SetRowCount(Rows);
    }
}

void TFBACnetSlaveSetAccess::After_Load()
{
    // A list saved without the limit and read with it has objects the grid cannot show: the
    // user learns that confirming would drop them.
    if (!Desc_Lenght || !FileExists(File_BACnet_Slave_SetAccess))
        return;
    const TXMLNode Root = Document_Root(XML1);
    if (!Root)
        return;
    for (int g = 0; g < 2; ++g) {
        const TXMLNode Section = Find_Rule_Section(Root, Def().Grids[std::size_t(g)].Section);
        if (!Section)
            continue;
        const TXMLNodeList Nodes = Section.ChildNodes();
        int Elements = 0;
        for (int i = 0; i < Nodes.Count(); ++i)
            if (Nodes.Nodes(i).NodeType() == ntElement)
                ++Elements;
        if (Elements > Object_Limit()) {
            MessageDlg(Lang_Text(1559) + IntToStr(Object_Limit()), mtError, TMsgDlgButtons{mbOK}, 0);
            return;
        }
    }
}

bool TFBACnetSlaveSetAccess::Check_Row(int Grid_Index, int Row, UnicodeString &Failure)
{
    const auto Fail = [&Failure](const UnicodeString &Text) {
        Failure = Text;
        return false;
    };
    const TGrid_Texts &T = Grid_Texts[Grid_Index];
    const int Size = Grid_Index == 0 ? NByte_IN : NByte_OUT;
    const int Eng_Unit = Cell_Int(Grid_Index, Col_Eng_Unit, Row);
    if (Eng_Unit < 0 || Eng_Unit > 65535)
        return Fail(Lang_Text(T.Eng_Unit));
    const int Position = Cell_Int(Grid_Index, Col_Position, Row);
    if (Position < 0 || Position >= Size)
        return Fail(Lang_Text(T.Position) + IntToStr(Size - 1));
    const UnicodeString Type = Cell(Grid_Index, Col_Data_Type, Row);
    // A sum of two cell numbers can leave the 32 bits.
    qint64 Last = Position;
    if (Type == QLatin1String(T.Binary[0]) || Type == QLatin1String(T.Binary[1])) {
        if (Cell(Grid_Index, Col_Bit, Row).isEmpty())
            return Fail(Lang_Text(T.Bit));
    } else {
        const int Length = StrToIntDef(Cell(Grid_Index, Col_Length, Row), 0);
        const auto Check = [&](const auto &Rules) {
            for (const TLength_Rule &R : Rules)
                if (Type == QLatin1String(R.Type))
                    return Length >= R.Low && Length <= R.High ? 0 : R.Text;
            return 0;
        };
        const int Text = Grid_Index == 0 ? Check(Read_Lengths) : Check(Write_Lengths);
        if (Text != 0)
            return Fail(Lang_Text(Text));
        Last = qint64(Position) + Length - 1;
    }
    if (Last >= Size)
        return Fail(Lang_Text(T.Budget));
    return true;
}

bool TFBACnetSlaveSetAccess::Check_Rules()
{
    int Used = 0;
    for (int g = 0; g < 2; ++g)
        for (int r = 1; r < Grid(g)->RowCount(); ++r)
            if (Row_Used(g, r))
                ++Used;
    if (Used <= Object_Limit())
        return true;
    MessageDlg(Lang_Text(1559) + IntToStr(Object_Limit()), mtError, TMsgDlgButtons{mbOK}, 0);
    return false;
}

void TFBACnetSlaveSetAccess::Eng_Unit_DblClick(TObject *Sender, int ARow, int ACol)
{
    auto *G = static_cast<TExtColumnGrid *>(Sender);
    if (ACol == Col_Eng_Unit && FBACnet_Eng_Unit) {
        const UnicodeString Text = G->GetCellEx(ACol, ARow);
        FBACnet_Eng_Unit->E_Selected_EU->SetText(Text);
        FBACnet_Eng_Unit->Show_Unit_Name(Text);
        if (FBACnet_Eng_Unit->ShowModal() == mrOk)
            G->SetCellEx(ACol, ARow, FBACnet_Eng_Unit->E_Selected_EU->Text());
    }
    DblClickCell(Sender, ARow, ACol);
}

void TFBACnetSlaveSetAccess::ACG_BACnet_in_ReadDblClickCell(TObject *Sender, int ARow, int ACol)
{
    Eng_Unit_DblClick(Sender, ARow, ACol);
}

void TFBACnetSlaveSetAccess::ACG_BACnet_in_WriteDblClickCell(TObject *Sender, int ARow, int ACol)
{
    Eng_Unit_DblClick(Sender, ARow, ACol);
}

void TFBACnetSlaveSetAccess::ACG_BACnet_in_WriteComboChange(TObject *Sender, int ACol, int ARow, int AItemIndex,
                                                            const UnicodeString &ASelection)
{
    if (ACol != Col_Data_Type)
        return;
    const UnicodeString Type = UpperCase(ASelection);
    static const QStringList Four = {"ANALOG OUT",    "ANALOG VALUE",       "POSITIVE INTEGER VALUE",
                                     "INTEGER VALUE", "MULTI STATE OUTPUT", "MULTI STATE VALUE"};
    static const QStringList One = {"BINARY OUT", "BINARY VALUE", "ACCESS DOOR"};
    UnicodeString Length;
    if (Four.contains(Type))
        Length = QStringLiteral("4");
    else if (Type == QLatin1String("LARGE ANALOG VALUE"))
        Length = QStringLiteral("8");
    else if (One.contains(Type))
        Length = QStringLiteral("1");
    else
        return;
    ACG_BACnet_in_Write->SetCellEx(Col_Length, ARow, Length);
}
