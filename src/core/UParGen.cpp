#include "core/UParGen.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/ULanguage.h"
#include "core/USettings.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/FileUtils.h"
#include "platform/Messages.h"
#include "platform/MultiMon.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"
#include "platform/XMLDoc.h"

#include <algorithm>
#include <initializer_list>

TFParGen *FParGen = nullptr;

namespace {

constexpr int Form_Client_Width = 460;
constexpr int Form_Client_Height = 700;
// The shortest client area the user may size the window to: the title, the buttons and one
// panel title between them; the panel group scrolls the rest.
constexpr int Form_Min_Client_Height = 69 + 40 + 60;
// Space between a panel's lowest control and its lower edge.
constexpr int Panel_Bottom_Margin = 12;
constexpr int Fixed_Port = 44818;

// The elements of "ParGen.xml" in the order they are written.
const char *const IP_Elements[4] = {"EtherNetIP_Master_IP1", "EtherNetIP_Master_IP2", "EtherNetIP_Master_IP3",
                                    "EtherNetIP_Master_IP4"};
const char *const SM_Elements[4] = {"EtherNetIP_Master_SM1", "EtherNetIP_Master_SM2", "EtherNetIP_Master_SM3",
                                    "EtherNetIP_Master_SM4"};
const char *const GAT_Elements[4] = {"EtherNetIP_Master_GAT1", "EtherNetIP_Master_GAT2", "EtherNetIP_Master_GAT3",
                                     "EtherNetIP_Master_GAT4"};
const char *const EN_GAT_Element = "EtherNetIP_Master_EN_GAT";
const char *const Port_Element = "EtherNetIP_Master_Port";
const char *const Serial_Element = "SERIAL_SERIAL";
const char *const Baudrate_Element = "SERIAL_BAUDRATE";
const char *const Parity_Element = "SERIAL_PARITY";
const char *const StopBits_Element = "SERIAL_STOPBITS";

const char *const Default_IP[4] = {"192", "168", "0", "5"};
const char *const Default_SM[4] = {"255", "255", "255", "0"};
const char *const Default_GAT[4] = {"192", "168", "0", "1"};
constexpr int Default_Serial = 0;
constexpr int Default_Baudrate = 7;
constexpr int Default_Parity = 0;
constexpr int Default_StopBits = 0;

UnicodeString Tag_Name(const char *Element)
{
    return QString::fromLatin1(Element);
}

// The text of a child element of Root; Default when it is missing or cannot be read as text.
UnicodeString Element_Text(const TXMLNode &Root, const char *Element, const UnicodeString &Default)
{
    try {
        const TXMLNode Node = Root.ChildNodes().FindNode(Tag_Name(Element));
        if (!Node)
            return Default;
        return Node.Text();
    } catch (const Exception &) {
        return Default;
    }
}

int Element_Int(const TXMLNode &Root, const char *Element, int Default)
{
    const UnicodeString Missing;
    const UnicodeString Text = Element_Text(Root, Element, Missing);
    return StrToIntDef(Text, Default);
}

TComboBox *Panel_List(TForm *Owner, TWinControl *Parent, int Top, std::initializer_list<const char *> Items, int Index)
{
    auto *C = new TComboBox(Owner);
    C->SetParent(Parent);
    C->SetStyle(csOwnerDrawFixed);
    C->SetBounds(200, Top, 160, 21);
    C->SetShowHint(true);
    for (const char *Item : Items)
        C->Items()->Add(QString::fromLatin1(Item));
    C->SetItemIndex(Index);
    return C;
}

TEdit *Octet(TForm *Owner, TWinControl *Parent, int Top, int Index)
{
    auto *E = new TEdit(Owner);
    E->SetParent(Parent);
    E->SetBounds(200 + 45 * Index, Top, 40, 21);
    E->SetShowHint(true);
    E->SetText(QString::fromLatin1(Default_IP[Index]));
    return E;
}

// The lowest bottom edge among the given controls.
int Lowest_Bottom(std::initializer_list<TControl *> Controls)
{
    int Bottom = 0;
    for (TControl *C : Controls)
        Bottom = std::max(Bottom, C->Top() + C->Height());
    return Bottom;
}

} // namespace

