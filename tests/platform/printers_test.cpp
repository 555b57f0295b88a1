// The printer: its canvas as an information context, documents on the recording printer, PDF
// output written whole at the end or not at all, and the landscape rotation it reports.
#include "platform/FileUtils.h"
#include "platform/Printers.h"
#include "platform/RecordingCanvas.h"
#include "platform/WinGdi.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(Printers, TheCanvasAnswersThePageBeforeADocumentIsOpen)
{
    TRecordingPrinter p(850, 1100, 100);
    EXPECT_EQ(GetDeviceCaps(p.Handle(), LOGPIXELSX), 100);
    EXPECT_EQ(GetDeviceCaps(p.Handle(), LOGPIXELSY), 100);
    EXPECT_EQ(p.Canvas()->ClipRect(), TRect(0, 0, 850, 1100));
    // In the metric mapping the page's top is y = 0 and its bottom lies below it.
    p.Canvas()->SetMapMode(MM_LOMETRIC);
    EXPECT_EQ(p.Canvas()->ClipRect(), TRect(0, 0, 2159, -2794));
}

TEST(Printers, TheRecordingPrinterKeepsThePagesOfADocument)
{
    TRecordingPrinter p(400, 400, 100);
    EXPECT_THROW(p.NewPage(), EPrinter);
    p.BeginDoc();
    EXPECT_TRUE(p.Printing());
    EXPECT_THROW(p.BeginDoc(), EPrinter);
    EXPECT_THROW(p.SetOrientation(poLandscape), EPrinter);
    p.Canvas()->TextOut(1, 2, QStringLiteral("one"));
    p.NewPage();
    EXPECT_EQ(p.PageNumber(), 2);
    p.Canvas()->TextOut(3, 4, QStringLiteral("two"));
    p.EndDoc();
    EXPECT_FALSE(p.Printing());
    ASSERT_EQ(p.Pages().size(), 2u);
    EXPECT_TRUE(p.Pages()[0].contains(QStringLiteral("TextOut(1,2,\"one\")")));
    EXPECT_TRUE(p.Pages()[1].contains(QStringLiteral("TextOut(3,4,\"two\")")));

    p.BeginDoc();
    p.Canvas()->TextOut(1, 2, QStringLiteral("dropped"));
    p.Abort();
    EXPECT_TRUE(p.Aborted());
    EXPECT_TRUE(p.Pages().empty());
}

TEST(Printers, PdfOutputIsWrittenWholeAtTheEndOrNotAtAll)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("out.pdf"));
    TPrinter *old = SetPrinter(nullptr);
    SetPrinterOutputFile(file);
    TPrinter *p = Printer();
    EXPECT_EQ(GetDeviceCaps(p->Handle(), LOGPIXELSX), 300);
    p->SetOrientation(poPortrait);
    const int portraitWidth = p->PageWidth();
    p->SetOrientation(poLandscape);
    EXPECT_GT(p->PageWidth(), portraitWidth);
    p->SetOrientation(poPortrait);

    WriteFileAtomic(file, QByteArray("old"));
    p->BeginDoc();
    p->Canvas()->TextOut(100, 100, QStringLiteral("Aborted"));
    p->Abort();
    EXPECT_EQ(ReadFileBytes(file), QByteArray("old"));

    p->BeginDoc();
    p->Canvas()->TextOut(100, 100, QStringLiteral("Page one"));
    p->NewPage();
    p->Canvas()->TextOut(100, 100, QStringLiteral("Page two"));
    EXPECT_EQ(ReadFileBytes(file), QByteArray("old"));
    p->EndDoc();
    const QByteArray pdf = ReadFileBytes(file);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("/Count 2"));

    SetPrinterOutputFile(UnicodeString());
    SetPrinter(old);
}

TEST(Printers, TheLandscapeRotationIsConfigurable)
{
    EXPECT_EQ(DeviceCapabilities(QStringLiteral("any"), QString(), DC_ORIENTATION, nullptr, nullptr), 270);
    SetPrinterLandscapeRotation(90);
    EXPECT_EQ(DeviceCapabilities(QStringLiteral("any"), QString(), DC_ORIENTATION, nullptr, nullptr), 90);
    SetPrinterLandscapeRotation(45); // not a rotation printers report
    EXPECT_EQ(DeviceCapabilities(QStringLiteral("any"), QString(), DC_ORIENTATION, nullptr, nullptr), 90);
    SetPrinterLandscapeRotation(270);
    EXPECT_EQ(DeviceCapabilities(QStringLiteral("any"), QString(), 1, nullptr, nullptr), -1);
}

} // namespace
