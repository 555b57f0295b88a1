#pragma once
// The options of the string grid's search (TFindParams). The search, replace and the quick lookup
// in the sort column are members of the grid (ExtGridFind.cpp).

#include "controls/ExtGridButton.h"
#include "grid/core/ExtGridLiveCount.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Sets.h"
#include "platform/StdCtrls.h"

class TExtStringGrid;

enum TFindParameters {
    fnMatchCase,
    fnMatchFull,
    fnMatchRegular,
    fnDirectionLeftRight,
    fnMatchStart,
    fnFindInCurrentRow,
    fnFindInCurrentCol,
    fnIncludeFixed,
    fnAutoGoto,
    fnIgnoreHTMLTags,
    fnBackward,
    fnIncludeHiddenColumns,
    fnFindInPresetCol,
    fnFindInPresetRow,
    fnSelectedCells,
    fnIncludeHiddenRows
};
using TFindParams = TSet<TFindParameters, 16>;

// The search footer's edit: Enter finds the next match, Ctrl+Enter the previous one.
class TRetEdit : public TEdit {
public:
    explicit TRetEdit(TComponent *AOwner) : TEdit(AOwner) {}
    TNotifyEvent OnReturn;
    TNotifyEvent OnCtrlReturn;

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
};

// The search footer: an edit, find next and previous buttons, a match-case box and a close
// button. The grid binds the panel's events to its search handlers; where the panel stands and
// when it shows is the footer's business.
class TSearchPanel : public TPanel {
public:
    explicit TSearchPanel(TComponent *AOwner);
    TRetEdit *EditControl() const { return FEdit; }
    TExtGridButton *ForwardButton() const { return FForward; }
    TExtGridButton *BackwardButton() const { return FBackward; }
    TExtGridButton *ExitButton() const { return FExit; }
    // Stays down while the matches are highlighted.
    TExtGridButton *HighLightButton() const { return FHighLight; }
    TExtCheckBox *MatchCase() const { return FMatchCase; }
    // The end colour of the panel's gradient (clNone: plain Color).
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TNotifyEvent OnEditChange;
    TNotifyEvent OnBackwardClick;
    TNotifyEvent OnForwardClick;
    TNotifyEvent OnExitClick;
    TNotifyEvent OnHighLightClick;

    // Places the controls from the left edge, or mirrored from the right one for right-to-left
    // reading.
    void LayOut();
    // The match-case box stands in the highlight button's place while that is hidden.
    void PlaceMatchCase();

protected:
    // The panel's colour, or a gradient towards ColorTo, under a line in the grid's line colour.
    void Paint() override;
    // Lays the controls out, then tells the grid's OnCreatedSearchFooter.
    void CreateWnd() override;
    // Mirrored controls keep their distance from the right edge.
    void Resize() override;

private:
    void EditChanged(TObject *Sender);
    void Place(TControl *C, int ALeft, int ATop);
    TExtStringGrid *FGrid;
    TRetEdit *FEdit = nullptr;
    TExtGridButton *FForward = nullptr;
    TExtGridButton *FBackward = nullptr;
    TExtGridButton *FExit = nullptr;
    TExtGridButton *FHighLight = nullptr;
    TExtCheckBox *FMatchCase = nullptr;
    TColor FColorTo = clNone;
    TExtGridLiveCount FCount;
};
