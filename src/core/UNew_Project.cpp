#include "core/UNew_Project.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrls.h"
#include "platform/FileUtils.h"
#include "platform/StdCtrls.h"

TFNew_Project *FNew_Project = nullptr;

bool Is_Conf_Folder_Name(const UnicodeString &Name)
{
    if (Name.isEmpty() || Name.startsWith(u'.'))
        return false;
    for (QChar c : Name)
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            return false;
    return true;
}

TFNew_Project::TFNew_Project(TComponent *AOwner) : TFConf_Dialog(AOwner)
{
    SetName(QStringLiteral("FNew_Project"));
    Label1 = New_Label(this, 70, 16);
    E_New_Proj = new TEdit(this);
    E_New_Proj->SetParent(this);
    E_New_Proj->SetBounds(16, 94, 297, 21);
    E_New_Proj->SetShowHint(true);
    E_New_Proj->OnKeyPress = [this](TObject *S, WideChar &Key) { E_New_ProjKeyPress(S, Key); };
    Btn_OK->OnClick = [this](TObject *S) { Btn_OKClick(S); };
    OnCreate = [this](TObject *S) { FormCreate(S); };
    OnShow = [this](TObject *S) { FormShow(S); };
}

void TFNew_Project::FormCreate(TObject *Sender)
{
    L_SW_Code->SetCaption(SW_Code);
    SetClientSize(331, 162);
    Set_Lang();
}

void TFNew_Project::FormShow(TObject *Sender)
{
    E_New_Proj->SetText(UnicodeString());
    if (E_New_Proj->CanFocus())
        E_New_Proj->SetFocus();
}

void TFNew_Project::E_New_ProjKeyPress(TObject *Sender, WideChar &Key)
{
    if (Key == 13)
        Btn_OKClick(Sender);
}

void TFNew_Project::Btn_OKClick(TObject *Sender)
{
    const UnicodeString Name = E_New_Proj->Text();
    if (Name.isEmpty()) {
        MessageDlg(Lang_Text(107), mtError, TMsgDlgButtons{mbOK}, 0);
        return;
    }
    const UnicodeString Folder = Path_Projects + QStringLiteral("\\") + Name;
    if (Is_Conf_Folder_Name(Name) && DirectoryExists(Folder)) {
        MessageDlg(Lang_Text(106), mtError, TMsgDlgButtons{mbOK}, 0);
        return;
    }
    // A name is a folder inside "PROJECTS" and nothing else: what would reach another folder
    // is refused like a name the folder creation cannot take.
    if (!Is_Conf_Folder_Name(Name) || !CreateDir(Folder)) {
        MessageDlg(Lang_Text(105), mtError, TMsgDlgButtons{mbOK}, 0);
        return;
    }
    ForceDirectories(Folder + QStringLiteral("\\bin"));
    Name_Active_Conf = Name;
    Path_Active_Conf = Folder;
    if (FFabricoreFirmWare)
        FFabricoreFirmWare->Set_Files();
    SetModalResult(mrOk);
}

void TFNew_Project::Set_Lang()
{
    SetCaption(Lang_Text(100));
    L_SW_Desc->SetCaption(Lang_Text(101));
    Label1->SetCaption(Lang_Text(102));
    Btn_OK->SetCaption(Lang_Text(103));
    Btn_Cancel->SetCaption(Lang_Text(104));
    E_New_Proj->SetHint(Lang_Text(108));
    Btn_OK->SetHint(Lang_Text(109));
    Btn_Cancel->SetHint(Lang_Text(110));
}
