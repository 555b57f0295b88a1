// The form and grid the cell-editor tests share: a 520 x 340 form on a 1000 x 700 screen with an
// editing grid of 500 x 280 at its top left.
#pragma once

#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/MultiMon.h"

#include <memory>

namespace GridTest {

inline std::unique_ptr<TForm> MakeForm()
{
    Application->Initialize();
    SetScreenLayout({{TRect(0, 0, 1000, 700), TRect(0, 0, 1000, 660)}});
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 520, 340);
    return Form;
}

inline TExtStringGrid *MakeEditingGrid(TForm *Form, int Cols, int Rows)
{
    auto *G = new TExtStringGrid(Form);
    G->SetParent(Form);
    G->SetBounds(0, 0, 500, 280);
    G->SetColCount(Cols);
    G->SetRowCount(Rows);
    G->SetOptions(G->Options() + TGridOptions{goEditing});
    return G;
}

} // namespace GridTest
