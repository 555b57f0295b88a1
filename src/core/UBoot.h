#pragma once
// The device update dialog: the user names the device by its address and chooses what to
// update; the dialog checks the device with echo requests, writes "Ethernet_Update.xml" beside
// the program and runs the update program "Ethernet_Update.exe" through the main window.
//
// Form_Type 1 is the update over Ethernet; Form_Type 0, the update over a serial port, only
// keeps the chosen options.

#include "platform/Forms.h"
#include "platform/IcmpClient.h"
#include "platform/System.h"
#include "platform/Windows.h"

#include <functional>

class TCheckBox;
class TComboBox;
class TEdit;
class TLabel;
class TLbButton;
class TPanel;
class TXMLDocument;

class TFBoot : public TForm {
public:
    explicit TFBoot(TComponent *AOwner);

    // 1: update over Ethernet; 0: over a serial port.
    int Form_Type = 1;
    // The outcome of the last echo request: 0 none yet, 1 a reply with data, 2 no answer.
    int ping_res = 0;

    TPanel *P_Title = nullptr;
    TLabel *L_SW_Code = nullptr;
    TLabel *L_SW_Desc = nullptr;
    TPanel *P_IP_Address = nullptr;
    TLabel *L_IP_Address = nullptr;
    TEdit *E_IP1 = nullptr;
    TEdit *E_IP2 = nullptr;
    TEdit *E_IP3 = nullptr;
    TEdit *E_IP4 = nullptr;
    TPanel *P_Options = nullptr;
    TLabel *L_Update_Option = nullptr;
    TComboBox *CB_Update_Options = nullptr;
    TCheckBox *CB_Update_Option_Read_Back = nullptr;
    TPanel *P_Serial = nullptr;
    TLabel *L_COM_Port = nullptr;
    TComboBox *CB_COM_Port = nullptr;
    TLbButton *Btn_COM_List = nullptr;
    // A device search that this converter does not offer: always hidden.
    TPanel *P_Eth_Search = nullptr;
    TPanel *P_Button = nullptr;
    TLbButton *Btn_Cancel = nullptr;
    TLbButton *Btn_Update = nullptr;
    TIcmpClient *Ping = nullptr;
    TXMLDocument *XML1 = nullptr;

    // What the device check is made of: one echo request carrying Data to Ping's host (its
    // answer arrives through PingReply), the clock in milliseconds, and the short pause in which
    // the user interface handles its messages. They start as Ping->Ping, GetTickCount and a
    // 10 ms sleep with the messages handled; a test puts a played device in their place.
    std::function<void(const UnicodeString &Data)> Echo_Request;
    std::function<DWORD()> Tick_Count;
    std::function<void()> Pause_And_Pump;

    void FormShow(TObject *Sender);
    void Set_Lang();
    // The key handler of the four address edits: "." goes on to the next one.
    void KeyPress(TObject *Sender, WideChar &Key);
    void Btn_UpdateClick(TObject *Sender);
    // True when the device answered: at least the last echo request got a reply with data.
    bool Send_Ping();
    void PingReply(TComponent *ASender, const TReplyStatus &AReplyStatus);
    // Writes Path_Exe + "\Ethernet_Update.xml" for the options chosen.
    void Compile_XML_Parameter();
    void update_ComPort();
    void Btn_COM_ListClick(TObject *Sender);

    // The four address edits joined by ".".
    UnicodeString IP_Text() const;

protected:
    using TWinControl::KeyPress;
};

extern TFBoot *FBoot;

// How long the main window's Start_Program stands still for the update program, in
// milliseconds; the program runs on by itself afterwards.
extern DWORD Update_Program_Wait_Ms;

inline const UnicodeString Update_Program_Name = QStringLiteral("\\Ethernet_Update.exe");
inline const UnicodeString Update_Parameter_Name = QStringLiteral("\\Ethernet_Update.xml");
