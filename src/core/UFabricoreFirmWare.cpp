#include "core/UFabricoreFirmWare.h"

#include "controls/LbButton.h"
#include "core/UAbout.h"
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/USettings.h"
#include "core/USoftOptions.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrls.h"
#include "platform/FileUtils.h"
#include "platform/HttpClient.h"
#include "platform/ShellApi.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"
#include "platform/WebService.h"
#include "platform/XMLDoc.h"

#include <QtCore/qglobal.h>

#include <algorithm>

TFFabricoreFirmWare *FFabricoreFirmWare = nullptr;
TProtocol_Steps Protocol_Steps;

namespace {

// First check a minute after the timer is switched on, then every two hours.
constexpr Cardinal First_Check_Interval = 60000;
constexpr Cardinal Later_Check_Interval = 7200000;

void Set_Font(TFont *Font, int Height, TColor Color, bool Bold)
{
    SetFontFace(Font, QStringLiteral("Verdana"), Height, Bold ? TFontStyles{TFontStyle::fsBold} : TFontStyles{});
    Font->SetColor(Color);
}

TLabel *Grey_Label(TWinControl *Parent, int Top, int Left, bool Bold)
{
    TLabel *L = New_Label(Parent, Top, Left);
    L->SetParentFont(false);
    Set_Font(L->Font(), -11, clGray, Bold);
    return L;
}

} // namespace

static void Init_Configurator_Resources()
{
    // The pictures are compiled into this static library; the linker keeps them only when
    // someone asks for them by name.
    static const bool done = [] {
        Q_INIT_RESOURCE(Configurator);
        return true;
    }();
    (void)done;
}

void Load_Configurator_Bitmap(TBitmap *Bitmap, const UnicodeString &Name)
{
    Init_Configurator_Resources();
    Bitmap->LoadFromResourceName(Name);
}

void Set_Lb_Glyph(TLbButton *Button, const UnicodeString &Name, int Frames)
{
    try {
        if (Name.startsWith(QStringLiteral("LB")) || Name.startsWith(QStringLiteral("BTN_")))
            LoadLbResourceBitmap(Button->Glyph(), Name);
        else
            Load_Configurator_Bitmap(Button->Glyph(), Name);
        Button->SetNumGlyphs(Frames);
    } catch (const Exception &) {
        // A button without its picture still works.
    }
}

void Keep_Inside(TControl *Control, int Right)
{
    if (Control->Left() + Control->Width() > Right)
        Control->SetLeft(std::max(0, Right - Control->Width()));
}

UnicodeString Lang_Text(int n)
{
    return SL_Lang_Text->Strings(n);
}

UnicodeString Download_Link_Html(const UnicodeString &Text)
{
    return QStringLiteral("<a href=\"") + WebDownloadPageURL(QStringLiteral("DV40385")) + QStringLiteral("\">") + Text
           + QStringLiteral("</a>");
}

void Style_Form(TForm *Form)
{
    Form->SetBorderStyle(bsSingle);
    Form->SetBorderIcons(TBorderIcons{biSystemMenu});
    Form->SetPosition(poScreenCenter);
    Form->SetScaled(false);
    Form->SetColor(Form_Color);
    Set_Font(Form->Font(), -11, clWindowText, false);
    Form->SetShowHint(true);
}

TLbButton *New_Lb_Button(TWinControl *Parent, int Left, int Top, int Width, int Height)
{
    auto *B = new TLbButton(Parent->GetParentForm() ? static_cast<TComponent *>(Parent->GetParentForm()) : Parent);
    B->SetParent(Parent);
    B->SetBounds(Left, Top, Width, Height);
    B->SetParentColor(false);
    B->SetColor(Form_Color);
    B->SetLightColor(clGray);
    B->SetColorWhenDown(Btn_Color_When_Down);
    B->SetHotTrackColor(clYellow);
    B->SetUseHotTrackFont(false);
    B->SetStyle(bsEncarta);
    B->SetShowHint(true);
    return B;
}

TLabel *New_Label(TWinControl *Parent, int Top, int Left)
{
    auto *L = new TLabel(Parent->GetParentForm() ? static_cast<TComponent *>(Parent->GetParentForm()) : Parent);
    L->SetParent(Parent);
    L->SetLeft(Left);
    L->SetTop(Top);
    L->SetTransparent(true);
    return L;
}

