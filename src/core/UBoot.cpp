#include "core/UBoot.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/ULanguage.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/FileUtils.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"
#include "platform/XMLDoc.h"

#include <memory>

TFBoot *FBoot = nullptr;
DWORD Update_Program_Wait_Ms = 150000;

namespace {

constexpr int Form_Client_Width = 449;
// The device check: each echo request waits this long for its reply, and requests are repeated
// until two replies have come or the whole check has run this long.
constexpr DWORD Echo_Timeout_Ms = 400;
constexpr DWORD Check_Limit_Ms = 5000;
constexpr int Replies_Wanted = 2;
constexpr int Echo_Packet_Size = 1024;
constexpr DWORD Pause_Ms = 10;

// The update options in the order of the list.
constexpr int Option_Firmware_And_Configuration = 0;
constexpr int Option_Firmware = 1;
constexpr int Option_Configuration = 2;

TEdit *Address_Edit(TForm *Owner, TWinControl *Parent, int Index)
{
    auto *E = new TEdit(Owner);
    E->SetParent(Parent);
    E->SetBounds(16 + 50 * Index, 30, 40, 21);
    E->SetShowHint(true);
    E->SetText(QStringLiteral("0"));
    return E;
}

TPanel *Plain_Panel(TForm *Owner, int Height)
{
    auto *P = new TPanel(Owner);
    P->SetParent(Owner);
    P->SetBevelOuter(bvNone);
    P->SetParentColor(false);
    P->SetColor(Form_Color);
    P->SetShowCaption(false);
    P->SetBounds(0, 69, Form_Client_Width, Height);
    return P;
}

void Add_Text(const TXMLNode &Parent, const char *Element, const UnicodeString &Text)
{
    const TXMLNode Node = Parent.AddChild(QString::fromLatin1(Element));
    if (!Text.isEmpty())
        Node.SetText(Text);
}

void Add_Text(const TXMLNode &Parent, const char *Element, const char *Text)
{
    Add_Text(Parent, Element, QString::fromLatin1(Text));
}

// One "Operation" of the update program. The configuration bank also gets its internal-data
// write; GoToApp_After says whether the device starts its application once this one is done.
void Add_Operation(const TXMLNode &Operations, bool Configuration, bool Read_Back, bool GoToApp_After)
{
    const TXMLNode Op = Operations.AddChild(QStringLiteral("Operation"));
    Add_Text(Op, "Ope_Protection_Enabled", "");
    Add_Text(Op, "Ope_GoToBoot_Before", "0");
    Add_Text(Op, "Ope_GoToApp_Before", "0");
    Add_Text(Op, "Ope_IP_Address", "");
    Add_Text(Op, "Ope_Port", "2008");
    Add_Text(Op, "Ope_Port_Sec", "2007");
    Add_Text(Op, "Ope_Erase_Memory", "0");
    // The update program is a native program here: it takes the file names as native paths.
    Add_Text(Op, "Ope_FileName", NativePath(Configuration ? Path_Active_Conf + QStringLiteral("\\bin\\bank.bin")
                                                          : Path_Master + QStringLiteral("\\Sim40385.sim")));
    Add_Text(Op, "Ope_Start_Address", Configuration ? "0x68000" : "0x8000");
    Add_Text(Op, "Ope_Memory_Type", "0");
    Add_Text(Op, "Ope_Bank_Type", Configuration ? "2" : "1");
    Add_Text(Op, "Ope_Read_Back", Read_Back ? "1" : "0");
    Add_Text(Op, "Ope_Write_CSS", Configuration ? "0" : "1");
    Add_Text(Op, "Ope_Address_CSS", Configuration ? "0x50100" : "0x78100");
    Add_Text(Op, "Ope_Command_CSS", "0x0B");
    if (Configuration) {
        Add_Text(Op, "Ope_Write_Internal_Data", "0");
        Add_Text(Op, "Ope_WID_Address", "0x78200");
        Add_Text(Op, "Ope_WID_Command", "0x0B");
        Add_Text(Op, "Ope_WID_Data", "0x00, 0x00, 0x00, 0x01");
    }
    Add_Text(Op, "Ope_GoToApp_After", GoToApp_After ? "1" : "0");
}

} // namespace

