#pragma once
// The main window: the four steps of this converter, the three header buttons, the
// configuration labels, the periodic version check with its link, and the shared XML document,
// HTTP client and save dialogs that the dialogs and generators use.

#include "platform/Classes.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/System.h"

#include <functional>

class TLabel;
class TLbButton;
class TTimer;
class TXMLDocument;
class THTTPClient;
class TSaveDialog;
class TWinControl;

class TFFabricoreFirmWare : public TForm {
public:
    explicit TFFabricoreFirmWare(TComponent *AOwner);

    TLabel *L_SW_Code = nullptr;
    TLabel *L_SW_Desc = nullptr;
    TLinkLabel *LL_Update = nullptr;
    TShape *Shape2 = nullptr;
    TLabel *L_Name_Conf = nullptr;
    TLabel *L_Name_Conf_L2 = nullptr;
    TLabel *L_Begin = nullptr;
    TLabel *L_Step_1 = nullptr;
    TLabel *L_Step_2 = nullptr;
    TLabel *L_Step_3 = nullptr;
    TLabel *L_Step_4 = nullptr;
    TLabel *L_Step_5 = nullptr;
    TLabel *L_Step_6 = nullptr;
    TLabel *L_Step_7 = nullptr;
    TLabel *L_Step_8 = nullptr;
    TLbButton *Btn_Info = nullptr;
    TLbButton *Btn_Opz = nullptr;
    TLbButton *Btn_Close = nullptr;
    TLbButton *Btn_New = nullptr;
    TLbButton *Btn_Open = nullptr;
    TLbButton *Btn_Prm_Gen = nullptr;
    TLbButton *Btn_EtherNetIP_Access = nullptr;
    TLbButton *Btn_CreateBin = nullptr;
    TShape *Shape1 = nullptr;
    TLabel *L_Veltra = nullptr;
    // The steps of the sibling converters: dispatched by Btn_Click, never shown.
    TLbButton *Btn_PROFINET_XML = nullptr;
    TLbButton *Btn_SNMP_Trap = nullptr;
    TLbButton *Btn_SNMP_MIB = nullptr;
    TLbButton *Btn_PROFIBUS_GSD = nullptr;
    TLbButton *Btn_CAN_Send_Frame = nullptr;
    TLbButton *Btn_CAN_Rec_Frame = nullptr;
    TLbButton *Btn_BACnet_SetAccess = nullptr;
    TLbButton *Btn_BACnet_EDE_File = nullptr;
    TLbButton *Btn_KNX_Access = nullptr;
    TLbButton *Btn_MQTT_Set_Topic = nullptr;
    TLbButton *Btn_SDO_Server_CANopen = nullptr;
    TLbButton *Btn_SDO_Client_CANopen = nullptr;
    TLbButton *Btn_PDO_CANopen = nullptr;
    TLbButton *Btn_CANopen_EDS = nullptr;
    TTimer *Timer_Update = nullptr;
    // The settings file, and the scratch document of the image compiler and the generators.
    TXMLDocument *XML1 = nullptr;
    THTTPClient *HTTP1 = nullptr;
    TSaveDialog *SaveMIB = nullptr;
    TSaveDialog *SD1 = nullptr;
    TSaveDialog *SaveEDS = nullptr;

    void FormCreate(TObject *Sender);
    void FormClose(TObject *Sender, TCloseAction &Action);
    void Btn_Click(TObject *Sender);
    void Set_Lang();
    // Every form but the about box takes its texts from the table again.
    void Change_Language();
    void Timer_UpdateTimer(TObject *Sender);
    void LL_UpdateLinkClick(TObject *Sender, const UnicodeString &Link, TSysLinkType LinkType);
    void L_VeltraClick(TObject *Sender);
    void Create_New_Project();
    void Open_Project();
    void Set_Files();
    // Writes the settings file; a file that cannot be written is reported and the run goes on.
    // True when it was written.
    bool Save_Setting();
    // Step 4: compiles "bin\bank.bin" and shows the update dialog.
    void Update_Device();
    // Starts NomeSW with Parameter (hidden when tipo) and waits for its end, at most 150 s.
    // True when it was started; otherwise Start_Program_Error tells why, with the path.
    bool Start_Program(const UnicodeString &NomeSW, const UnicodeString &Parameter, bool tipo);
    UnicodeString Start_Program_Error;
    void PROFINET_XML();
    void BACnet_EDE_File();
    void Build_EDS_File();
    int Get_Type_BACnet();

