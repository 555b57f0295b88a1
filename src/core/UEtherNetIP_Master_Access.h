#pragma once
// The EtherNet/IP slave access rules editor: up to ten rules, each naming a slave by its IP
// address with the bytes to read and write, its poll time and the instance and connection point
// of each direction, kept in "EtherNetIP_Master_Rules.xml" of the open configuration.

#include "core/UConf_Dialog.h"
#include "platform/Classes.h"
#include "platform/System.h"

#include <memory>

class TExtColumnGrid;
class TLbButton;
class TXMLDocument;

class TFEtherNetIP_Master_Access : public TFConf_Dialog {
public:
    explicit TFEtherNetIP_Master_Access(TComponent *AOwner);
    ~TFEtherNetIP_Master_Access() override;

    TLbButton *Btn_DelRow = nullptr;
    TLbButton *Btn_InsRow = nullptr;
    TLbButton *Btn_CopyRow = nullptr;
    TLbButton *Btn_PasteRow = nullptr;
    TExtColumnGrid *ACG = nullptr;
    TXMLDocument *XML1 = nullptr;

    // The header hints of grid columns 1 to 12, in column order.
    std::unique_ptr<TStringList> Hint;
    // A row of this grid was copied since the dialog was last shown.
    bool Do_Copy = false;
    // The most input and output bytes that all enabled rules may move together.
    int Num_Byte_In = 0;
    int Num_Byte_Out = 0;

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void Set_Lang();
    // The check of the rules: reports the first failure and answers false.
    bool Controllo_dati();
    void Btn_OKClick(TObject *Sender);
    void Btn_DelRowClick(TObject *Sender);
    void Btn_InsRowClick(TObject *Sender);
    void Btn_CopyRowClick(TObject *Sender);
    void Btn_PasteRowClick(TObject *Sender);
    void GridHint(TObject *Sender, int ARow, int ACol, UnicodeString &HintStr);
    void KeyPress(TObject *Sender, WideChar &Key);
    void DblClickCell(TObject *Sender, int ARow, int ACol);

protected:
    using TWinControl::KeyPress;

private:
    void Reset_Rows();
    void Load_File();
};

extern TFEtherNetIP_Master_Access *FEtherNetIP_Master_Access;

// The device moves at most this many input bytes, and as many output bytes, over all rules.
constexpr int EtherNetIP_Max_Bytes = 1438;