TFParGen::TFParGen(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("FParGen"));
    Style_Form(this);
    const TDialog_Frame F = New_Dialog_Frame(this);
    P_Title = F.P_Title;
    L_SW_Code = F.L_SW_Code;
    L_SW_Desc = F.L_SW_Desc;
    P_Button = F.P_Button;
    Btn_OK = F.Btn_OK;
    Btn_Cancel = F.Btn_Cancel;

    CPG = new TCategoryPanelGroup(this);
    CPG->SetParent(this);
    CPG->SetAlign(alClient);
    CPG->VertScrollBar()->SetTracking(true);
    CPG->SetParentColor(false);
    CPG->SetColor(Form_Color);
    // The group only holds the panels: a stop of its own would show nothing and do nothing.
    CPG->SetTabStop(false);

    CP_Serial = New_Category_Panel();
    CP_EtherNetIP_Master = New_Category_Panel();
    TCategoryPanel **Hidden[] = {&CP_CANopen, &CP_Ethernet, &CP_PROFIBUS, &CP_SNMP_Agent, &CP_Modbus_TCP_Slave,
                                 &CP_BACnet_Slave, &CP_DeviceNet_Slave, &CP_CAN, &CP_KNX, &CP_MQTT,
                                 &CP_Modbus_Slave, &CP_PROFINET};
    for (TCategoryPanel **P : Hidden)
        *P = New_Category_Panel();

    L_Serial_Serial = New_Label(CP_Serial, 11, 16);
    CB_Serial_Serial = Panel_List(this, CP_Serial, 8, {"RS232", "RS485"}, Default_Serial);
    L_Serial_Baudrate = New_Label(CP_Serial, 41, 16);
    CB_Serial_Baudrate = Panel_List(this, CP_Serial, 38,
                                    {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"},
                                    Default_Baudrate);
    L_Serial_Parity = New_Label(CP_Serial, 71, 16);
    Cb_Serial_Parity = Panel_List(this, CP_Serial, 68, {"NONE", "ODD", "EVEN"}, Default_Parity);
    L_Serial_StopBits = New_Label(CP_Serial, 101, 16);
    CB_Serial_StopBits = Panel_List(this, CP_Serial, 98, {"1 Stop Bits", "2 Stop Bits"}, Default_StopBits);

    L_EtherNetIP_Master_IP = New_Label(CP_EtherNetIP_Master, 11, 16);
    E_EtherNetIP_Master_IP1 = Octet(this, CP_EtherNetIP_Master, 8, 0);
    E_EtherNetIP_Master_IP2 = Octet(this, CP_EtherNetIP_Master, 8, 1);
    E_EtherNetIP_Master_IP3 = Octet(this, CP_EtherNetIP_Master, 8, 2);
    E_EtherNetIP_Master_IP4 = Octet(this, CP_EtherNetIP_Master, 8, 3);
    L_EtherNetIP_Master_SM = New_Label(CP_EtherNetIP_Master, 41, 16);
    E_EtherNetIP_Master_SM1 = Octet(this, CP_EtherNetIP_Master, 38, 0);
    E_EtherNetIP_Master_SM2 = Octet(this, CP_EtherNetIP_Master, 38, 1);
    E_EtherNetIP_Master_SM3 = Octet(this, CP_EtherNetIP_Master, 38, 2);
    E_EtherNetIP_Master_SM4 = Octet(this, CP_EtherNetIP_Master, 38, 3);
    CB_EtherNetIP_Master_GAT = new TCheckBox(this);
    CB_EtherNetIP_Master_GAT->SetParent(CP_EtherNetIP_Master);
    CB_EtherNetIP_Master_GAT->SetBounds(16, 70, 170, 17);
    CB_EtherNetIP_Master_GAT->SetShowHint(true);
    CB_EtherNetIP_Master_GAT->SetChecked(false);
    E_EtherNetIP_Master_GAT1 = Octet(this, CP_EtherNetIP_Master, 68, 0);
    E_EtherNetIP_Master_GAT2 = Octet(this, CP_EtherNetIP_Master, 68, 1);
    E_EtherNetIP_Master_GAT3 = Octet(this, CP_EtherNetIP_Master, 68, 2);
    E_EtherNetIP_Master_GAT4 = Octet(this, CP_EtherNetIP_Master, 68, 3);
    L_EtherNetIP_Master_TunnelPort = New_Label(CP_EtherNetIP_Master, 101, 16);
    E_EtherNetIP_Master_Port = new TEdit(this);
    E_EtherNetIP_Master_Port->SetParent(CP_EtherNetIP_Master);
    E_EtherNetIP_Master_Port->SetBounds(200, 98, 85, 21);
    E_EtherNetIP_Master_Port->SetShowHint(true);
    E_EtherNetIP_Master_Port->SetText(IntToStr(Fixed_Port));
    E_EtherNetIP_Master_Port->SetEnabled(false);

    // The fields come first in the tab order and the buttons after them.
    P_Button->SetTabOrder(ControlCount());

    for (int i = 0; i < 12; ++i)
        Octet_Edit(i)->OnKeyPress = [this](TObject *S, WideChar &Key) { KeyPress(S, Key); };

    XML1 = new TXMLDocument(this);

    Btn_OK->OnClick = [this](TObject *S) { Btn_OKClick(S); };
    OnCreate = [this](TObject *S) { FormCreate(S); };
    OnShow = [this](TObject *S) { FormShow(S); };
    OnResize = [this](TObject *S) { FormResize(S); };
    OnMouseWheel = [this](TObject *S, TShiftState Shift, int Delta, TPoint Pos, bool &Handled) {
        FormMouseWheel(S, Shift, Delta, Pos, Handled);
    };
}