TDialog_Frame New_Dialog_Frame(TForm *Form)
{
    TDialog_Frame F;
    F.P_Title = new TPanel(Form);
    F.P_Title->SetParent(Form);
    F.P_Title->SetAlign(alTop);
    F.P_Title->SetHeight(69);
    F.P_Title->SetBevelOuter(bvNone);
    F.P_Title->SetParentColor(false);
    F.P_Title->SetColor(Form_Color);
    F.P_Title->SetShowCaption(false);
    F.L_SW_Code = New_Label(F.P_Title, 8, 16);
    F.L_SW_Code->SetParentFont(false);
    Set_Font(F.L_SW_Code->Font(), -32, clGray, false);
    F.L_SW_Desc = New_Label(F.P_Title, 42, 16);
    F.L_SW_Desc->SetParentFont(false);
    Set_Font(F.L_SW_Desc->Font(), -11, clGray, true);

    F.P_Button = new TPanel(Form);
    F.P_Button->SetParent(Form);
    F.P_Button->SetAlign(alBottom);
    F.P_Button->SetHeight(40);
    F.P_Button->SetBevelOuter(bvNone);
    F.P_Button->SetParentColor(false);
    F.P_Button->SetColor(Form_Color);
    F.P_Button->SetShowCaption(false);
    F.Btn_OK = New_Lb_Button(F.P_Button, 16, 6, 110, 28);
    F.Btn_Cancel = New_Lb_Button(F.P_Button, 134, 6, 110, 28);
    F.Btn_Cancel->SetModalResult(mrCancel);
    Set_Lb_Glyph(F.Btn_OK, QStringLiteral("LBOK"), 2);
    Set_Lb_Glyph(F.Btn_Cancel, QStringLiteral("LBCANCEL"), 2);
    return F;
}

// ---------------------------------------------------------------------------------------------

