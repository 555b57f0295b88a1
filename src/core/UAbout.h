#pragma once
// The about box: the identity of this build (product, software code, version, manual code)
// and the maker's web address. It has no language texts.

#include "platform/Forms.h"
#include "platform/System.h"

class TLabel;
class TImage;
class TLbButton;

class TFAbout : public TForm {
public:
    explicit TFAbout(TComponent *AOwner);

    TImage *Image2 = nullptr;
    TLabel *Label1 = nullptr;
    TLabel *Label2 = nullptr;
    TLabel *Label6 = nullptr;
    TLabel *Label9 = nullptr;
    TLabel *Label3 = nullptr;
    TLabel *Label10 = nullptr;
    TLabel *Label8 = nullptr;
    TLabel *Label12 = nullptr;
    TLabel *Label4 = nullptr;
    TLbButton *LbButton1 = nullptr;

    void FormShow(TObject *Sender);
    void Label4Click(TObject *Sender);
};

extern TFAbout *FAbout;
