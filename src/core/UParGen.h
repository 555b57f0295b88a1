#pragma once
// The communication parameters editor: the converter's address, subnet mask and gateway on the
// EtherNet/IP side and its serial line, kept in "ParGen.xml" of the open configuration.
//
// The form carries a category panel for every side of the converter family; only the serial
// and the EtherNet/IP Master panels are shown by this converter.

#include "platform/Forms.h"
#include "platform/System.h"

class TCategoryPanel;
class TCategoryPanelGroup;
class TCheckBox;
class TComboBox;
class TEdit;
class TLabel;
class TLbButton;
class TPanel;
class TXMLDocument;

class TFParGen : public TForm {
public:
    explicit TFParGen(TComponent *AOwner);

    TPanel *P_Title = nullptr;
    TLabel *L_SW_Code = nullptr;
    TLabel *L_SW_Desc = nullptr;
    TPanel *P_Button = nullptr;
    TLbButton *Btn_OK = nullptr;
    TLbButton *Btn_Cancel = nullptr;
    TCategoryPanelGroup *CPG = nullptr;

    TCategoryPanel *CP_Serial = nullptr;
    TCategoryPanel *CP_EtherNetIP_Master = nullptr;
    // The sides of the sibling converters: hidden for the whole run.
    TCategoryPanel *CP_CANopen = nullptr;
    TCategoryPanel *CP_Ethernet = nullptr;
    TCategoryPanel *CP_PROFIBUS = nullptr;
    TCategoryPanel *CP_SNMP_Agent = nullptr;
    TCategoryPanel *CP_Modbus_TCP_Slave = nullptr;
    TCategoryPanel *CP_BACnet_Slave = nullptr;
    TCategoryPanel *CP_DeviceNet_Slave = nullptr;
    TCategoryPanel *CP_CAN = nullptr;
    TCategoryPanel *CP_KNX = nullptr;
    TCategoryPanel *CP_MQTT = nullptr;
    TCategoryPanel *CP_Modbus_Slave = nullptr;
    TCategoryPanel *CP_PROFINET = nullptr;

    TLabel *L_Serial_Serial = nullptr;
    TComboBox *CB_Serial_Serial = nullptr;
    TLabel *L_Serial_Baudrate = nullptr;
    TComboBox *CB_Serial_Baudrate = nullptr;
    TLabel *L_Serial_Parity = nullptr;
    TComboBox *Cb_Serial_Parity = nullptr;
    TLabel *L_Serial_StopBits = nullptr;
    TComboBox *CB_Serial_StopBits = nullptr;

    TLabel *L_EtherNetIP_Master_IP = nullptr;
    TEdit *E_EtherNetIP_Master_IP1 = nullptr;
    TEdit *E_EtherNetIP_Master_IP2 = nullptr;
    TEdit *E_EtherNetIP_Master_IP3 = nullptr;
    TEdit *E_EtherNetIP_Master_IP4 = nullptr;
    TLabel *L_EtherNetIP_Master_SM = nullptr;
    TEdit *E_EtherNetIP_Master_SM1 = nullptr;
    TEdit *E_EtherNetIP_Master_SM2 = nullptr;
    TEdit *E_EtherNetIP_Master_SM3 = nullptr;
    TEdit *E_EtherNetIP_Master_SM4 = nullptr;
    TCheckBox *CB_EtherNetIP_Master_GAT = nullptr;
    TEdit *E_EtherNetIP_Master_GAT1 = nullptr;
    TEdit *E_EtherNetIP_Master_GAT2 = nullptr;
    TEdit *E_EtherNetIP_Master_GAT3 = nullptr;
    TEdit *E_EtherNetIP_Master_GAT4 = nullptr;
    TLabel *L_EtherNetIP_Master_TunnelPort = nullptr;
    TEdit *E_EtherNetIP_Master_Port = nullptr;

    TXMLDocument *XML1 = nullptr;

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void FormResize(TObject *Sender);
    void FormMouseWheel(TObject *Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool &Handled);
    void Btn_OKClick(TObject *Sender);
    // The check of the entered values: reports the first failure and answers false.
    bool Controllo_Dati();
    // The key handler of the twelve octet edits: "." goes on to the next octet.
    void KeyPress(TObject *Sender, WideChar &Key);
    void Order_TAB_Panels();
    void Move_GroupBoxs();
    void Order_TAB_Panels_40385();
    void RePosition_Objects_40385();
    void RePosition_Object_Serial();
    void RePosition_Object_EtherNetIP_Master();
    void Set_Lang();

    // The twelve octet edits in the order in which "." moves on: IP, mask, gateway.
    TEdit *Octet_Edit(int Index) const;

protected:
    using TWinControl::KeyPress;

private:
    void Load_Defaults();
    void Load_File();
    TCategoryPanel *New_Category_Panel();
};

extern TFParGen *FParGen;

// The file's version comment, after the root element.
inline const UnicodeString ParGen_Version_Comment = QStringLiteral("SW_VERSION = 1.000");