TFFabricoreFirmWare::TFFabricoreFirmWare(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("FFabricoreFirmWare"));
    Style_Form(this);
    SetShowHint(true);

    L_SW_Code = Grey_Label(this, 8, 16, false);
    L_SW_Code->Font()->SetHeight(-32);
    L_SW_Desc = Grey_Label(this, 42, 16, true);

    LL_Update = new TLinkLabel(this);
    LL_Update->SetParent(this);
    LL_Update->SetParentColor(true);
    LL_Update->OnLinkClick = [this](TObject *S, const UnicodeString &Link, TSysLinkType Type) {
        LL_UpdateLinkClick(S, Link, Type);
    };

    Shape2 = new TShape(this);
    Shape2->SetParent(this);
    Shape2->Pen()->SetColor(clSilver);
    Shape2->Brush()->SetStyle(TBrushStyle::bsClear);

    L_Name_Conf = Grey_Label(this, 75, 87, false);
    L_Name_Conf_L2 = Grey_Label(this, 88, 87, false);
    L_Begin = Grey_Label(this, 84, 16, true);
    TLabel **Steps[] = {&L_Step_1, &L_Step_2, &L_Step_3, &L_Step_4, &L_Step_5, &L_Step_6, &L_Step_7, &L_Step_8};
    for (TLabel **L : Steps)
        *L = Grey_Label(this, 0, 16, true);

    auto header = [this](int Left, const char *Glyph) {
        TLbButton *B = New_Lb_Button(this, Left, 8, 50, 50);
        B->SetStyle(bsNormal);
        B->SetParentFont(false);
        Set_Font(B->Font(), -11, 0x333333, false);
        Set_Lb_Glyph(B, QString::fromLatin1(Glyph));
        return B;
    };
    Btn_Info = header(516, "BTN_INFO");
    Btn_Opz = header(574, "BTN_OPZ");
    Btn_Close = header(632, "BTN_CLOSE");

    auto step = [this](TColor HotTrack) {
        TLbButton *B = New_Lb_Button(this, 0, 0, 170, 36);
        B->SetAlignment(taLeftJustify);
        B->SetHotTrackColor(HotTrack);
        return B;
    };
    Btn_New = step(clSkyBlue);
    Btn_Open = step(clSkyBlue);
    Btn_Prm_Gen = step(clYellow);
    Btn_Prm_Gen->SetStyle(bsNormal);
    Btn_Prm_Gen->SetParentFont(false);
    Set_Font(Btn_Prm_Gen->Font(), -11, 0x333333, false);
    Btn_EtherNetIP_Access = step(clYellow);
    Btn_CreateBin = step(clSkyBlue);
    Set_Lb_Glyph(Btn_New, QStringLiteral("STEP_NEW"));
    Set_Lb_Glyph(Btn_Open, QStringLiteral("STEP_OPEN"));
    Set_Lb_Glyph(Btn_Prm_Gen, QStringLiteral("STEP_PARGEN"));
    Set_Lb_Glyph(Btn_EtherNetIP_Access, QStringLiteral("STEP_NETWORK"));
    Set_Lb_Glyph(Btn_CreateBin, QStringLiteral("STEP_UPDATE"));

    Shape1 = new TShape(this);
    Shape1->SetParent(this);
    Shape1->Pen()->SetColor(clSilver);

    L_Veltra = Grey_Label(this, 0, 565, true);
    L_Veltra->SetCursor(crHandPoint);
    L_Veltra->OnClick = [this](TObject *S) { L_VeltraClick(S); };

    TLbButton **Hidden[] = {&Btn_PROFINET_XML, &Btn_SNMP_Trap, &Btn_SNMP_MIB, &Btn_PROFIBUS_GSD,
                            &Btn_CAN_Send_Frame, &Btn_CAN_Rec_Frame, &Btn_BACnet_SetAccess, &Btn_BACnet_EDE_File,
                            &Btn_KNX_Access, &Btn_MQTT_Set_Topic, &Btn_SDO_Server_CANopen, &Btn_SDO_Client_CANopen,
                            &Btn_PDO_CANopen, &Btn_CANopen_EDS};
    for (TLbButton **B : Hidden)
        *B = step(clYellow);

    for (TLbButton *B : {Btn_Info, Btn_Opz, Btn_Close, Btn_New, Btn_Open, Btn_Prm_Gen, Btn_EtherNetIP_Access, Btn_CreateBin})
        B->OnClick = [this](TObject *S) { Btn_Click(S); };
    for (TLbButton **B : Hidden)
        (*B)->OnClick = [this](TObject *S) { Btn_Click(S); };

    Timer_Update = new TTimer(this);
    Timer_Update->SetEnabled(false);
    Timer_Update->SetInterval(First_Check_Interval);
    Timer_Update->OnTimer = [this](TObject *S) { Timer_UpdateTimer(S); };

    XML1 = new TXMLDocument(this);
    HTTP1 = new THTTPClient(this);
    HTTP1->SetAccept(QStringLiteral("text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"));
    HTTP1->SetUserAgent(QStringLiteral("Mozilla/3.0 (compatible; Indy Library)"));

    SaveMIB = new TSaveDialog(this);
    SaveMIB->SetFilter(QStringLiteral("Management Information Base (*.mib)|*.mib"));
    SaveMIB->SetDefaultExt(QStringLiteral("*.mib"));
    SD1 = new TSaveDialog(this);
    SD1->SetFilter(QStringLiteral("CSV (MS-DOS) (*.csv)|*.csv"));
    SaveEDS = new TSaveDialog(this);
    SaveEDS->SetFilter(QStringLiteral("Electronic Data Sheet (*.eds)|*.eds"));
    SaveEDS->SetDefaultExt(QStringLiteral("*.eds"));

    OnCreate = [this](TObject *S) { FormCreate(S); };
    OnClose = [this](TObject *S, TCloseAction &A) { FormClose(S, A); };
}

