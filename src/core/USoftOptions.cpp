#include "core/USoftOptions.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/ULanguage.h"
#include "platform/ComCtrls.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrls.h"
#include "platform/FileUtils.h"
#include "platform/HttpClient.h"
#include "platform/ShellApi.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"
#include "platform/WebService.h"

TFSoftOptions *FSoftOptions = nullptr;

namespace {

// Language files are listed when their attributes lie within hidden, system, archive, normal,
// sparse and not content-indexed: read-only files and folders are left out.
constexpr int Lang_Search_Attr = faHidden | faSysFile | faArchive | faNormal;
constexpr int Lang_Listed_Attr = Lang_Search_Attr | faSparseFile | faNotContentIndexed;

struct TSlot_Place {
    int Image_Top, Image_Left, Label_Top, Label_Left;
};
constexpr TSlot_Place Slot_Places[Lang_Slots] = {
    {40, 24, 56, 80}, {94, 26, 110, 80}, {148, 24, 164, 80},
    {40, 254, 56, 310}, {94, 254, 110, 310}, {148, 254, 164, 310}};

TCheckBox *New_Check_Box(TWinControl *Parent, int Top, int Left)
{
    auto *C = new TCheckBox(Parent->GetParentForm() ? static_cast<TComponent *>(Parent->GetParentForm()) : Parent);
    C->SetParent(Parent);
    C->SetBounds(Left, Top, 460 - Left, 17);
    return C;
}

} // namespace

TFSoftOptions::TFSoftOptions(TComponent *AOwner) : TFConf_Dialog(AOwner)
{
    SetName(QStringLiteral("FSoftOptions"));
    SetClientSize(509, 373);
    Btn_OK->OnClick = [this](TObject *S) { Btn_OKClick(S); };

    PC_Options = new TPageControl(this);
    PC_Options->SetParent(this);
    PC_Options->SetAlign(alClient);
    auto sheet = [this] {
        auto *T = new TTabSheet(this);
        T->SetPageControl(PC_Options);
        return T;
    };
    TS_Language = sheet();
    TS_Con_Options = sheet();
    TS_Soft_Settings = sheet();

    L_Sel_Lang = New_Label(TS_Language, 11, 12);
    TImage **images[] = {&I_L1, &I_L2, &I_L3, &I_L4, &I_L5, &I_L6};
    TLabel **labels[] = {&L_L1, &L_L2, &L_L3, &L_L4, &L_L5, &L_L6};
    for (int k = 0; k < Lang_Slots; ++k) {
        auto *I = new TImage(this);
        I->SetParent(TS_Language);
        I->SetBounds(Slot_Places[k].Image_Left, Slot_Places[k].Image_Top, 48, 48);
        I->SetStretch(true);
        I->SetCursor(crHandPoint);
        I->OnClick = [this](TObject *S) { LangClick(S); };
        *images[k] = I;
        TLabel *L = New_Label(TS_Language, Slot_Places[k].Label_Top, Slot_Places[k].Label_Left);
        L->SetCursor(crHandPoint);
        L->OnClick = [this](TObject *S) { LangClick(S); };
        *labels[k] = L;
    }
    Btn_Prev = New_Lb_Button(TS_Language, 12, 204, 110, 28);
    L_Page_Lang = New_Label(TS_Language, 212, 220);
    Btn_Next = New_Lb_Button(TS_Language, 379, 205, 110, 28);
    Btn_Next->SetLayout(blGlyphRight);
    Set_Lb_Glyph(Btn_Prev, QStringLiteral("PAGE_PREV"));
    Set_Lb_Glyph(Btn_Next, QStringLiteral("PAGE_NEXT"));
    Btn_Prev->OnClick = [this](TObject *S) { Btn_NextClick(S); };
    Btn_Next->OnClick = [this](TObject *S) { Btn_NextClick(S); };

    CB_En_Con = New_Check_Box(TS_Con_Options, 16, 12);
    CB_Update = New_Check_Box(TS_Con_Options, 47, 36);
    Btn_Check_Update = New_Lb_Button(TS_Con_Options, 36, 78, 200, 28);
    Btn_Check_Update->OnClick = [this](TObject *S) { Btn_Check_UpdateClick(S); };
    LL_Check_Update = new TLinkLabel(this);
    LL_Check_Update->SetParent(TS_Con_Options);
    LL_Check_Update->SetLeft(40);
    LL_Check_Update->SetTop(120);
    LL_Check_Update->OnLinkClick = [this](TObject *S, const UnicodeString &Link, TSysLinkType Type) {
        LL_Check_UpdateLinkClick(S, Link, Type);
    };
    CB_Soft_Set_Jump_Table = New_Check_Box(TS_Soft_Settings, 16, 12);
    CB_DoubleClick_Auto_Size = New_Check_Box(TS_Soft_Settings, 39, 12);
    for (TCheckBox *C : {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size})
        C->OnClick = [this](TObject *S) { CB_En_ConClick(S); };

    OnCreate = [this](TObject *S) { FormCreate(S); };
    OnShow = [this](TObject *S) { FormShow(S); };
}

