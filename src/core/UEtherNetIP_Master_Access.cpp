#include "core/UEtherNetIP_Master_Access.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/URuleXML.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/FileUtils.h"
#include "platform/Graphics.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"
#include "platform/XMLDoc.h"

TFEtherNetIP_Master_Access *FEtherNetIP_Master_Access = nullptr;

namespace {

constexpr int Form_Client_Width = 1180;
constexpr int Form_Client_Height = 337;
constexpr int Header_Row_Height = 22;
constexpr int Grid_Columns = EtherNetIP_Rule_Columns + 1;

// The button panel: the row buttons from the left, OK and Cancel at the right.
constexpr int Button_Width = 110;
constexpr int Button_Height = 28;
constexpr int Button_Top = 6;
constexpr int Button_Left = 16;
constexpr int Button_Step = 118;

constexpr TColor Colour(int R, int G, int B)
{
    return TColor(RGB(R, G, B));
}

// Per grid column: width, colour, the header text and the header hint (0 for none).
struct TColumn_Def {
    int Width;
    TColor Color;
    int Header;
    int Hint;
};
const TColumn_Def Column_Defs[Grid_Columns] = {
    {40, Colour(255, 216, 176), 814, 0},    {50, Colour(255, 216, 176), 815, 823},
    {110, Colour(224, 250, 254), 816, 824}, {80, Colour(255, 255, 168), 817, 825},
    {80, Colour(255, 255, 168), 818, 826},  {85, Colour(252, 214, 244), 819, 827},
    {85, Colour(252, 214, 244), 820, 828},  {80, Colour(168, 255, 168), 821, 829},
    {105, Colour(213, 213, 255), 841, 843}, {120, Colour(213, 213, 255), 847, 849},
    {105, Colour(213, 213, 255), 842, 844}, {120, Colour(213, 213, 255), 848, 850},
    {95, clWhite, 822, 830},
};

enum : int {
    Col_Enable = 1,
    Col_IP = 2,
    Col_Num_Input = 4,
    Col_Num_Output = 6,
    Col_Time_Poll = 7,
};

// The numeric cells of a rule in the order they are checked, with their range and the text of
// their failure.
struct TRange_Check {
    int Col;
    int Low;
    int High;
    int Text;
};
const TRange_Check Range_Checks[] = {
    {3, 0, 65535, 833},         {Col_Num_Input, 0, 65535, 834}, {5, 0, 65535, 835},
    {Col_Num_Output, 0, 65535, 836}, {Col_Time_Poll, 1, 100000000, 837}, {8, 0, 65535, 845},
    {9, 0, 65535, 851},         {10, 0, 65535, 846},            {11, 0, 65535, 852},
};

// The number a cell holds, as the image compiler reads it: -1 when it is no integer.
int Cell_Int(TExtColumnGrid *G, int Col, int Row)
{
    return StrToIntDef(G->GetCellEx(Col, Row), -1);
}

bool Has_IP(TExtColumnGrid *G, int Row)
{
    return !Trim(G->GetCellEx(Col_IP, Row)).isEmpty();
}

// A dotted address whose octets the image compiler reads as the check does: the compiler takes
// each part as it stands, so a blank after a number would make that octet 0.
bool IP_Compiles(const UnicodeString &Text)
{
    UnicodeString Part[4];
    if (!Check_IP_Address(Text, Part[0], Part[1], Part[2], Part[3]))
        return false;
    Byte Octet[4] = {0, 0, 0, 0};
    if (Conv_IP_Address(Text, Octet[0], Octet[1], Octet[2], Octet[3]))
        return false;
    for (int k = 0; k < 4; ++k)
        if (Octet[k] != StrToIntDef(Part[k], -1))
            return false;
    return true;
}

void Show_Error(const UnicodeString &Text)
{
    MessageDlg(Text, mtError, TMsgDlgButtons{mbOK}, 0);
}

} // namespace