void TFFabricoreFirmWare::FormCreate(TObject *Sender)
{
    SL_Lang_Text = std::make_unique<TStringList>();

    // Place the steps of this converter; the sibling converters' steps stay hidden.
    LL_Update->SetVisible(false);
    LL_Update->SetBounds(208, 19, LL_Update->Width(), LL_Update->Height());
    Shape2->SetBounds(80, 70, 348, 36);
    const int step_tops[] = {128, 172, 216, 260, 304, 348, 392, 436};
    TLabel *steps[] = {L_Step_1, L_Step_2, L_Step_3, L_Step_4, L_Step_5, L_Step_6, L_Step_7, L_Step_8};
    for (int i = 0; i < 8; ++i) {
        steps[i]->SetTop(step_tops[i]);
        steps[i]->SetVisible(i < 4);
    }
    Btn_New->SetBounds(80, 112, 170, 36);
    Btn_Open->SetBounds(258, 112, 170, 36);
    Btn_Prm_Gen->SetBounds(80, 156, 170, 36);
    Btn_EtherNetIP_Access->SetBounds(80, 200, 170, 36);
    Btn_CreateBin->SetBounds(80, 244, 170, 36);
    for (TLbButton *B : {Btn_PROFINET_XML, Btn_SNMP_Trap, Btn_SNMP_MIB, Btn_PROFIBUS_GSD, Btn_CAN_Send_Frame,
                         Btn_CAN_Rec_Frame, Btn_BACnet_SetAccess, Btn_BACnet_EDE_File, Btn_KNX_Access,
                         Btn_MQTT_Set_Topic, Btn_SDO_Server_CANopen, Btn_SDO_Client_CANopen, Btn_PDO_CANopen,
                         Btn_CANopen_EDS})
        B->SetVisible(false);
    Shape1->SetBounds(10, Btn_CreateBin->Top() + 51, 674, 1);
    L_Veltra->SetTop(L_Step_4->Top());
    L_Veltra->SetCaption(WebServiceHost());
    Keep_Inside(L_Veltra, 694 - 10);
    SetClientSize(694, Btn_CreateBin->Top() + 152);

    Set_Program_Paths(ProgramFolder());
    // An installed copy may sit in a folder we may not write: the program still starts, but the
    // user learns at once that nothing can be kept there.
    UnicodeString Failed_Folder;
    for (const UnicodeString &Folder : {Path_Master, Path_Projects, Path_Language})
        if (!DirectoryExists(Folder) && !ForceDirectories(Folder) && Failed_Folder.isEmpty())
            Failed_Folder = Folder;

    Name_Active_Conf.clear();
    Update_Read_Back = true;
    Read_Setting(XML1);
    Update_Timer_State();

    Set_Identity_Texts();
    SetCaption(Caption_Main);
    L_SW_Code->SetCaption(SW_Code);
    L_SW_Desc->SetCaption(SW_Desc);

    Load_Language();

    // A remembered configuration whose folder is gone stays named, so the settings file keeps
    // it until another one is created or opened. A name that would reach outside "PROJECTS"
    // (a settings file edited by hand) is never opened.
    if (Is_Conf_Folder_Name(Name_Active_Conf) && DirectoryExists(Path_Projects + QStringLiteral("\\") + Name_Active_Conf))
        Path_Active_Conf = Path_Projects + QStringLiteral("\\") + Name_Active_Conf;
    else
        Path_Active_Conf.clear();
    Set_Lang();
    Set_Files();
    Create_Common_Lists();
    if (!Failed_Folder.isEmpty())
        MessageDlg(QStringLiteral("Cannot create folder \"%1\".").arg(NativePath(Failed_Folder)), mtError,
                   TMsgDlgButtons{mbOK}, 0);
}

void TFFabricoreFirmWare::FormClose(TObject *Sender, TCloseAction &Action)
{
    Save_Setting();
}

void TFFabricoreFirmWare::Show_Refused_Step()
{
    MessageDlg(Lang_Text(18), mtError, TMsgDlgButtons{mbOK}, 0);
}