void TFSoftOptions::FormCreate(TObject *Sender)
{
    SL_Languages = std::make_unique<TStringList>();
    L_SW_Code->SetCaption(SW_Code);
    TS_Con_Options->SetTabVisible(true);
    Set_Lang();
}

void TFSoftOptions::FormShow(TObject *Sender)
{
    Language_In_Use = Language_Name;
    Create_Lang_List();
    LL_Check_Update->SetVisible(false);
    PC_Options->SetActivePage(TS_Language);
    CB_En_Con->SetChecked(Opt_Internet);
    CB_Update->SetChecked(Opt_Check_Update);
    CB_Soft_Set_Jump_Table->SetChecked(Opt_Jump_Field);
    CB_DoubleClick_Auto_Size->SetChecked(Opt_AutoSize_Col);
    Update_CheckBox();
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages->Clear();
    const QStringList Names = Find_File_Names(Path_Language + QStringLiteral("\\*.lng"), Lang_Search_Attr,
                                              [](const TSearchRec &F) { return (F.Attr & ~Lang_Listed_Attr) == 0; });
    for (const UnicodeString &Name : Names)
        SL_Languages->Add(Name);
    if (SL_Languages->Count() > 0)
        SL_Languages->Sort();
    Show_Page = 1;
    Update_Lang_Page(1);
}

TImage *TFSoftOptions::Slot_Image(int k) const
{
    TImage *const images[] = {I_L1, I_L2, I_L3, I_L4, I_L5, I_L6};
    return images[k - 1];
}

TLabel *TFSoftOptions::Slot_Label(int k) const
{
    TLabel *const labels[] = {L_L1, L_L2, L_L3, L_L4, L_L5, L_L6};
    return labels[k - 1];
}

void TFSoftOptions::Update_Lang_Page(int Num_Page)
{
    const int count = SL_Languages->Count();
    const int pages = (count + Lang_Slots - 1) / Lang_Slots;
    L_Sel_Lang->SetCaption(Lang_Text(304) + Language_In_Use);
    L_Page_Lang->SetCaption(Lang_Text(305) + IntToStr(Num_Page) + Lang_Text(306) + IntToStr(pages));
    Btn_Prev->SetVisible(Num_Page != 1);
    Btn_Next->SetVisible(Num_Page != pages);
    const int n = std::min(Lang_Slots, count - (Num_Page - 1) * Lang_Slots);
    for (int k = 1; k <= Lang_Slots; ++k) {
        Slot_Image(k)->SetVisible(k <= n);
        Slot_Label(k)->SetVisible(k <= n);
    }
    for (int k = 1; k <= n; ++k) {
        const UnicodeString File = SL_Languages->Strings((Num_Page - 1) * Lang_Slots + k - 1);
        const UnicodeString Name = File.left(File.size() - 4);
        Slot_Label(k)->SetCaption(Name);
        TImage *I = Slot_Image(k);
        const UnicodeString Flag = Path_Language + QStringLiteral("\\") + Name + QStringLiteral(".bmp");
        const UnicodeString Default_Flag = Path_Language + QStringLiteral("\\DefaultFlag.bmp");
        bool shown = false;
        for (const UnicodeString &Picture : {Flag, Default_Flag}) {
            if (!FileExists(Picture))
                continue;
            try {
                I->Picture()->LoadFromFile(NativePath(Picture));
                shown = true;
            } catch (const Exception &) {
                // A damaged picture counts as a missing one.
            }
            break;
        }
        if (!shown)
            I->SetVisible(false);
    }
}