TFBoot::TFBoot(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("FBoot"));
    Style_Form(this);
    const TDialog_Frame F = New_Dialog_Frame(this);
    P_Title = F.P_Title;
    L_SW_Code = F.L_SW_Code;
    L_SW_Desc = F.L_SW_Desc;
    P_Button = F.P_Button;
    Btn_Update = F.Btn_OK;
    Btn_Cancel = F.Btn_Cancel;
    Btn_Update->SetBounds(16, 6, 200, 28);
    Btn_Cancel->SetBounds(Form_Client_Width - 16 - 110, 6, 110, 28);

    P_IP_Address = Plain_Panel(this, 64);
    L_IP_Address = New_Label(P_IP_Address, 8, 16);
    E_IP1 = Address_Edit(this, P_IP_Address, 0);
    E_IP2 = Address_Edit(this, P_IP_Address, 1);
    E_IP3 = Address_Edit(this, P_IP_Address, 2);
    E_IP4 = Address_Edit(this, P_IP_Address, 3);
    for (TEdit *E : {E_IP1, E_IP2, E_IP3, E_IP4})
        E->OnKeyPress = [this](TObject *S, WideChar &Key) { KeyPress(S, Key); };

    P_Options = Plain_Panel(this, 72);
    L_Update_Option = New_Label(P_Options, 8, 16);
    CB_Update_Options = new TComboBox(this);
    CB_Update_Options->SetParent(P_Options);
    CB_Update_Options->SetStyle(csDropDownList);
    CB_Update_Options->SetBounds(16, 30, 220, 21);
    CB_Update_Options->SetShowHint(true);
    CB_Update_Option_Read_Back = new TCheckBox(this);
    CB_Update_Option_Read_Back->SetParent(P_Options);
    CB_Update_Option_Read_Back->SetBounds(256, 32, 170, 17);
    CB_Update_Option_Read_Back->SetShowHint(true);
    CB_Update_Option_Read_Back->SetChecked(true);

    P_Serial = Plain_Panel(this, 64);
    L_COM_Port = New_Label(P_Serial, 8, 16);
    CB_COM_Port = new TComboBox(this);
    CB_COM_Port->SetParent(P_Serial);
    CB_COM_Port->SetStyle(csDropDownList);
    CB_COM_Port->SetBounds(16, 30, 120, 21);
    Btn_COM_List = New_Lb_Button(P_Serial, 146, 27, 110, 28);
    Btn_COM_List->OnClick = [this](TObject *S) { Btn_COM_ListClick(S); };

    P_Eth_Search = Plain_Panel(this, 64);
    P_Eth_Search->SetVisible(false);

    Ping = new TIcmpClient(this);
    Ping->SetReceiveTimeout(static_cast<int>(Echo_Timeout_Ms));
    Ping->SetPacketSize(Echo_Packet_Size);
    Ping->OnReply = [this](TComponent *S, const TReplyStatus &Status) { PingReply(S, Status); };
    Echo_Request = [this](const UnicodeString &Data) { Ping->Ping(Data, 0); };
    Tick_Count = [] { return GetTickCount(); };
    Pause_And_Pump = [] {
        Sleep(Pause_Ms);
        Application->ProcessMessages();
    };

    XML1 = new TXMLDocument(this);

    Btn_Update->OnClick = [this](TObject *S) { Btn_UpdateClick(S); };
    OnShow = [this](TObject *S) { FormShow(S); };
}

UnicodeString TFBoot::IP_Text() const
{
    return E_IP1->Text() + u'.' + E_IP2->Text() + u'.' + E_IP3->Text() + u'.' + E_IP4->Text();
}

