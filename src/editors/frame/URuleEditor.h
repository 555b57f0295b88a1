#pragma once
// The frame every rule editor of the sibling converters shares: a modal dialog with the title
// and button panels, one grid (or two on pages) of numbered rule rows, the six buttons, and the
// cycle of each showing: reset, load of the rule file, the user's edits, the check of the
// enabled rows and the save. An editor declares its columns, its file, its checks and where it
// departs from the common behaviour; the frame does the rest.

#include "core/UConf_Dialog.h"
#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/System.h"

#include <QStringList>
#include <memory>
#include <vector>

class TExtColumnGrid;
class TLbButton;
class TPageControl;
class TTabSheet;
class TXMLDocument;
class TXMLNode;

// How a cell of the column is edited.
enum class TRule_Cell { Text, Check, List, Combo };

struct TRule_Column {
    int Header = 0;                    // text of the header
    int Hint = 0;                      // text of the header hint (column 0 has none)
    const char *Attribute = nullptr;   // name in the rule file (column 0 is not stored)
    TRule_Cell Kind = TRule_Cell::Text;
    int Width = 0;
    TColor Color = clWindow;
    QStringList Items = {};            // the fixed items of a list column
    // A row element without the attribute: a guarded read puts Load_Default into the cell (or
    // leaves the reset value when there is none); an unguarded one ends the load.
    bool Guarded = true;
    const char *Load_Default = nullptr;
};

struct TRule_Grid {
    std::vector<TRule_Column> Columns; // from column 0, the row numbers, on
    int Rows = 0;                      // data rows, the most rules the list holds
    int Key_Col = 2;                   // its trimmed text marks a row as used
    bool Has_Enable = true;            // column 1 is the "Y"/"N" Enable box
    UnicodeString Section;             // the element the rows stand in; empty: the root itself
    int Header_Height = 22;            // 0 keeps the grid's own
    int Row_Height = 0;                // 0 keeps the grid's own
};

// Where the header hint comes from.
enum class THint_Mode {
    Real_Column,   // the column under the pointer, hidden columns counted
    Shown_Column,  // the shown column's number taken as it is
    None,          // the grid's own hint stays
};

struct TRule_Editor_Def {
    const char *Name = "";
    int Client_Width = 0;
    int Text_Base = 0;    // caption, description and the six button captions follow it
    int Button_Hints = 0; // the first of the six button hints
    int Row_Prefix = 0;   // "Error row "
    int Delete_Text = 0;  // "Are you sure to delete the Row number "
    const UnicodeString *File = nullptr;
    UnicodeString Root;
    bool Version_Comment = true;
    std::vector<TRule_Grid> Grids;

    // What an editor does otherwise than the others.
    bool Reset_Shown_Only = false;   // the reset leaves hidden columns as they are
    bool Headers_In_Cells = false;   // the header texts go into row 0, the column items keep theirs
    THint_Mode Hint_Mode = THint_Mode::Real_Column;
    bool Hint_Kept_Outside = false;  // outside the header the grid's own hint stays
    bool Hint_By_Page = false;       // the hint list of the active page serves both grids
    bool Delete_Shown_Only = false;  // Delete Row moves the shown columns only (Delete_Row)
    bool Click_Selects_Row = false;  // a click on the number selects the row
    bool Focus_Grid_On_Show = false;
    bool Enable_Upper_Case = true;   // "y" enables a row as "Y" does
};

class TFRuleEditor : public TFConf_Dialog {
public:
    TFRuleEditor(TComponent *AOwner, TRule_Editor_Def Def);
    ~TFRuleEditor() override;

    TLbButton *Btn_DelRow = nullptr;
    TLbButton *Btn_InsRow = nullptr;
    TLbButton *Btn_CopyRow = nullptr;
    TLbButton *Btn_PasteRow = nullptr;
    // Only in editors with two grids.
    TPageControl *PageControl1 = nullptr;
    TXMLDocument *XML1 = nullptr;

