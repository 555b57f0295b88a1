#include "editors/mqtt/UTopicTemplate.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "grid/core/ExtGrid.h"
#include "platform/ComCtrls.h"
#include "platform/ExtCtrls.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/StdCtrls.h"

TFTopicTemplate *FTopicTemplate = nullptr;

namespace {

struct TKeyword {
    const char *Word;
    int Description;
};
constexpr TKeyword Keywords[] = {{"$TIME$", 1947}, {"$VALUE$", 1948}, {"$DESC$", 1949}};

void Use_Tahoma(TControl *Control)
{
    SetFontFace(Control->Font(), QStringLiteral("Tahoma"), -11, Control->Font()->Style());
}

} // namespace

TFTopicTemplate::TFTopicTemplate(TComponent *AOwner) : TFConf_Dialog(AOwner)
{
    SetName(QStringLiteral("FTopicTemplate"));
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetPosition(poScreenCenter);
    Use_Tahoma(this);
    Btn_OK->SetModalResult(mrOk);

    // Made bottom up, so that the bottom-aligned legend stands below its splitter.
    P_Legend = new TPanel(this);
    P_Legend->SetParent(this);
    P_Legend->SetAlign(alBottom);
    P_Legend->SetHeight(108);
    P_Legend->SetTop(ClientHeight());
    L_List_Keywords = new TLabel(this);
    L_List_Keywords->SetParent(P_Legend);
    L_List_Keywords->SetBounds(8, 4, 300, 14);
    ESG_Keywords = new TExtStringGrid(this);
    ESG_Keywords->SetParent(P_Legend);
    ESG_Keywords->SetBounds(8, 20, 600, 82);
    ESG_Keywords->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
    ESG_Keywords->SetColCount(2);
    ESG_Keywords->SetFixedCols(0);
    ESG_Keywords->SetRowCount(4);
    ESG_Keywords->SetFixedRows(1);
    ESG_Keywords->SetDefaultRowHeight(22);
    ESG_Keywords->SetColWidths(0, 200);
    ESG_Keywords->SetColWidths(1, 380);
    ESG_Keywords->SetOptions(ESG_Keywords->Options() + TGridOptions{goEditing});
    // A keyword can be selected and copied; its description is only read.
    ESG_Keywords->OnCanEditCell = [](TObject *, int, int ACol, bool &CanEdit) { CanEdit = ACol == 0; };

    Splitter1 = new TSplitter(this);
    Splitter1->SetParent(this);
    Splitter1->SetAlign(alBottom);
    Splitter1->SetHeight(3);
    Splitter1->SetTop(P_Legend->Top() - 3);
    Splitter1->SetColor(clSilver);

    Panel1 = new TPanel(this);
    Panel1->SetParent(this);
    Panel1->SetAlign(alClient);
    RE_TopicTemplate = new TRichEdit(this);
    RE_TopicTemplate->SetParent(Panel1);
    RE_TopicTemplate->SetBounds(8, 6, Panel1->ClientWidth() - 16, Panel1->ClientHeight() - 12);
    RE_TopicTemplate->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
    Use_Tahoma(RE_TopicTemplate);

    OnCreate = [this](TObject *S) { FormCreate(S); };
    OnShow = [this](TObject *S) { FormShow(S); };
}

void TFTopicTemplate::FormCreate(TObject *Sender)
{
    L_SW_Code->SetCaption(SW_Code);
    SetClientSize(635, 396);
    RE_TopicTemplate->SetBounds(8, 6, Panel1->ClientWidth() - 16, Panel1->ClientHeight() - 12);
    ESG_Keywords->SetBounds(8, 20, P_Legend->ClientWidth() - 16, P_Legend->ClientHeight() - 26);
    Set_Lang();
}

void TFTopicTemplate::Set_Lang()
{
    SetCaption(Lang_Text(1900));
    L_SW_Desc->SetCaption(Lang_Text(1902));
    L_List_Keywords->SetCaption(Lang_Text(1904));
    ESG_Keywords->SetCells(0, 0, Lang_Text(1905));
    ESG_Keywords->SetCells(1, 0, Lang_Text(1906));
    Btn_OK->SetCaption(Lang_Text(1907));
    Btn_Cancel->SetCaption(Lang_Text(1908));
}

void TFTopicTemplate::FormShow(TObject *Sender)
{
    SetCaption(Lang_Text(1901));
    L_SW_Desc->SetCaption(Lang_Text(1903));
    Laod_Keywords();
    if (RE_TopicTemplate->CanFocus())
        RE_TopicTemplate->SetFocus();
}

void TFTopicTemplate::Laod_Keywords()
{
    ESG_Keywords->SetRowCount(4);
    int r = 1;
    for (const TKeyword &K : Keywords) {
        ESG_Keywords->SetCells(0, r, QString::fromLatin1(K.Word));
        ESG_Keywords->SetCells(1, r, Lang_Text(K.Description));
        ++r;
    }
}