TFEtherNetIP_Master_Access::TFEtherNetIP_Master_Access(TComponent *AOwner) : TFConf_Dialog(AOwner)
{
    SetName(QStringLiteral("FEtherNetIP_Master_Access"));

    TLbButton **Row_Buttons[] = {&Btn_DelRow, &Btn_InsRow, &Btn_CopyRow, &Btn_PasteRow};
    int Left = Button_Left;
    for (TLbButton **B : Row_Buttons) {
        *B = New_Lb_Button(P_Button, Left, Button_Top, Button_Width, Button_Height);
        Left += Button_Step;
    }
    Btn_Cancel->SetBounds(Form_Client_Width - Button_Left - Button_Width, Button_Top, Button_Width, Button_Height);
    Btn_OK->SetBounds(Btn_Cancel->Left() - Button_Step, Button_Top, Button_Width, Button_Height);

    ACG = New_Rule_Grid(this, this, Grid_Columns, EtherNetIP_Rule_Rows, Header_Row_Height);
    // The grid follows its columns once, when they are all set, rather than after each change.
    ACG->Columns()->BeginUpdate();
    for (int c = 0; c < Grid_Columns; ++c) {
        TGridColumnItem *Item = ACG->Columns()->Items(c);
        Item->SetWidth(Column_Defs[c].Width);
        Item->SetColor(Column_Defs[c].Color);
        Item->SetEditor(edNormal);
    }
    ACG->Columns()->EndUpdate();
    Set_Check_Column(ACG, Col_Enable);
    ACG->OnGridHint = [this](TObject *S, int ARow, int ACol, UnicodeString &HintStr) { GridHint(S, ARow, ACol, HintStr); };
    ACG->OnKeyPress = [this](TObject *S, WideChar &Key) { KeyPress(S, Key); };
    ACG->OnDblClickCell = [this](TObject *S, int ARow, int ACol) { DblClickCell(S, ARow, ACol); };

    // The table comes first in the tab order and the buttons after it.
    P_Button->SetTabOrder(ControlCount());

    XML1 = new TXMLDocument(this);

    Btn_OK->OnClick = [this](TObject *S) { Btn_OKClick(S); };
    Btn_DelRow->OnClick = [this](TObject *S) { Btn_DelRowClick(S); };
    Btn_InsRow->OnClick = [this](TObject *S) { Btn_InsRowClick(S); };
    Btn_CopyRow->OnClick = [this](TObject *S) { Btn_CopyRowClick(S); };
    Btn_PasteRow->OnClick = [this](TObject *S) { Btn_PasteRowClick(S); };
    OnCreate = [this](TObject *S) { FormCreate(S); };
    OnShow = [this](TObject *S) { FormShow(S); };
}

TFEtherNetIP_Master_Access::~TFEtherNetIP_Master_Access() = default;

void TFEtherNetIP_Master_Access::FormCreate(TObject *Sender)
{
    L_SW_Code->SetCaption(SW_Code);
    SetClientSize(Form_Client_Width, Form_Client_Height);
    Hint = std::make_unique<TStringList>();
    ACG->SetRowCount(EtherNetIP_Rule_Rows + 1);
    Set_Lang();
}

void TFEtherNetIP_Master_Access::Set_Lang()
{
    SetCaption(Lang_Text(800));
    L_SW_Desc->SetCaption(Lang_Text(801));
    TLbButton *const Buttons[] = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    for (int i = 0; i < 6; ++i) {
        Buttons[i]->SetCaption(Lang_Text(802 + i));
        Buttons[i]->SetHint(Lang_Text(808 + i));
    }
    if (Hint)
        Hint->Clear();
    ACG->Columns()->BeginUpdate();
    for (int c = 0; c < Grid_Columns; ++c) {
        ACG->Columns()->Items(c)->SetHeader(Lang_Text(Column_Defs[c].Header));
        if (Hint && c > 0)
            Hint->Add(Lang_Text(Column_Defs[c].Hint));
    }
    ACG->Columns()->EndUpdate();
}

void TFEtherNetIP_Master_Access::Reset_Rows()
{
    const int N = ACG->ColCount() + ACG->NumHiddenColumns();
    for (int r = 1; r <= EtherNetIP_Rule_Rows; ++r) {
        ACG->SetCellEx(0, r, IntToStr(r));
        ACG->SetCellEx(Col_Enable, r, QStringLiteral("Y"));
        for (int c = Col_Enable + 1; c < N; ++c)
            ACG->SetCellEx(c, r, UnicodeString());
    }
}

void TFEtherNetIP_Master_Access::Load_File()
{
    UnicodeString Defaults[EtherNetIP_Rule_Columns];
    Defaults[0] = QStringLiteral("N");
    // Rows past the tenth have no place in the grid, as they have none in the image.
    const std::vector<QStringList> Rows = Read_Rule_Rows(XML1, File_EtherNetIP_Master_Rules, EtherNetIP_Rule_Attributes,
                                                         Defaults, EtherNetIP_Rule_Columns, EtherNetIP_Rule_Rows);
    for (std::size_t i = 0; i < Rows.size(); ++i)
        for (int k = 0; k < EtherNetIP_Rule_Columns; ++k)
            ACG->SetCellEx(k + 1, int(i) + 1, Rows[i][k]);
}