void TFFabricoreFirmWare::Btn_Click(TObject *Sender)
{
    if (Sender == Btn_New) {
        Create_New_Project();
    } else if (Sender == Btn_Open) {
        Open_Project();
    } else if (Sender == Btn_Close) {
        Close();
    } else if (Sender == Btn_Info) {
        if (FAbout)
            FAbout->ShowModal();
    } else if (Sender == Btn_Opz) {
        if (FSoftOptions && FSoftOptions->ShowModal() == mrOk) {
            Save_Setting();
            Update_Timer_State();
        }
    } else if (Path_Active_Conf.isEmpty()) {
        Show_Refused_Step();
    } else if (Sender == Btn_Prm_Gen) {
        Step_Set_Communication();
    } else if (Sender == Btn_EtherNetIP_Access) {
        Step_EtherNetIP_Access();
    } else if (Sender == Btn_PROFIBUS_GSD) {
        Run_Protocol_Step(Protocol_Steps.Create_GSD_File);
    } else if (Sender == Btn_BACnet_EDE_File) {
        BACnet_EDE_File();
    } else if (Sender == Btn_PROFINET_XML) {
        PROFINET_XML();
    } else if (Sender == Btn_SNMP_MIB) {
        Run_Protocol_Step(Protocol_Steps.Create_MIB_File);
    } else if (Sender == Btn_CAN_Rec_Frame) {
        Run_Protocol_Step(Protocol_Steps.CAN_Rec_Frame);
    } else if (Sender == Btn_CAN_Send_Frame) {
        Run_Protocol_Step(Protocol_Steps.CAN_Send_Frame);
    } else if (Sender == Btn_BACnet_SetAccess) {
        Run_Protocol_Step(Protocol_Steps.BACnet_SetAccess);
    } else if (Sender == Btn_KNX_Access) {
        Run_Protocol_Step(Protocol_Steps.KNX_Access);
    } else if (Sender == Btn_SNMP_Trap) {
        Run_Protocol_Step(Protocol_Steps.SNMP_Trap);
    } else if (Sender == Btn_MQTT_Set_Topic) {
        Run_Protocol_Step(Protocol_Steps.MQTT_Set_Topic);
    } else if (Sender == Btn_PDO_CANopen) {
        Run_Protocol_Step(Protocol_Steps.PDO_CANopen);
    } else if (Sender == Btn_SDO_Client_CANopen) {
        Run_Protocol_Step(Protocol_Steps.SDO_Client_CANopen);
    } else if (Sender == Btn_SDO_Server_CANopen) {
        Run_Protocol_Step(Protocol_Steps.SDO_Server_CANopen);
    } else if (Sender == Btn_CANopen_EDS) {
        Build_EDS_File();
    } else if (Sender == Btn_CreateBin) {
        Update_Device();
    }
    // The other hidden steps open the editors of the sibling converters, which come with them.
}

void TFFabricoreFirmWare::Run_Protocol_Step(const std::function<void()> &Step)
{
    if (!Step)
        return;
    try {
        Step();
    } catch (...) {
        Application->HandleException(this);
    }
}

void TFFabricoreFirmWare::Set_Conf_Labels()
{
    if (!Path_Active_Conf.isEmpty()) {
        L_Name_Conf->SetCaption(Lang_Text(11));
        L_Name_Conf_L2->SetCaption(Name_Active_Conf);
    } else {
        L_Name_Conf->SetCaption(Lang_Text(9));
        L_Name_Conf_L2->SetCaption(Lang_Text(10));
    }
}

void TFFabricoreFirmWare::Set_Lang()
{
    L_Begin->SetCaption(Lang_Text(0));
    TLabel *steps[] = {L_Step_1, L_Step_2, L_Step_3, L_Step_4, L_Step_5, L_Step_6, L_Step_7, L_Step_8};
    for (int i = 0; i < 8; ++i)
        steps[i]->SetCaption(Lang_Text(1 + i));
    Btn_Info->SetHint(Lang_Text(12));
    Btn_Opz->SetHint(Lang_Text(13));
    Btn_Close->SetHint(Lang_Text(14));
    Btn_New->SetCaption(Lang_Text(15));
    Btn_Open->SetCaption(Lang_Text(16));
    Btn_CreateBin->SetCaption(Lang_Text(17));
    Btn_Prm_Gen->SetCaption(Lang_Text(20));
    Btn_EtherNetIP_Access->SetCaption(Lang_Text(21));
    Btn_New->SetHint(Lang_Text(22));
    Btn_Open->SetHint(Lang_Text(23));
    Btn_Prm_Gen->SetHint(Lang_Text(24));
    Btn_EtherNetIP_Access->SetHint(Lang_Text(25));
    Btn_CreateBin->SetHint(Lang_Text(26));
    const std::pair<TLbButton *, int> pairs[] = {
        {Btn_PROFINET_XML, 27},       {Btn_SNMP_Trap, 29},          {Btn_SNMP_MIB, 31},
        {Btn_MQTT_Set_Topic, 33},     {Btn_CAN_Rec_Frame, 35},      {Btn_CAN_Send_Frame, 37},
        {Btn_KNX_Access, 39},         {Btn_BACnet_SetAccess, 41},   {Btn_BACnet_EDE_File, 43},
        {Btn_PROFIBUS_GSD, 45},       {Btn_SDO_Server_CANopen, 47}, {Btn_SDO_Client_CANopen, 49},
        {Btn_PDO_CANopen, 51},        {Btn_CANopen_EDS, 53}};
    for (const auto &[B, n] : pairs) {
        B->SetCaption(Lang_Text(n));
        B->SetHint(Lang_Text(n + 1));
    }
    Set_Conf_Labels();
}

