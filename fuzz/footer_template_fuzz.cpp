// The footer's preview template: the input is the template, expanded against a row of cells and
// rendered as the footer renders it. Text without a placeholder comes out unchanged.
#include "support/FuzzSupport.h"

#include "controls/MiniHTML.h"
#include "grid/core/ExtGrid.h"
#include "platform/Graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const QString tpl = QString::fromUtf8(Fuzz::Bytes(Data, Size));
    auto cell = [](int ACol) { return QStringLiteral("<b>c%1</b>").arg(ACol); };
    const QString out = TFloatingFooter::ExpandTemplate(tpl, 4, cell);
    if (!tpl.contains(QStringLiteral("<#")))
        Fuzz::CheckSame(out, tpl, "a template without placeholders is kept");
    Fuzz::NeedApplication();
    TBitmap bmp;
    bmp.SetSize(200, 24);
    THtmlRenderParams p;
    p.Canvas = bmp.Canvas();
    p.Text = out;
    p.Rect = TRect(0, 2, 200, 26);
    RenderHtmlText(p);
    return 0;
}