void TFEtherNetIP_Master_Access::FormShow(TObject *Sender)
{
    // Every showing starts from the file, so what was typed before a cancel is gone.
    Reset_Rows();
    Num_Byte_In = EtherNetIP_Max_Bytes;
    Num_Byte_Out = EtherNetIP_Max_Bytes;
    if (!Path_Active_Conf.isEmpty() && FileExists(File_EtherNetIP_Master_Rules)) {
        try {
            Load_File();
        } catch (...) {
            // A damaged file is reported once; the dialog offers the empty rules, and confirming
            // replaces the file with a good one.
            Reset_Rows();
            Application->HandleException(this);
        }
    }
    Do_Copy = false;
    // Typing starts in the first rule's first cell, not on OK, whatever had the focus when the
    // dialog last closed.
    ACG->SetCol(1);
    ACG->SetRow(1);
    SetActiveControl(ACG);
}

bool TFEtherNetIP_Master_Access::Controllo_dati()
{
    int Total_Input = 0;
    int Total_Output = 0;
    for (int r = 1; r <= EtherNetIP_Rule_Rows; ++r) {
        // A row counts as enabled exactly when the image compiler takes it, so that nothing
        // reaches the image unchecked.
        if (UpperCase(Trim(ACG->GetCellEx(Col_Enable, r))) != QLatin1String("Y"))
            continue;
        // A row without an address is not stored; the rows below it still are.
        if (!Has_IP(ACG, r))
            continue;
        auto Fail = [r](int Text) {
            Show_Error(Lang_Text(831) + IntToStr(r) + Lang_Text(Text));
            return false;
        };
        if (!IP_Compiles(ACG->GetCellEx(Col_IP, r)))
            return Fail(832);
        for (const TRange_Check &C : Range_Checks) {
            const int Value = Cell_Int(ACG, C.Col, r);
            if (Value < C.Low || Value > C.High)
                return Fail(C.Text);
        }
        Total_Input += Cell_Int(ACG, Col_Num_Input, r);
        Total_Output += Cell_Int(ACG, Col_Num_Output, r);
    }
    if (Total_Input > Num_Byte_In) {
        Show_Error(Lang_Text(838) + IntToStr(Num_Byte_In));
        return false;
    }
    if (Total_Output > Num_Byte_Out) {
        Show_Error(Lang_Text(839) + IntToStr(Num_Byte_Out));
        return false;
    }
    return true;
}

void TFEtherNetIP_Master_Access::Btn_OKClick(TObject *Sender)
{
    if (!Controllo_dati())
        return;
    // Without an open configuration the path would name a file at the root of the disk.
    if (Path_Active_Conf.isEmpty())
        throw EFCreateError(
            QStringLiteral("Cannot create file \"%1\". No configuration is open").arg(File_EtherNetIP_Master_Rules));
    std::vector<QStringList> Rows;
    for (int r = 1; r <= EtherNetIP_Rule_Rows; ++r) {
        // A row without an address names no slave; skipping it (rather than stopping there)
        // keeps the rules typed below it, which move up at the next showing.
        if (!Has_IP(ACG, r))
            continue;
        QStringList Texts;
        for (int k = 0; k < EtherNetIP_Rule_Columns; ++k)
            Texts << ACG->GetCellEx(k + 1, r);
        Rows.push_back(Texts);
    }
    Write_Rule_File(XML1, File_EtherNetIP_Master_Rules, EtherNetIP_Rules_Root, EtherNetIP_Rules_Version,
                    EtherNetIP_Rule_Attributes, Rows);
    SetModalResult(mrOk);
}

void TFEtherNetIP_Master_Access::Btn_DelRowClick(TObject *Sender)
{
    const int Row = ACG->Row();
    if (MessageDlg(Lang_Text(840) + IntToStr(Row), mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0) == mrYes)
        Delete_Row_Grid(Row, ACG);
}

void TFEtherNetIP_Master_Access::Btn_InsRowClick(TObject *Sender)
{
    Insert_Row_Grid(ACG->Row(), ACG, true);
}

void TFEtherNetIP_Master_Access::Btn_CopyRowClick(TObject *Sender)
{
    Copy_Row_Grid(ACG, ACG->Row());
    Do_Copy = true;
}

void TFEtherNetIP_Master_Access::Btn_PasteRowClick(TObject *Sender)
{
    Paste_Row_Grid(ACG, ACG->Row(), Do_Copy);
}

void TFEtherNetIP_Master_Access::GridHint(TObject *Sender, int ARow, int ACol, UnicodeString &HintStr)
{
    const int Index = ACG->RealColIndex(ACol) - 1;
    if (ARow == 0 && Index >= 0 && Hint && Index < Hint->Count())
        HintStr = Hint->Strings(Index);
}

void TFEtherNetIP_Master_Access::KeyPress(TObject *Sender, WideChar &Key)
{
    KeyPress_Grid(ACG, Key);
}

void TFEtherNetIP_Master_Access::DblClickCell(TObject *Sender, int ARow, int ACol)
{
    DblClickCell_Grid(ACG, ARow, ACol);
}
