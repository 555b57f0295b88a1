#pragma once
// The dialog in which a template of the MQTT topics editor is edited: a multi-line text beside
// the list of the keywords a template may hold.

#include "core/UConf_Dialog.h"

class TExtStringGrid;
class TLabel;
class TPanel;
class TRichEdit;
class TSplitter;

class TFTopicTemplate : public TFConf_Dialog {
public:
    explicit TFTopicTemplate(TComponent *AOwner);

    TPanel *Panel1 = nullptr;
    TRichEdit *RE_TopicTemplate = nullptr;
    TSplitter *Splitter1 = nullptr;
    TPanel *P_Legend = nullptr;
    TLabel *L_List_Keywords = nullptr;
    TExtStringGrid *ESG_Keywords = nullptr;

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void Set_Lang();
    void Laod_Keywords();
};

extern TFTopicTemplate *FTopicTemplate;