TCategoryPanel *TFParGen::New_Category_Panel()
{
    auto *P = new TCategoryPanel(this);
    P->SetPanelGroup(CPG);
    P->SetParentColor(false);
    P->SetColor(Form_Color);
    return P;
}

TEdit *TFParGen::Octet_Edit(int Index) const
{
    TEdit *const Edits[12] = {E_EtherNetIP_Master_IP1,  E_EtherNetIP_Master_IP2,  E_EtherNetIP_Master_IP3,
                              E_EtherNetIP_Master_IP4,  E_EtherNetIP_Master_SM1,  E_EtherNetIP_Master_SM2,
                              E_EtherNetIP_Master_SM3,  E_EtherNetIP_Master_SM4,  E_EtherNetIP_Master_GAT1,
                              E_EtherNetIP_Master_GAT2, E_EtherNetIP_Master_GAT3, E_EtherNetIP_Master_GAT4};
    return Index >= 0 && Index < 12 ? Edits[Index] : nullptr;
}

void TFParGen::FormCreate(TObject *Sender)
{
    L_SW_Code->SetCaption(SW_Code);
    // The width stays; the height is the user's, so that a short screen still shows the buttons.
    SetBorderStyle(bsSizeable);
    SetClientSize(Form_Client_Width, Form_Client_Height);
    TRect Work;
    if (SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0) && Height() > Work.Height())
        SetHeight(std::max(Work.Height(), Height() - ClientHeight() + Form_Min_Client_Height));
    Constraints()->SetMinWidth(Width());
    Constraints()->SetMaxWidth(Width());
    Constraints()->SetMinHeight(Height() - ClientHeight() + Form_Min_Client_Height);
    TCategoryPanel *All[] = {CP_Serial,      CP_EtherNetIP_Master, CP_CANopen,       CP_Ethernet, CP_PROFIBUS,
                             CP_SNMP_Agent,  CP_Modbus_TCP_Slave,  CP_BACnet_Slave,  CP_DeviceNet_Slave,
                             CP_CAN,         CP_KNX,               CP_MQTT,          CP_Modbus_Slave, CP_PROFINET};
    for (TCategoryPanel *P : All)
        P->SetVisible(false);
    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();
}

void TFParGen::Order_TAB_Panels()
{
    Order_TAB_Panels_40385();
}

void TFParGen::Order_TAB_Panels_40385()
{
    // The group stacks its panels by Top; the later of two equal Tops goes first, so the
    // EtherNet/IP panel is placed before the serial one takes the top.
    CP_EtherNetIP_Master->SetVisible(true);
    CP_EtherNetIP_Master->SetTop(0);
    CP_Serial->SetVisible(true);
    CP_Serial->SetTop(0);
    // Titles follow the language of the start: they are not set again on a language change.
    CP_Serial->SetCaption(QStringLiteral("1. ") + Lang_Text(587));
    CP_EtherNetIP_Master->SetCaption(QStringLiteral("2. ") + Lang_Text(406));
    CP_Serial->SetTabOrder(0);
    CP_EtherNetIP_Master->SetTabOrder(1);
}

void TFParGen::Move_GroupBoxs()
{
    RePosition_Objects_40385();
}

void TFParGen::RePosition_Objects_40385()
{
    RePosition_Object_Serial();
    RePosition_Object_EtherNetIP_Master();
}

