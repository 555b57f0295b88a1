// Rich text as a cell or a file gives it: the RTF reader takes any bytes without crashing or
// hanging, and what the writer makes of the result is RTF that reads again.
#include "platform/Forms.h"
#include "platform/RichText.h"

#include <QByteArray>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size > 256 * 1024)
        return 0;
    static const bool Ready = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        Application->Initialize();
        return true;
    }();
    (void)Ready;
    const QByteArray In(reinterpret_cast<const char *>(Data), static_cast<qsizetype>(Size));
    QTextDocument Doc;
    RtfToDocument(In, &Doc);
    const QByteArray Out = DocumentToRtf(&Doc);
    if (!IsRtf(Out))
        std::abort();
    QTextDocument Again;
    RtfToDocument(Out, &Again);
    return 0;
}