void TFFabricoreFirmWare::Change_Language()
{
    Set_Lang();
    if (FNew_Project)
        FNew_Project->Set_Lang();
    if (FOpenConf)
        FOpenConf->Set_Lang();
    if (FSoftOptions)
        FSoftOptions->Set_Lang();
    Change_Language_Editors();
}

void TFFabricoreFirmWare::Update_Timer_State()
{
    Timer_Update->SetEnabled(Opt_Internet && Opt_Check_Update);
}

void TFFabricoreFirmWare::Timer_UpdateTimer(TObject *Sender)
{
    Timer_Update->SetEnabled(false);
    if (FSoftOptions && FSoftOptions->Check_Version()) {
        LL_Update->SetCaption(Download_Link_Html(Lang_Text(19)));
        LL_Update->SetVisible(true);
    } else {
        LL_Update->SetVisible(false);
    }
    Timer_Update->SetInterval(Later_Check_Interval);
    Timer_Update->SetEnabled(true);
}

void TFFabricoreFirmWare::LL_UpdateLinkClick(TObject *Sender, const UnicodeString &Link, TSysLinkType LinkType)
{
    ShellOpenWebLink(Link);
}

void TFFabricoreFirmWare::L_VeltraClick(TObject *Sender)
{
    ShellOpenWebLink(WebHomePageURL(QStringLiteral("CF40385")));
}

void TFFabricoreFirmWare::Create_New_Project()
{
    if (FNew_Project && FNew_Project->ShowModal() == mrOk) {
        L_Name_Conf->SetCaption(Lang_Text(11));
        L_Name_Conf_L2->SetCaption(Name_Active_Conf);
    }
}

void TFFabricoreFirmWare::Open_Project()
{
    if (!FOpenConf || FOpenConf->ShowModal() != mrOk)
        return;
    Name_Active_Conf = FOpenConf->Name_Conf;
    if (!Name_Active_Conf.isEmpty())
        Path_Active_Conf = Path_Projects + QStringLiteral("\\") + Name_Active_Conf;
    else
        Path_Active_Conf.clear();
    Set_Conf_Labels();
    Set_Files();
}

void TFFabricoreFirmWare::Set_Files()
{
    ::Set_Files();
}

bool TFFabricoreFirmWare::Save_Setting()
{
    try {
        ::Save_Setting(XML1);
        return true;
    } catch (const Exception &E) {
        // Closing must not be blocked by a folder we may not write (an installed copy): the
        // user learns that the settings were not kept, and the program goes on or ends.
        MessageDlg(E.Message(), mtError, TMsgDlgButtons{mbOK}, 0);
        return false;
    }
}

void TFFabricoreFirmWare::PROFINET_XML()
{
    Run_Protocol_Step(Protocol_Steps.PROFINET_XML);
}

void TFFabricoreFirmWare::BACnet_EDE_File()
{
    // Without its writer the step asks nothing.
    if (!Protocol_Steps.Create_EDE_File)
        return;
    SD1->SetInitialDir(Path_Active_Conf);
    if (!SD1->Execute())
        return;
    UnicodeString Name = SD1->FileName();
    if (Name.right(4).toUpper() != QStringLiteral(".CSV"))
        Name += QStringLiteral(".csv");
    if (FileExists(Name)
        && MessageDlg(Lang_Text(1103), mtConfirmation, TMsgDlgButtons{mbYes, mbNo, mbCancel}, 0) != mrYes)
        return;
    Run_Protocol_Step([&Name] { Protocol_Steps.Create_EDE_File(Name); });
}

void TFFabricoreFirmWare::Build_EDS_File()
{
    if (!Protocol_Steps.Write_EDS_File)
        return;
    SaveEDS->SetInitialDir(Path_Active_Conf);
    if (!SaveEDS->Execute())
        return;
    const UnicodeString Name = SaveEDS->FileName();
    Run_Protocol_Step([&Name] { Protocol_Steps.Write_EDS_File(Name); });
}

int TFFabricoreFirmWare::Get_Type_BACnet()
{
    if (!FileExists(File_ParGen))
        return 0;
    try {
        XML1->LoadFromFile(File_ParGen);
        TXMLNode root = Document_Root(XML1);
        if (root.IsNull())
            return 0;
        return StrToIntDef(root.ChildNodes().FindNode(QStringLiteral("BACnet_Type")).Text(), 0);
    } catch (const Exception &) {
        return 0;
    }
}