void TFBoot::FormShow(TObject *Sender)
{
    Set_Lang();
    L_SW_Code->SetCaption(SW_Code);

    for (TPanel *P : {P_IP_Address, P_Eth_Search, P_Options, P_Serial})
        P->SetVisible(false);
    TPanel *First = Form_Type == 0 ? P_Serial : P_IP_Address;
    First->SetTop(P_Title->Height());
    First->SetVisible(true);
    P_Options->SetTop(First->Top() + First->Height());
    P_Options->SetVisible(true);
    SetClientSize(Form_Client_Width, P_Title->Height() + First->Height() + P_Options->Height() + P_Button->Height());
    P_Title->SetTabOrder(0);
    P_IP_Address->SetTabOrder(1);
    P_Eth_Search->SetTabOrder(2);
    P_Options->SetTabOrder(3);
    P_Button->SetTabOrder(4);
    P_Serial->SetTabOrder(5);

    if (Form_Type == 0) {
        update_ComPort();
    } else {
        UnicodeString IP1, IP2, IP3, IP4;
        if (!Last_IP_Address.isEmpty() && Check_IP_Address(Last_IP_Address, IP1, IP2, IP3, IP4)) {
            E_IP1->SetText(IP1);
            E_IP2->SetText(IP2);
            E_IP3->SetText(IP3);
            E_IP4->SetText(IP4);
        }
    }
    CB_Update_Options->SetItemIndex(Update_Type);
    CB_Update_Option_Read_Back->SetChecked(Update_Read_Back);
    TWinControl *Focus = Form_Type == 0 ? static_cast<TWinControl *>(CB_COM_Port) : E_IP1;
    if (Focus->CanFocus())
        Focus->SetFocus();
}

void TFBoot::Set_Lang()
{
    SetCaption(Lang_Text(Form_Type == 0 ? 1000 : 1002));
    L_SW_Desc->SetCaption(Lang_Text(Form_Type == 0 ? 1001 : 1003));
    L_IP_Address->SetCaption(Lang_Text(1006));
    L_Update_Option->SetCaption(Lang_Text(1014));
    CB_Update_Options->Items()->Clear();
    for (int n = 1015; n <= 1017; ++n)
        CB_Update_Options->Items()->Add(Lang_Text(n));
    CB_Update_Options->SetItemIndex(0);
    CB_Update_Option_Read_Back->SetCaption(Lang_Text(1018));
    Btn_Cancel->SetCaption(Lang_Text(1019));
    Btn_Update->SetCaption(Lang_Text(1020));
    E_IP1->SetHint(Lang_Text(1021));
    E_IP2->SetHint(Lang_Text(1022));
    E_IP3->SetHint(Lang_Text(1023));
    E_IP4->SetHint(Lang_Text(1024));
    CB_Update_Options->SetHint(Lang_Text(1032));
    CB_Update_Option_Read_Back->SetHint(Lang_Text(1033));
    Btn_Cancel->SetHint(Lang_Text(1034));
    Btn_Update->SetHint(Lang_Text(1035));
}

void TFBoot::KeyPress(TObject *Sender, WideChar &Key)
{
    if (Key != u'.')
        return;
    Key = 0;
    TEdit *Next = Sender == E_IP1 ? E_IP2 : Sender == E_IP2 ? E_IP3 : Sender == E_IP3 ? E_IP4 : nullptr;
    if (Next && Next->CanFocus())
        Next->SetFocus();
}

void TFBoot::PingReply(TComponent *ASender, const TReplyStatus &AReplyStatus)
{
    ping_res = AReplyStatus.HasData() ? 1 : 2;
}

