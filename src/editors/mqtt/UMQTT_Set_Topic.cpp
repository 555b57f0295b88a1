#include "editors/mqtt/UMQTT_Set_Topic.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "editors/mqtt/UTopicTemplate.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/ComCtrls.h"
#include "platform/SysUtils.h"

TFMQTT_Set_Topic *FMQTT_Set_Topic = nullptr;

namespace {

constexpr int MQTT_Rows = 1024;
constexpr int MQTT_Max_Position = 1439;

enum : int {
    Col_Topic = 1,
    Col_Data_Type = 4,
    Col_Dimension = 5,
    Col_Position = 6,
    Col_Pub_Template = 9,
    Col_Sub_Template = 11,
};

TRule_Editor_Def MQTT_Def()
{
    const TRule_Cell Check = TRule_Cell::Check;
    const TRule_Cell List = TRule_Cell::List;
    const TColor Number = TColor(11589887);
    const TColor Topic = TColor(16710368);
    const TColor Delivery = TColor(16766421);
    const TColor Value = TColor(11075496);
    const TColor Place = TColor(16045820);
    const TColor Template = TColor(11075583);
    const QStringList QoS = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
    const QStringList Types = {QStringLiteral("Int"), QStringLiteral("Float"), QStringLiteral("String"),
                               QStringLiteral("Base64")};
    const QStringList Keyword = {QStringLiteral("$VALUE$")};

    TRule_Grid Pub;
    Pub.Columns = {
        {.Header = 1814, .Width = 40, .Color = Number},
        {.Header = 1815, .Hint = 1819, .Attribute = "Topic", .Width = 300, .Color = Topic, .Guarded = false},
        {.Header = 1816, .Hint = 1820, .Attribute = "Retained", .Kind = Check, .Width = 60, .Color = Delivery,
         .Guarded = false},
        {.Header = 1817, .Hint = 1821, .Attribute = "QoS", .Kind = List, .Width = 80, .Color = Delivery, .Items = QoS,
         .Guarded = false},
        {.Header = 1837, .Hint = 1840, .Attribute = "DataType", .Kind = List, .Width = 80, .Color = Value,
         .Items = Types},
        {.Header = 1838, .Hint = 1841, .Attribute = "Dimension", .Width = 80, .Color = Value},
        {.Header = 1839, .Hint = 1842, .Attribute = "Position", .Width = 80, .Color = Place},
        {.Header = 1862, .Hint = 1864, .Attribute = "IPAddress", .Width = 100, .Color = Value},
        {.Header = 1863, .Hint = 1865, .Attribute = "InputTemplate", .Width = 120, .Color = Value},
        {.Header = 1835, .Hint = 1836, .Attribute = "Template", .Kind = TRule_Cell::Combo, .Width = 130,
         .Color = Template, .Items = Keyword},
        {.Header = 1881, .Hint = 1882, .Attribute = "OnChange", .Kind = Check, .Width = 75, .Color = Number,
         .Load_Default = "N"},
        {.Header = 1818, .Hint = 1822, .Attribute = "Mnemonic", .Width = 220, .Color = clWhite, .Guarded = false},
    };
    Pub.Rows = MQTT_Rows;
    Pub.Key_Col = Col_Topic;
    Pub.Has_Enable = false;
    Pub.Section = QStringLiteral("MQTT_Publish");

    TRule_Grid Sub;
    Sub.Columns = {
        {.Header = 1824, .Width = 40, .Color = Number},
        {.Header = 1825, .Hint = 1829, .Attribute = "Topic", .Width = 300, .Color = Topic, .Guarded = false},
        {.Header = 1826, .Hint = 1830, .Attribute = "Retained", .Kind = Check, .Width = 60, .Color = Delivery,
         .Guarded = false},
        {.Header = 1827, .Hint = 1831, .Attribute = "QoS", .Kind = List, .Width = 80, .Color = Delivery, .Items = QoS,
         .Guarded = false},
        {.Header = 1843, .Hint = 1847, .Attribute = "DataType", .Kind = List, .Width = 80, .Color = Value,
         .Items = Types},
        {.Header = 1844, .Hint = 1848, .Attribute = "Dimension", .Width = 80, .Color = Value},
        {.Header = 1845, .Hint = 1849, .Attribute = "Position", .Width = 80, .Color = Place},
        {.Header = 1866, .Hint = 1870, .Attribute = "IPAddress", .Width = 100, .Color = Value},
        {.Header = 1867, .Hint = 1871, .Attribute = "Port", .Width = 50, .Color = Value},
        {.Header = 1868, .Hint = 1872, .Attribute = "EthType", .Kind = List, .Width = 64, .Color = Value,
         .Items = {QStringLiteral("TCP"), QStringLiteral("UDP")}},
        {.Header = 1869, .Hint = 1873, .Attribute = "InputTemplate", .Width = 130, .Color = Value},
        {.Header = 1846, .Hint = 1850, .Attribute = "Template", .Kind = TRule_Cell::Combo, .Width = 130,
         .Color = Template, .Items = Keyword},
        {.Header = 1828, .Hint = 1832, .Attribute = "Mnemonic", .Width = 220, .Color = clWhite, .Guarded = false},
    };
    Sub.Rows = MQTT_Rows;
    Sub.Key_Col = Col_Topic;
    Sub.Has_Enable = false;
    Sub.Section = QStringLiteral("MQTT_Subscribe");

    TRule_Editor_Def D;
    D.Name = "FMQTT_Set_Topic";
    D.Client_Width = 1100;
    D.Text_Base = 1800;
    D.Button_Hints = 1808;
    D.Row_Prefix = 1851;
    D.Delete_Text = 1823;
    D.File = &File_MQTT_Set_Topic;
    D.Root = QStringLiteral("MQTT_Set_Topic");
    D.Version_Comment = false;
    D.Grids.push_back(Pub);
    D.Grids.push_back(Sub);
    D.Hint_Kept_Outside = true;
    return D;
}

void Hide_Columns(TExtColumnGrid *Grid, std::initializer_list<int> Cols)
{
    for (int c : Cols)
        Grid->HideColumn(c);
}

void Show_Columns(TExtColumnGrid *Grid, std::initializer_list<int> Cols)
{
    for (int c : Cols)
        Grid->UnHideColumn(c);
}

} // namespace

