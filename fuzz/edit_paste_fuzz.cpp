// Clipboard text pasted (WM_PASTE) into the masked edit and into the spin edit of each kind.
// A masked edit keeps one character per mask position, an unmasked one takes the text up to the
// first line break within its length limit, and a spin edit whose editor is locked takes nothing.
//
// Input: the first byte picks the control, the spin kind, the locks and the length limit; the
// second the selection; then the mask up to the first line feed (masked edit only) and the
// clipboard text.
#include "support/FuzzSupport.h"

#include "dropdowns/EsgSpinEdit.h"
#include "platform/Clipbrd.h"
#include "platform/Forms.h"
#include "platform/Mask.h"
#include "platform/Messages.h"

#include <memory>

namespace {

// Made once and kept for the process: the platform's form list goes before static objects.
TForm *Form()
{
    static TForm *form = nullptr;
    if (!form) {
        Fuzz::NeedApplication();
        form = new TForm(nullptr);
    }
    return form;
}

// Selects by Sel and pastes Text; the length of the selection the paste replaced.
int PasteInto(TCustomMaskEdit *Edit, uint8_t Sel, const QString &Text)
{
    Edit->SetSelStart(Sel % (Edit->Text().size() + 1));
    Edit->SetSelLength(Sel >> 4);
    const int selected = Edit->SelLength();
    Clipboard()->SetAsText(Text);
    Edit->Perform(WM_PASTE, 0, 0);
    return selected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 2 || Size > 16 * 1024)
        return 0;
    const uint8_t how = Data[0];
    QByteArray rest = Fuzz::Bytes(Data + 2, Size - 2);
    if ((how & 1) == 0) {
        const qsizetype lf = rest.indexOf('\n');
        const QString mask = QString::fromUtf8(lf < 0 ? rest : rest.left(lf)).left(64);
        rest = lf < 0 ? QByteArray() : rest.mid(lf + 1);
        auto edit = std::make_unique<TMaskEdit>(Form());
        edit->SetParent(Form());
        edit->SetEditMask(mask);
        // After the mask, which sets a limit of its own.
        if (!edit->IsMasked())
            edit->SetMaxLength((how >> 4) * 2);
        const int limit = edit->MaxLength();
        edit->SetText(QStringLiteral("12ab"));
        const QString before = edit->Text();
        const int selected = PasteInto(edit.get(), Data[1], QString::fromUtf8(rest));
        if (edit->IsMasked()) {
            Fuzz::Check(int(edit->EditText().size()) == edit->Mask().Length(), "a paste broke the mask's length");
        } else {
            Fuzz::Check(!edit->Text().contains(u'\r') && !edit->Text().contains(u'\n'), "a paste took a line break");
            if (limit > 0)
                Fuzz::Check(edit->Text().size() <= std::max<qsizetype>(limit, before.size() - selected),
                            "a paste went past the length limit");
        }
        return 0;
    }
    auto edit = std::make_unique<TEsgSpinEdit>(Form());
    edit->SetParent(Form());
    edit->SetSpinType(static_cast<TEsgSpinType>((how >> 1) & 3));
    const bool locked = (how & 0x08) != 0;
    edit->SetEditorEnabled(!locked);
    edit->SetReadOnly((how & 0x10) != 0);
    edit->SetText(QStringLiteral("5"));
    const QString before = edit->Text();
    PasteInto(edit.get(), Data[1], QString::fromUtf8(rest));
    if (locked || edit->ReadOnly())
        Fuzz::CheckSame(edit->Text(), before, "a locked spin edit took a paste");
    (void)edit->GetValue();
    (void)edit->GetFloatValue();
    (void)edit->GetDateValue();
    (void)edit->GetTimeValue();
    return 0;
}