void TFParGen::RePosition_Object_Serial()
{
    CP_Serial->SetHeight(Lowest_Bottom({CB_Serial_StopBits}) + Panel_Bottom_Margin + CPG->HeaderHeight());
}

void TFParGen::RePosition_Object_EtherNetIP_Master()
{
    CP_EtherNetIP_Master->SetHeight(Lowest_Bottom({E_EtherNetIP_Master_Port}) + Panel_Bottom_Margin
                                    + CPG->HeaderHeight());
}

void TFParGen::Load_Defaults()
{
    for (int k = 0; k < 4; ++k) {
        Octet_Edit(k)->SetText(QString::fromLatin1(Default_IP[k]));
        Octet_Edit(4 + k)->SetText(QString::fromLatin1(Default_SM[k]));
        Octet_Edit(8 + k)->SetText(QString::fromLatin1(Default_GAT[k]));
    }
    CB_EtherNetIP_Master_GAT->SetChecked(false);
    E_EtherNetIP_Master_Port->SetText(IntToStr(Fixed_Port));
    CB_Serial_Serial->SetItemIndex(Default_Serial);
    CB_Serial_Baudrate->SetItemIndex(Default_Baudrate);
    Cb_Serial_Parity->SetItemIndex(Default_Parity);
    CB_Serial_StopBits->SetItemIndex(Default_StopBits);
}

void TFParGen::Load_File()
{
    XML1->SetActive(true);
    XML1->LoadFromFile(File_ParGen);
    const TXMLNode Root = Document_Root(XML1);
    if (!Root)
        return; // every control keeps its default
    for (int k = 0; k < 4; ++k) {
        Octet_Edit(k)->SetText(Element_Text(Root, IP_Elements[k], QString::fromLatin1(Default_IP[k])));
        Octet_Edit(4 + k)->SetText(Element_Text(Root, SM_Elements[k], QString::fromLatin1(Default_SM[k])));
        Octet_Edit(8 + k)->SetText(Element_Text(Root, GAT_Elements[k], QString::fromLatin1(Default_GAT[k])));
    }
    CB_EtherNetIP_Master_GAT->SetChecked(Element_Text(Root, EN_GAT_Element, QStringLiteral("0")) == QStringLiteral("1"));
    CB_Serial_Serial->SetItemIndex(Element_Int(Root, Serial_Element, Default_Serial));
    CB_Serial_Baudrate->SetItemIndex(Element_Int(Root, Baudrate_Element, Default_Baudrate));
    Cb_Serial_Parity->SetItemIndex(Element_Int(Root, Parity_Element, Default_Parity));
    CB_Serial_StopBits->SetItemIndex(Element_Int(Root, StopBits_Element, Default_StopBits));
}

void TFParGen::FormShow(TObject *Sender)
{
    // Every showing starts from the file, so what was typed before a cancel is gone.
    Load_Defaults();
    if (!Path_Active_Conf.isEmpty() && FileExists(File_ParGen)) {
        try {
            Load_File();
        } catch (...) {
            // A damaged file is reported once; the dialog offers the defaults, and confirming
            // replaces the file with a good one.
            Load_Defaults();
            Application->HandleException(this);
        }
    }
    Move_GroupBoxs();
    // Typing starts in the first field, not on OK, whatever had the focus when it last closed.
    SetActiveControl(CB_Serial_Serial);
}

void TFParGen::FormResize(TObject *Sender)
{
    if (ClientWidth() != Form_Client_Width)
        SetClientWidth(Form_Client_Width);
}

void TFParGen::FormMouseWheel(TObject *Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool &Handled)
{
    const TPoint P = CPG->ScreenToClient(MousePos);
    if (!PtInRect(CPG->ClientRect(), P))
        return;
    Handled = true;
    UINT Lines = 0;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
    const WPARAM Code = WheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (UINT i = 0; i < Lines && i < 100; ++i) {
        CPG->Perform(WM_VSCROLL, Code, 0);
        CPG->Perform(WM_VSCROLL, SB_ENDSCROLL, 0);
    }
}

void TFParGen::KeyPress(TObject *Sender, WideChar &Key)
{
    if (Key != u'.')
        return;
    Key = 0;
    for (int i = 0; i < 11; ++i) {
        if (Sender == Octet_Edit(i)) {
            TEdit *Next = Octet_Edit(i + 1);
            if (Next->CanFocus())
                Next->SetFocus();
            return;
        }
    }
}