void TFSoftOptions::Btn_NextClick(TObject *Sender)
{
    const int pages = (SL_Languages->Count() + Lang_Slots - 1) / Lang_Slots;
    if (Sender == Btn_Next) {
        if (pages >= Show_Page + 1)
            ++Show_Page;
    } else if (Show_Page - 1 > 0) {
        --Show_Page;
    }
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::LangClick(TObject *Sender)
{
    int slot = 0;
    for (int k = 1; k <= Lang_Slots; ++k)
        if (Sender == Slot_Image(k) || Sender == Slot_Label(k))
            slot = k;
    const int index = (Show_Page - 1) * Lang_Slots + slot - 1;
    if (slot == 0 || index >= SL_Languages->Count())
        return;
    const UnicodeString File = SL_Languages->Strings(index);
    const UnicodeString New_Language = File.left(File.size() - 4);
    const UnicodeString Question = Lang_Text(316) + Language_In_Use + Lang_Text(317) + New_Language + Lang_Text(318);
    if (MessageDlg(Question, mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes)
        return;
    Language_In_Use = New_Language;
    // The texts change now for every form; the saved language changes only with OK.
    const UnicodeString Saved_Language = Language_Name;
    Language_Name = New_Language;
    Load_Language();
    Language_Name = Saved_Language;
    if (FFabricoreFirmWare)
        FFabricoreFirmWare->Change_Language();
    else
        Set_Lang();
    // The dialog's own texts were just reset to page 1 of 1; show the page it is on.
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::Update_CheckBox()
{
    CB_Update->SetEnabled(CB_En_Con->Checked());
    Btn_Check_Update->SetEnabled(CB_Update->Enabled() && CB_Update->Checked());
}

void TFSoftOptions::CB_En_ConClick(TObject *Sender)
{
    Update_CheckBox();
}

void TFSoftOptions::Btn_Check_UpdateClick(TObject *Sender)
{
    if (Check_Version())
        LL_Check_Update->SetCaption(Download_Link_Html(Lang_Text(314)));
    else
        LL_Check_Update->SetCaption(Lang_Text(315));
    LL_Check_Update->SetVisible(true);
}

void TFSoftOptions::LL_Check_UpdateLinkClick(TObject *Sender, const UnicodeString &Link, TSysLinkType LinkType)
{
    ShellOpenWebLink(Link);
}

void TFSoftOptions::Btn_OKClick(TObject *Sender)
{
    Language_Name = Language_In_Use;
    Opt_Internet = CB_En_Con->Checked();
    Opt_Check_Update = CB_Update->Checked();
    if (FFabricoreFirmWare)
        FFabricoreFirmWare->Update_Timer_State();
    Opt_Jump_Field = CB_Soft_Set_Jump_Table->Checked();
    Opt_AutoSize_Col = CB_DoubleClick_Auto_Size->Checked();
    SetModalResult(mrOk);
}

void TFSoftOptions::Set_Lang()
{
    SetCaption(Lang_Text(300));
    L_SW_Desc->SetCaption(Lang_Text(301));
    TS_Language->SetCaption(Lang_Text(302));
    TS_Con_Options->SetCaption(Lang_Text(303));
    TS_Soft_Settings->SetCaption(Lang_Text(319));
    L_Sel_Lang->SetCaption(Lang_Text(304));
    L_Page_Lang->SetCaption(Lang_Text(305) + QStringLiteral("1") + Lang_Text(306) + QStringLiteral("1"));
    Btn_Prev->SetCaption(Lang_Text(307));
    Btn_Next->SetCaption(Lang_Text(308));
    CB_En_Con->SetCaption(Lang_Text(309));
    CB_Update->SetCaption(Lang_Text(310));
    Btn_Check_Update->SetCaption(Lang_Text(311));
    Btn_OK->SetCaption(Lang_Text(312));
    Btn_Cancel->SetCaption(Lang_Text(313));
    CB_Soft_Set_Jump_Table->SetCaption(Lang_Text(320));
    CB_DoubleClick_Auto_Size->SetCaption(Lang_Text(321));
}

bool TFSoftOptions::Check_Version()
{
    UnicodeString Answer;
    const UnicodeString URL = WebVersionQueryURL(Const_SW_Code_Web);
    try {
        if (FFabricoreFirmWare && FFabricoreFirmWare->HTTP1) {
            Answer = FFabricoreFirmWare->HTTP1->Get(URL);
        } else {
            THTTPClient Client(nullptr);
            Answer = Client.Get(URL);
        }
    } catch (const Exception &) {
        Answer.clear();
    }
    return Is_Newer_Version(Answer);
}

bool TFSoftOptions::Is_Newer_Version(const UnicodeString &Answer)
{
    const UnicodeString a = UpperCase(Trim(Answer));
    if (a.isEmpty() || a == QStringLiteral("VER. 0.000"))
        return false;
    const int local = Conv_Version(Const_SW_Version);
    const int remote = Conv_Version(Trim(Answer));
    return local != -1 && remote != -1 && remote > local;
}

int TFSoftOptions::Conv_Version(const UnicodeString &Ver_str)
{
    const qsizetype blank = Ver_str.indexOf(u' ');
    const UnicodeString v = Trim(blank < 0 ? Ver_str : Ver_str.mid(blank + 1));
    if (v.size() < 5)
        return -1;
    const UnicodeString digits = UnicodeString(v[0]) + v[2] + v[3] + v[4];
    // Only decimal digits make a version: a hexadecimal reading of an unreadable answer must
    // never look like a newer version.
    for (QChar c : digits)
        if (c < u'0' || c > u'9')
            return -1;
    return StrToIntDef(digits, -1);
}