bool TFBoot::Send_Ping()
{
    ping_res = 0;
    const DWORD Start = Tick_Count();
    const UnicodeString Host = IP_Text();
    Ping->SetHost(Host);
    int Good = 0;
    try {
        for (;;) {
            const DWORD T = Tick_Count();
            Echo_Request(Host);
            // Only the first request can find ping_res still 0, so later ones pause once.
            do {
                Pause_And_Pump();
            } while (ping_res == 0 && Tick_Count() - T <= Echo_Timeout_Ms);
            if (ping_res == 1 && ++Good >= Replies_Wanted)
                break;
            if (Tick_Count() - Start > Check_Limit_Ms)
                break;
        }
    } catch (const Exception &) {
        return false;
    }
    return ping_res == 1;
}

void TFBoot::Btn_UpdateClick(TObject *Sender)
{
    if (Form_Type == 0) {
        Update_Type = CB_Update_Options->ItemIndex();
        Update_Read_Back = CB_Update_Option_Read_Back->Checked();
        return;
    }
    if (Send_Ping()) {
        Last_IP_Address = IP_Text();
        Update_Type = CB_Update_Options->ItemIndex();
        Update_Read_Back = CB_Update_Option_Read_Back->Checked();
        Compile_XML_Parameter();
        // The dialog stays open, so that the user may put the program in place and try again.
        if (FFabricoreFirmWare && !FFabricoreFirmWare->Start_Program(Path_Exe + Update_Program_Name, UnicodeString(), false))
            MessageDlg(FFabricoreFirmWare->Start_Program_Error, mtError, TMsgDlgButtons{mbOK}, 0);
    } else if (ping_res == 2) {
        MessageDlg(Lang_Text(1036), mtWarning, TMsgDlgButtons{mbOK}, 0);
    } else {
        MessageDlg(Lang_Text(1037), mtError, TMsgDlgButtons{mbOK}, 0);
    }
}

void TFBoot::Compile_XML_Parameter()
{
    // Without the program's folder the path would name a file at the root of the disk.
    if (Path_Exe.isEmpty())
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". The program folder is not known")
                                .arg(Update_Parameter_Name));
    const int Option = CB_Update_Options->ItemIndex();
    const bool Read_Back = CB_Update_Option_Read_Back->Checked();
    XML1->SetActive(true);
    XML1->ChildNodes().Clear();
    const TXMLNode Root = XML1->AddChild(QStringLiteral("Ethernet_Update"));
    Add_Text(Root, "Version", "1000");
    Add_Text(Root, "Title", "VeltraCorp - CF40385 Ethernet Update");
    Add_Text(Root, "IP_Address_Dev", IP_Text());
    Add_Text(Root, "Application_Port", "10000");
    Add_Text(Root, "Boot_Port", "2008");
    Add_Text(Root, "Boot_Port_Sec", "2007");
    Add_Text(Root, "Address_Protection", "0x78000");
    Add_Text(Root.AddChild(QStringLiteral("Protections")), "Protection", "0x1D6");
    const TXMLNode Operations = Root.AddChild(QStringLiteral("Operations"));
    if (Option == Option_Firmware_And_Configuration || Option == Option_Firmware)
        Add_Operation(Operations, false, Read_Back, Option == Option_Firmware);
    if (Option == Option_Firmware_And_Configuration || Option == Option_Configuration)
        Add_Operation(Operations, true, Read_Back, true);
    XML1->SaveToFile(Path_Exe + Update_Parameter_Name);
}

void TFBoot::update_ComPort()
{
    CB_COM_Port->Items()->Clear();
    const std::unique_ptr<TStringList> Ports = Find_ComPorts();
    for (int i = 0; i < Ports->Count(); ++i)
        CB_COM_Port->Items()->Add(QStringLiteral("COM") + Ports->Strings(i));
    CB_COM_Port->SetItemIndex(CB_COM_Port->Items()->Count() > 0 ? 0 : -1);
    if (CB_COM_Port->CanFocus())
        CB_COM_Port->SetFocus();
}

void TFBoot::Btn_COM_ListClick(TObject *Sender)
{
    update_ComPort();
}
