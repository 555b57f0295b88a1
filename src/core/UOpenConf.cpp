#include "core/UOpenConf.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/UNew_Project.h"
#include "platform/ExtCtrls.h"
#include "platform/FileUtils.h"
#include "platform/StdCtrls.h"

TFOpenConf *FOpenConf = nullptr;

namespace {

bool Same_Ascii_Case(const UnicodeString &A, const UnicodeString &B)
{
    if (A.size() != B.size())
        return false;
    for (qsizetype i = 0; i < A.size(); ++i) {
        char16_t a = A[i].unicode();
        char16_t b = B[i].unicode();
        if (a >= u'a' && a <= u'z')
            a = static_cast<char16_t>(a - u'a' + u'A');
        if (b >= u'a' && b <= u'z')
            b = static_cast<char16_t>(b - u'a' + u'A');
        if (a != b)
            return false;
    }
    return true;
}

} // namespace

TFOpenConf::TFOpenConf(TComponent *AOwner) : TFConf_Dialog(AOwner)
{
    SetName(QStringLiteral("FOpenConf"));
    SetBorderStyle(bsSizeable);
    SetBorderIcons(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    SetClientSize(377, 351);
    // Anchored to the top right of the button panel, so the pair follows a wider window.
    Btn_OK->SetLeft(377 - 2 * 110 - 24);
    Btn_Cancel->SetLeft(377 - 110 - 16);
    Btn_OK->SetAnchors(TAnchors{akTop, akRight});
    Btn_Cancel->SetAnchors(TAnchors{akTop, akRight});
    Btn_OK->SetModalResult(mrOk);
    Label1 = New_Label(this, 70, 16);
    ListBox1 = new TListBox(this);
    ListBox1->SetParent(this);
    ListBox1->SetBounds(16, 94, 377 - 32, 351 - 94 - 40 - 12);
    ListBox1->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
    ListBox1->SetShowHint(true);
    ListBox1->OnClick = [this](TObject *S) { ListBox1Click(S); };
    SL = std::make_unique<TStringList>();
    OnCreate = [this](TObject *S) { FormCreate(S); };
    OnShow = [this](TObject *S) { FormShow(S); };
}

void TFOpenConf::FormCreate(TObject *Sender)
{
    L_SW_Code->SetCaption(SW_Code);
    SetClientSize(377, 351);
    Set_Lang();
}

void TFOpenConf::Load_Existing_Configuration()
{
    SL->Clear();
    // A folder whose name no configuration can have (made by hand, with a backslash in it)
    // would open another folder than the one listed.
    // Names only: a look at each of thousands of folders would keep the dialog from showing.
    for (const UnicodeString &Name : FindFolderNames(Path_Projects))
        if (Is_Conf_Folder_Name(Name))
            SL->Add(Name);
}

void TFOpenConf::FormShow(TObject *Sender)
{
    SL = std::make_unique<TStringList>();
    Load_Existing_Configuration();
    ListBox1->Items()->Clear();
    for (int i = 0; i < SL->Count(); ++i)
        ListBox1->Items()->Add(SL->Strings(i));

    UnicodeString Open_Name;
    const UnicodeString Prefix = Path_Projects + QStringLiteral("\\");
    if (!Path_Active_Conf.isEmpty() && Path_Active_Conf.startsWith(Prefix))
        Open_Name = Path_Active_Conf.mid(Prefix.size());

    Name_Conf.clear();
    const int i = Search_Open_Conf(Open_Name);
    if (i != -1) {
        ListBox1->SetItemIndex(i);
        Name_Conf = SL->Strings(i);
    } else if (SL->Count() > 0) {
        ListBox1->SetItemIndex(0);
        Name_Conf = SL->Strings(0);
    } else {
        ListBox1->SetItemIndex(-1);
    }
}

int TFOpenConf::Search_Open_Conf(const UnicodeString &Name)
{
    // Where letter case makes two folders ("Plant" and "plant"), the open one is the one named
    // exactly; preselecting its twin would open another configuration on OK.
    for (int i = 0; i < SL->Count(); ++i)
        if (SL->Strings(i) == Name)
            return i;
    for (int i = 0; i < SL->Count(); ++i)
        if (Same_Ascii_Case(SL->Strings(i), Name))
            return i;
    return -1;
}

void TFOpenConf::ListBox1Click(TObject *Sender)
{
    const int i = ListBox1->ItemIndex();
    if (i >= 0 && i < ListBox1->Items()->Count())
        Name_Conf = ListBox1->Items()->Strings(i);
}

void TFOpenConf::Set_Lang()
{
    SetCaption(Lang_Text(200));
    L_SW_Desc->SetCaption(Lang_Text(201));
    Label1->SetCaption(Lang_Text(202));
    Btn_OK->SetCaption(Lang_Text(203));
    Btn_Cancel->SetCaption(Lang_Text(204));
    ListBox1->SetHint(Lang_Text(205));
    Btn_OK->SetHint(Lang_Text(206));
    Btn_Cancel->SetHint(Lang_Text(207));
}
