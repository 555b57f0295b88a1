// Window messages of the grid that are not input handling proper: the typed character that opens
// the editor.
#include "grid/core/ExtGrid.h"

#include "platform/Windows.h"

void TExtStringGrid::WMChar(TWMKey &Message)
{
    WideChar key = WideChar(Message.CharCode);
    const int realCol = RealColIndex(Col());
    if (FMouseActions->EditOnDblClickOnly()) {
        bool can = true;
        CanEditCell(realCol, Row(), can);
        if (can)
            SetOptions(Options() + TGridOptions{goEditing});
    }
    if (Options().Contains(goEditing) && key != 9 && (key == 8 || key >= 32)) {
        // The special editors take the key that opened them as their first character.
        FStartEditChar = key;
        if (IsControlCell(realCol, Row()))
            return;
        TBaseGrid::WMChar(Message);
        if (IsTextEditorType(EditControl))
            FStartEditChar = WideChar(0);
        return;
    }
    TBaseGrid::WMChar(Message);
}