    const TRule_Editor_Def &Def() const { return FDef; }
    int Grid_Count() const { return int(FGrids.size()); }
    TExtColumnGrid *Grid(int Index) const;
    TTabSheet *Page(int Index) const;
    // Entry k is the header hint of column k + 1.
    TStringList *Hint_List(int Index) const;
    // True while the last Copy Row of this showing came from that grid.
    bool Copy_Flag(int Index) const;
    // The grid of the active page.
    int Active_Index() const;
    TExtColumnGrid *Active_Grid() const { return Grid(Active_Index()); }

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    virtual void Set_Lang();
    // Reports the first failing cell of an enabled rule and answers false.
    bool Controllo_dati();
    void Btn_OKClick(TObject *Sender);
    void Btn_DelRowClick(TObject *Sender);
    void Btn_InsRowClick(TObject *Sender);
    void Btn_CopyRowClick(TObject *Sender);
    void Btn_PasteRowClick(TObject *Sender);
    void GridHint(TObject *Sender, int ARow, int ACol, UnicodeString &HintStr);
    void KeyPress(TObject *Sender, WideChar &Key);
    void DblClickCell(TObject *Sender, int ARow, int ACol);
    void ClickCell(TObject *Sender, int ARow, int ACol);
    // Moves the rows below Num_Row up over the shown columns and blanks those of the last row.
    void Delete_Row(int Num_Row, TExtColumnGrid *Grid);

protected:
    using TWinControl::KeyPress;

    // Once, when the form is made, before its texts.
    virtual void Create_Set_Up() {}
    // Each showing, after the reset and before the load: item lists filled, limits set.
    virtual void Set_Up_Grids() {}
    // Each showing after a load that ran to its end.
    virtual void After_Load() {}
    // The checks of one enabled used row in their order: false with the text that follows the
    // row number in the message.
    virtual bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) = 0;
    // Checks across rows, after every row passed.
    virtual bool Check_Rules() { return true; }
    // The text a loaded cell takes; false leaves the cell as reset. Present tells whether the
    // row element has the attribute (Text is its value then).
    virtual bool Loaded_Cell(int Grid_Index, int Col, int Row, bool Present, UnicodeString &Text);
    virtual void Clear_Copy_Flags();

    // Refills every hint list from the language table.
    void Fill_Hint_Lists();
    UnicodeString Cell(int Grid_Index, int Col, int Row) const;
    // The cell read as a signed number, -1 when it is none.
    int Cell_Int(int Grid_Index, int Col, int Row) const;
    bool Row_Used(int Grid_Index, int Row) const;
    virtual bool Row_Enabled(int Grid_Index, int Row) const;
    static bool In_Range(int Value, int Low, int High) { return Value >= Low && Value <= High; }
    // The item list of column Col becomes "0" .. Count - 1.
    static void Fill_Number_Items(TExtColumnGrid *Grid, int Col, int Count);

private:
    struct TGrid_State {
        TExtColumnGrid *Grid = nullptr;
        TTabSheet *Page = nullptr;
        std::unique_ptr<TStringList> Hint;
        bool Do_Copy = false;
    };

    void Make_Grid(int Index, TWinControl *Parent);
    int Index_Of(TObject *Sender) const;
    void Reset_Grids();
    // False when a missing attribute ended the load.
    bool Load_File();
    void Read_Rows(int Index, const TXMLNode &Parent);
    void Save_File();

    TRule_Editor_Def FDef;
    std::vector<TGrid_State> FGrids;
};

// The colours that group the columns of the rule grids.
constexpr TColor Rule_Color_Enable = TColor(0xB0D8FF);   // #FFD8B0
constexpr TColor Rule_Color_Address = TColor(0xFEFAE0);  // #E0FAFE
constexpr TColor Rule_Color_Format = TColor(0xA8FFFF);   // #FFFFA8
constexpr TColor Rule_Color_Trigger = TColor(0xA8FFA8);  // #A8FFA8
constexpr TColor Rule_Color_Data = TColor(0xF4D6FC);     // #FCD6F4

// The comment after the root of every rule file.
inline const UnicodeString Rule_File_Version = QStringLiteral("1.000");