TFMQTT_Set_Topic::TFMQTT_Set_Topic(TComponent *AOwner) : TFRuleEditor(AOwner, MQTT_Def())
{
    TS_MQTT_Publish = Page(0);
    TS_MQTT_Subscribe = Page(1);
    TS_MQTT_Publish->SetName(QStringLiteral("TS_MQTT_Publish"));
    TS_MQTT_Subscribe->SetName(QStringLiteral("TS_MQTT_Subscribe"));
    ACG_Pub = Grid(0);
    ACG_Sub = Grid(1);
    ACG_Pub->SetName(QStringLiteral("ACG_Pub"));
    ACG_Sub->SetName(QStringLiteral("ACG_Sub"));
    for (TExtColumnGrid *G : {ACG_Pub, ACG_Sub})
        G->OnDblClickCell = [this](TObject *S, int ARow, int ACol) { ACG_MQTT_DblClickCell(S, ARow, ACol); };
}

void TFMQTT_Set_Topic::Create_Set_Up()
{
    Hint_MQTT_Set_Topic_Pub = Hint_List(0);
    Hint_MQTT_Set_Topic_Sub = Hint_List(1);
}

void TFMQTT_Set_Topic::Set_Lang()
{
    TFRuleEditor::Set_Lang();
    TS_MQTT_Publish->SetCaption(Lang_Text(1833));
    TS_MQTT_Subscribe->SetCaption(Lang_Text(1834));
}

void TFMQTT_Set_Topic::Set_Up_Grids()
{
    // The Ethernet message columns stay hidden; the rest of the columns hidden here come back.
    Hide_Columns(ACG_Pub, {4, 5, 6, 7, 8, 9, 10});
    Hide_Columns(ACG_Sub, {2, 4, 5, 6, 7, 8, 9, 10, 11});
    TS_MQTT_Subscribe->SetTabVisible(true);
    ACG_Pub->SetRowCount(MQTT_Rows + 1);
    ACG_Sub->SetRowCount(MQTT_Rows + 1);
    Show_Columns(ACG_Pub, {4, 5, 6, 9, 10});
    Show_Columns(ACG_Sub, {4, 5, 6, 11});
    PageControl1->SetActivePage(TS_MQTT_Publish);
}

bool TFMQTT_Set_Topic::Error_In_Topic_Template(const UnicodeString &Str)
{
    return Str.count(QLatin1Char('$')) % 2 != 0;
}

bool TFMQTT_Set_Topic::Check_Row(int Grid_Index, int Row, UnicodeString &Failure)
{
    const auto Fail = [&Failure](int Text) {
        Failure = Lang_Text(Text);
        return false;
    };
    const bool Pub = Grid_Index == 0;
    // The subscribe texts follow the publish ones five apart, but for the template's.
    const int Base = Pub ? 1852 : 1857;
    const UnicodeString Type = Trim(UpperCase(Cell(Grid_Index, Col_Data_Type, Row)));
    const int Dimension = Cell_Int(Grid_Index, Col_Dimension, Row);
    if (Type.isEmpty())
        return Fail(Base);
    if (Type == QLatin1String("INT")) {
        if (Dimension != 1 && Dimension != 2 && Dimension != 4 && Dimension != 8)
            return Fail(Base + 1);
    } else if (Type == QLatin1String("FLOAT")) {
        if (Dimension != 4 && Dimension != 8)
            return Fail(Base + 2);
    } else if (Dimension < 1) {
        return Fail(Base + 3);
    }
    if (!In_Range(Cell_Int(Grid_Index, Col_Position, Row), 0, MQTT_Max_Position))
        return Fail(Base + 4);
    if (Error_In_Topic_Template(Trim(Cell(Grid_Index, Pub ? Col_Pub_Template : Col_Sub_Template, Row))))
        return Fail(Pub ? 1878 : 1880);
    return true;
}

void TFMQTT_Set_Topic::ACG_MQTT_DblClickCell(TObject *Sender, int ARow, int ACol)
{
    DblClickCell(Sender, ARow, ACol);
    auto *G = dynamic_cast<TExtColumnGrid *>(Sender);
    if (!G)
        return;
    // The cursor's cell, not the clicked one: a double click on a header opens the template the
    // cursor stands in.
    const int c = G->RealCol();
    const int r = G->RealRow();
    if (c == (G == ACG_Pub ? Col_Pub_Template : Col_Sub_Template))
        Show_Form_Topic(Sender, r, c);
}

void TFMQTT_Set_Topic::Show_Form_Topic(TObject *Sender, int ARow, int ACol)
{
    auto *G = dynamic_cast<TExtColumnGrid *>(Sender);
    if (!G || !FTopicTemplate)
        return;
    TRichEdit *Edit = FTopicTemplate->RE_TopicTemplate;
    Edit->Lines()->Clear();
    Edit->SetText(G->GetCellEx(ACol, ARow));
    if (FTopicTemplate->ShowModal() == mrOk)
        G->SetCellEx(ACol, ARow, Edit->Text());
}