    // The timer is on exactly while both internet options are.
    void Update_Timer_State();

    // Steps 2 and 3 and the language refresh of the update dialog and the two editors of this
    // converter; they live with those forms.
    void Step_Set_Communication();
    void Step_EtherNetIP_Access();
    void Change_Language_Editors();

private:
    void Set_Conf_Labels();
    void Show_Refused_Step();
    // Runs a step of the table; what it raises goes to the application's error box.
    void Run_Protocol_Step(const std::function<void()> &Step);
};

extern TFFabricoreFirmWare *FFabricoreFirmWare;

// The hidden steps of the sibling converters reach their writers and dialogs, which sit above
// this layer, only through this table; the program fills it (Register_Protocol_Steps of the
// editors). An empty entry makes its step do nothing.
struct TProtocol_Steps {
    std::function<void()> Create_MIB_File;
    std::function<void()> Create_GSD_File;
    std::function<void(const UnicodeString &File_Name)> Create_EDE_File;
    // The PROFINET file-name dialog and, when it is confirmed, the GSDML writer.
    std::function<void()> PROFINET_XML;
    std::function<void(const UnicodeString &File_Name)> Write_EDS_File;
    // The rule editors, each shown modally.
    std::function<void()> CAN_Rec_Frame;
    std::function<void()> CAN_Send_Frame;
    std::function<void()> BACnet_SetAccess;
    std::function<void()> KNX_Access;
    std::function<void()> SNMP_Trap;
    std::function<void()> MQTT_Set_Topic;
    std::function<void()> PDO_CANopen;
    std::function<void()> SDO_Client_CANopen;
    std::function<void()> SDO_Server_CANopen;
    // Set_Lang of the editors' forms, in the order of the language change.
    std::function<void()> Change_Language;
};
extern TProtocol_Steps Protocol_Steps;

// The download page of this device as the link of LL_Update and of the options dialog:
// an anchor around Text.
UnicodeString Download_Link_Html(const UnicodeString &Text);

// Text n of the language table.
UnicodeString Lang_Text(int n);

// The look every form of the configurator shares: its colour and the Verdana font.
constexpr TColor Form_Color = 15595512;
constexpr TColor Btn_Color_When_Down = 33023;
void Style_Form(TForm *Form);
// A graphic button in the configurator's look; its click goes to OnClick.
TLbButton *New_Lb_Button(TWinControl *Parent, int Left, int Top, int Width, int Height);
// Moves Control left as far as needed for its right edge to stay at or before Right: a web
// address longer than its place would otherwise run out of the window.
void Keep_Inside(TControl *Control, int Right);
// Loads a picture of the configurator's own resources ("ABOUT_LOGO", "STEP_NEW", ...) into
// Bitmap; raises EResNotFound for an unknown name.
void Load_Configurator_Bitmap(TBitmap *Bitmap, const UnicodeString &Name);
// Gives the button the glyph of that name, from the configurator's resources or the graphic
// button's own ("LBOK", "BTN_INFO", ...), with Frames frames side by side. A missing picture
// leaves the button without a glyph.
void Set_Lb_Glyph(TLbButton *Button, const UnicodeString &Name, int Frames = 1);
// A label on Parent at (Top, Left).
TLabel *New_Label(TWinControl *Parent, int Top, int Left);
// The dialogs' title panel with L_SW_Code and L_SW_Desc, and their button panel with Btn_OK
// at left 16 and Btn_Cancel at left 134 (110 x 28 each; Cancel with the modal result Cancel).
struct TDialog_Frame {
    TPanel *P_Title = nullptr;
    TLabel *L_SW_Code = nullptr;
    TLabel *L_SW_Desc = nullptr;
    TPanel *P_Button = nullptr;
    TLbButton *Btn_OK = nullptr;
    TLbButton *Btn_Cancel = nullptr;
};
TDialog_Frame New_Dialog_Frame(TForm *Form);