bool TFParGen::Controllo_Dati()
{
    auto In_Range = [](TEdit *E) {
        const int V = StrToIntDef(E->Text(), -1);
        return V >= 0 && V <= 255;
    };
    auto Fail = [](int Text_Index) {
        MessageDlg(Lang_Text(Text_Index), mtError, TMsgDlgButtons{mbOK}, 0);
        return false;
    };
    for (int k = 0; k < 4; ++k)
        if (!In_Range(Octet_Edit(k)))
            return Fail(450 + k);
    for (int k = 0; k < 4; ++k)
        if (!In_Range(Octet_Edit(4 + k)))
            return Fail(454 + k);
    if (CB_EtherNetIP_Master_GAT->Checked())
        for (int k = 0; k < 4; ++k)
            if (!In_Range(Octet_Edit(8 + k)))
                return Fail(458 + k);
    if (CB_Serial_StopBits->ItemIndex() > 0 && Cb_Serial_Parity->ItemIndex() > 0)
        return Fail(596);
    return true;
}

void TFParGen::Btn_OKClick(TObject *Sender)
{
    if (!Controllo_Dati())
        return;
    // Without an open configuration the path would name a file at the root of the disk.
    if (Path_Active_Conf.isEmpty())
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". No configuration is open").arg(File_ParGen));
    XML1->SetActive(true);
    XML1->ChildNodes().Clear();
    const TXMLNode Root = XML1->AddChild(QStringLiteral("Par_Gen"));
    XML1->ChildNodes().Add(XML1->CreateNode(ParGen_Version_Comment, ntComment));
    auto Add = [&Root](const char *Element, const UnicodeString &Text) { Root.AddChild(Tag_Name(Element)).SetText(Text); };
    for (int k = 0; k < 4; ++k)
        Add(IP_Elements[k], Octet_Edit(k)->Text());
    for (int k = 0; k < 4; ++k)
        Add(SM_Elements[k], Octet_Edit(4 + k)->Text());
    for (int k = 0; k < 4; ++k)
        Add(GAT_Elements[k], Octet_Edit(8 + k)->Text());
    Add(EN_GAT_Element, CB_EtherNetIP_Master_GAT->Checked() ? QStringLiteral("1") : QStringLiteral("0"));
    Add(Port_Element, IntToStr(Fixed_Port));
    Add(Serial_Element, IntToStr(CB_Serial_Serial->ItemIndex()));
    Add(Baudrate_Element, IntToStr(CB_Serial_Baudrate->ItemIndex()));
    Add(Parity_Element, IntToStr(Cb_Serial_Parity->ItemIndex()));
    Add(StopBits_Element, IntToStr(CB_Serial_StopBits->ItemIndex()));
    XML1->SaveToFile(File_ParGen);
    SetModalResult(mrOk);
}

void TFParGen::Set_Lang()
{
    SetCaption(Lang_Text(400));
    L_SW_Desc->SetCaption(Lang_Text(401));
    Btn_OK->SetCaption(Lang_Text(402));
    Btn_Cancel->SetCaption(Lang_Text(403));
    Btn_OK->SetHint(Lang_Text(404));
    Btn_Cancel->SetHint(Lang_Text(405));
    L_EtherNetIP_Master_IP->SetCaption(Lang_Text(407));
    L_EtherNetIP_Master_SM->SetCaption(Lang_Text(412));
    for (int k = 0; k < 4; ++k) {
        Octet_Edit(k)->SetHint(Lang_Text(408 + k));
        Octet_Edit(4 + k)->SetHint(Lang_Text(413 + k));
        Octet_Edit(8 + k)->SetHint(Lang_Text(419 + k));
    }
    CB_EtherNetIP_Master_GAT->SetCaption(Lang_Text(417));
    CB_EtherNetIP_Master_GAT->SetHint(Lang_Text(418));
    L_EtherNetIP_Master_TunnelPort->SetCaption(Lang_Text(423));
    E_EtherNetIP_Master_Port->SetHint(Lang_Text(424));
    L_Serial_Serial->SetCaption(Lang_Text(588));
    CB_Serial_Serial->SetHint(Lang_Text(589));
    L_Serial_Baudrate->SetCaption(Lang_Text(590));
    CB_Serial_Baudrate->SetHint(Lang_Text(591));
    L_Serial_Parity->SetCaption(Lang_Text(592));
    Cb_Serial_Parity->SetHint(Lang_Text(593));
    L_Serial_StopBits->SetCaption(Lang_Text(594));
    CB_Serial_StopBits->SetHint(Lang_Text(595));
}
