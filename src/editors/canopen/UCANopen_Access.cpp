#include "editors/canopen/UCANopen_Access.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/ComCtrls.h"
#include "platform/SysUtils.h"

TRule_Editor_Def CANopen_Editor_Def(const TCANopen_Editor &E, std::vector<TRule_Column> First,
                                    std::vector<TRule_Column> Second, int Rows)
{
    TRule_Editor_Def D;
    D.Name = E.Name;
    D.Client_Width = E.Client_Width;
    D.Text_Base = E.Text_Base;
    D.Button_Hints = E.Text_Base + 8;
    D.Row_Prefix = E.Row_Prefix;
    D.Delete_Text = E.Delete_Text;
    D.File = E.File;
    D.Root = QString::fromLatin1(E.Root);
    std::vector<TRule_Column> *Columns[2] = {&First, &Second};
    for (int g = 0; g < 2; ++g) {
        TRule_Grid G;
        G.Columns = std::move(*Columns[g]);
        G.Rows = Rows;
        G.Key_Col = 1;
        G.Has_Enable = false;
        G.Section = QString::fromLatin1(E.Sections[g]);
        // The headers stand in the cells of row 0, which keeps the default row height.
        G.Header_Height = 0;
        G.Row_Height = 21;
        D.Grids.push_back(std::move(G));
    }
    D.Reset_Shown_Only = true;
    D.Headers_In_Cells = true;
    D.Hint_Mode = THint_Mode::Shown_Column;
    D.Hint_By_Page = true;
    D.Delete_Shown_Only = true;
    D.Click_Selects_Row = true;
    return D;
}

TRule_Column CANopen_Column(int Header, int Hint, const char *Attribute, int Width, TColor Color, TRule_Cell Kind)
{
    return {.Header = Header, .Hint = Hint, .Attribute = Attribute, .Kind = Kind, .Width = Width, .Color = Color,
            .Guarded = false};
}

TFCANopen_Access::TFCANopen_Access(TComponent *AOwner, TRule_Editor_Def Def, const char *First_Page,
                                   const char *Second_Page)
    : TFRuleEditor(AOwner, std::move(Def))
{
    sga = Grid(0);
    sgb = Grid(1);
    sga->SetName(QStringLiteral("sga"));
    sgb->SetName(QStringLiteral("sgb"));
    Page(0)->SetName(QString::fromLatin1(First_Page));
    Page(1)->SetName(QString::fromLatin1(Second_Page));
}

void TFCANopen_Access::Set_Lang()
{
    TFRuleEditor::Set_Lang();
    Page(0)->SetCaption(Lang_Text(Def().Text_Base + 14));
    Page(1)->SetCaption(Lang_Text(Def().Text_Base + 15));
}

void TFCANopen_Access::Set_Up_Grids()
{
    PageControl1->SetActivePageIndex(0);
    PROFINET_NByte_IN = CANopen_NByte;
    PROFINET_NByte_OUT = CANopen_NByte;
}

bool TFCANopen_Access::Check_Address(int Grid_Index, int Row, int Col, int Text, UnicodeString &Failure) const
{
    const int Size = Grid_Index == 0 ? PROFINET_NByte_IN : PROFINET_NByte_OUT;
    const int Position = Cell_Int(Grid_Index, Col, Row);
    if (Position >= 0 && Position < Size)
        return true;
    return Fail(Failure, Lang_Text(Text) + IntToStr(Size - 1));
}

bool TFCANopen_Access::Check_SDO_Bytes(int Grid_Index, int Row, int N_Byte, int First_Col, int First_Text,
                                       UnicodeString &Failure) const
{
    for (int k = 0; k < N_Byte; ++k)
        if (!Check_Address(Grid_Index, Row, First_Col + k, First_Text + k, Failure))
            return false;
    return true;
}

TFCANopen_SDO_Access::TFCANopen_SDO_Access(TComponent *AOwner, TRule_Editor_Def Def)
    : TFCANopen_Access(AOwner, std::move(Def), "TS_SDO_Read", "TS_SDO_Write")
{
    TS_SDO_Read = Page(0);
    TS_SDO_Write = Page(1);
}

void TFCANopen_SDO_Access::Create_Set_Up()
{
    Hint_SDO_Client_Read = Hint_List(0);
    Hint_SDO_Client_Write = Hint_List(1);
}
