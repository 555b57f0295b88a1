// Clipboard text pasted (Ctrl+V) into a grid cell while it is edited, as users of the rule
// editors paste addresses and names: the cell editor of each kind that filters a paste takes the
// text whole or not at all.
//
// Input: the first byte picks the editor kind, the second the length limit and the selection;
// then the cell's text, "--next-file--", the clipboard text.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"
#include "platform/Clipbrd.h"
#include "platform/Forms.h"
#include "platform/Messages.h"

#include <QRegularExpression>

#include <iterator>
#include <memory>

namespace {

const TEditorType Kinds[] = {edNormal,     edNumeric, edPositiveNumeric, edFloat,          edPositiveFloat,
                             edLowerCase,  edUpperCase, edValidChars,    edNumericEditBtn, edFloatEditBtn};

// A shown form with a grid whose cells open the editor of Kind; a new one for every input, so
// that no editor state of an earlier input carries over.
TExtStringGrid *Grid(TForm *Form, TEditorType Kind)
{
    Form->SetBounds(0, 0, 400, 200);
    auto *g = new TExtStringGrid(Form);
    g->SetParent(Form);
    g->SetBounds(0, 0, 380, 180);
    g->SetColCount(3);
    g->SetRowCount(3);
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    g->SetValidChars(QStringLiteral("0123456789abc"));
    g->OnGetEditorType = [Kind](TObject *, int, int, TEditorType &AEditor) { AEditor = Kind; };
    Form->Show();
    return g;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 2 || Size > 16 * 1024)
        return 0;
    Fuzz::NeedApplication();
    const TEditorType Kind = Kinds[Data[0] % std::size(Kinds)];
    const auto form = std::make_unique<TForm>(nullptr);
    TExtStringGrid *g = Grid(form.get(), Kind);
    const std::vector<QByteArray> parts = Fuzz::Split(Fuzz::Bytes(Data + 2, Size - 2), 2);
    const int limit = (Data[1] & 0x0F) * 3;
    g->SetMaxEditLength(limit);
    g->SetCol(1);
    g->SetRow(1);
    g->SetCells(1, 1, QString::fromUtf8(parts[0]).left(64));
    g->ShowEditor();
    TCustomEdit *edit = Kind == edNumericEditBtn || Kind == edFloatEditBtn ? static_cast<TCustomEdit *>(g->EditButton())
                                                                           : static_cast<TCustomEdit *>(g->NormalEdit());
    Fuzz::Check(edit != nullptr, "the cell editor did not open");
    const QString before = edit->Text();
    edit->SetSelStart(int(Data[1] >> 4) % (before.size() + 1));
    const QString pasted = QString::fromUtf8(parts[1]);
    Clipboard()->SetAsText(pasted);
    edit->Perform(WM_PASTE, 0, 0);
    const QString after = edit->Text();
    if (after != before) {
        if (limit > 0 && Kind != edNumericEditBtn && Kind != edFloatEditBtn)
            Fuzz::Check(after.size() <= limit, "a paste went past the length limit");
        static const QRegularExpression whole(QStringLiteral("^-?[0-9]+$"));
        if (Kind == edNumeric || Kind == edPositiveNumeric)
            Fuzz::Check(whole.match(after).hasMatch(), "a whole-number cell took a text that is no number");
        if (Kind == edPositiveNumeric || Kind == edPositiveFloat)
            Fuzz::Check(!after.contains(u'-'), "a positive cell took a sign");
        if (Kind == edValidChars)
            for (QChar c : after)
                Fuzz::Check(QStringLiteral("0123456789abc").contains(c) || before.contains(c),
                            "a cell with valid characters took another one");
    }
    g->SetEditorMode(false);
    return 0;
}
