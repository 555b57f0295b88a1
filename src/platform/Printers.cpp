#include "platform/Printers.h"

#include "platform/FileUtils.h"
#include "platform/RecordingCanvas.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <atomic>
#include <climits>

namespace {

// Draws nothing: the engine of the information device.
class TNullPaintEngine : public QPaintEngine {
public:
    TNullPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {}
    void drawTiledPixmap(const QRectF &, const QPixmap &, const QPointF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint *, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath &) override {}
    void drawRects(const QRectF *, int) override {}
    void drawRects(const QRect *, int) override {}
    void drawLines(const QLineF *, int) override {}
    void drawLines(const QLine *, int) override {}
    void drawEllipse(const QRectF &) override {}
    void drawEllipse(const QRect &) override {}
    void drawPoints(const QPointF *, int) override {}
    void drawPoints(const QPoint *, int) override {}
    void drawTextItem(const QPointF &, const QTextItem &) override {}
    Type type() const override { return QPaintEngine::User; }
};

std::atomic<int> LandscapeRotation{270};

} // namespace

// A device with the printer's page and resolution that draws nothing: the canvas answers the
// printer's metrics through it while no document is open.
class TPrinter::TInfoDevice : public QPaintDevice {
public:
    int Width = 0;
    int Height = 0;
    int Dpi = 96;
    QPaintEngine *paintEngine() const override { return &FEngine; }

protected:
    int metric(PaintDeviceMetric M) const override
    {
        switch (M) {
        case PdmWidth: return Width;
        case PdmHeight: return Height;
        case PdmWidthMM: return Width * 254 / (10 * std::max(1, Dpi));
        case PdmHeightMM: return Height * 254 / (10 * std::max(1, Dpi));
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return Dpi;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    mutable TNullPaintEngine FEngine;
};

TPrinter::TPrinter() : TPrinter(std::make_unique<TCanvas>()) {}

TPrinter::TPrinter(std::unique_ptr<TCanvas> Canvas) : FCanvas(std::move(Canvas)), FInfo(std::make_unique<TInfoDevice>())
{
}

TPrinter::~TPrinter()
{
    DetachCanvas();
}

void TPrinter::DetachCanvas()
{
    FCanvas->EndPainting();
    if (FInfoPainter) {
        FInfoPainter->end();
        FInfoPainter.reset();
    }
}

void TPrinter::RefreshPageInfo()
{
    DetachCanvas();
    FInfo->Width = std::max(1, PageWidth());
    FInfo->Height = std::max(1, PageHeight());
    FInfo->Dpi = std::max(1, Resolution());
    FInfoPainter = std::make_unique<QPainter>(FInfo.get());
    FCanvas->BeginPainting(FInfoPainter.get());
}

void TPrinter::SetOrientation(TPrinterOrientation Value)
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Cannot change the orientation while printing"));
    if (FOrientation == Value)
        return;
    FOrientation = Value;
    OrientationChanged();
    if (FInfoPainter)
        RefreshPageInfo();
}

void TPrinter::BeginDoc()
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    DetachCanvas();
    QPainter *p = StartDocument();
    if (!p) {
        RefreshPageInfo();
        throw EPrinter(QStringLiteral("Printer selected is not valid"));
    }
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
    FCanvas->BeginPainting(p);
}

void TPrinter::EndDoc()
{
    if (!FPrinting)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    FCanvas->EndPainting();
    FPrinting = false;
    FPageNumber = 0;
    // The canvas goes back to the page metrics even when the output fails.
    struct TReattach {
        TPrinter *P;
        ~TReattach() { P->RefreshPageInfo(); }
    } reattach{this};
    FinishDocument(true);
}

void TPrinter::Abort()
{
    if (!FPrinting)
        return;
    FCanvas->EndPainting();
    FPrinting = false;
    FAborted = true;
    FPageNumber = 0;
    FinishDocument(false);
    RefreshPageInfo();
}

void TPrinter::NewPage()
{
    if (!FPrinting)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    StartPage();
    ++FPageNumber;
}

// ---- the program's printer ------------------------------------------------------------------------

namespace {

UnicodeString &OutputFile()
{
    static UnicodeString name;
    return name;
}

// QPrinter for a CUPS printer, QPdfWriter into memory for a PDF file, which is written whole
// at the end of the document.
class TQtPrinter : public TPrinter {
public:
    static constexpr int PdfResolution = 300;

    int PageWidth() const override { return PaintRect().width(); }
    int PageHeight() const override { return PaintRect().height(); }
    int Resolution() const override
    {
        if (!OutputFile().isEmpty())
            return PdfResolution;
        return SystemPrinter()->resolution();
    }
    UnicodeString DeviceName() const override
    {
        if (!OutputFile().isEmpty())
            return QStringLiteral("PDF");
        return SystemPrinter()->printerName();
    }

protected:
    QPainter *StartDocument() override
    {
        FFile = OutputFile();
        if (!FFile.isEmpty()) {
            FBuffer = std::make_unique<QBuffer>();
            FBuffer->open(QIODevice::WriteOnly);
            FPdf = std::make_unique<QPdfWriter>(FBuffer.get());
            FPdf->setResolution(PdfResolution);
            FPdf->setTitle(Title());
            FPdf->setPageLayout(PdfLayout());
            FPainter = std::make_unique<QPainter>();
            if (!FPainter->begin(FPdf.get())) {
                Drop();
                return nullptr;
            }
            return FPainter.get();
        }
        QPrinter *printer = SystemPrinter();
        printer->setDocName(Title());
        printer->setPageOrientation(Orientation() == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        FPainter = std::make_unique<QPainter>();
        if (!FPainter->begin(printer)) {
            Drop();
            return nullptr;
        }
        return FPainter.get();
    }

    void StartPage() override
    {
        if (FPdf)
            FPdf->newPage();
        else
            SystemPrinter()->newPage();
    }

    void FinishDocument(bool Commit) override
    {
        if (!Commit && !FPdf && FPainter && FPainter->isActive())
            SystemPrinter()->abort();
        if (FPainter && FPainter->isActive())
            FPainter->end();
        QByteArray data;
        if (FBuffer)
            data = FBuffer->data();
        const bool pdf = FPdf != nullptr;
        const UnicodeString file = FFile;
        Drop();
        if (Commit && pdf)
            WriteFileAtomic(file, data);
    }

private:
    void Drop()
    {
        FPainter.reset();
        FPdf.reset();
        FBuffer.reset();
    }
    QPageLayout PdfLayout() const
    {
        return QPageLayout(QPageSize(QPageSize::A4),
                           Orientation() == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                           QMarginsF(0, 0, 0, 0));
    }
    QRect PaintRect() const
    {
        if (!OutputFile().isEmpty())
            return PdfLayout().paintRectPixels(PdfResolution);
        QPrinter *printer = SystemPrinter();
        printer->setPageOrientation(Orientation() == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        return printer->pageLayout().paintRectPixels(printer->resolution());
    }
    QPrinter *SystemPrinter() const
    {
        if (!FPrinter)
            FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        return FPrinter.get();
    }

    mutable std::unique_ptr<QPrinter> FPrinter;
    std::unique_ptr<QBuffer> FBuffer;
    std::unique_ptr<QPdfWriter> FPdf;
    std::unique_ptr<QPainter> FPainter;
    UnicodeString FFile;
};

TPrinter *&InstalledPrinter()
{
    static TPrinter *p = nullptr;
    return p;
}

TPrinter *OwnPrinter()
{
    // Lives for the whole run: a printer may still be asked during static destruction.
    static auto *p = new TQtPrinter;
    return p;
}

} // namespace

TPrinter *Printer()
{
    TPrinter *p = InstalledPrinter() ? InstalledPrinter() : OwnPrinter();
    // The output choice may have changed since the last call, and with it the page.
    if (!p->Printing())
        p->RefreshPageInfo();
    return p;
}

TPrinter *SetPrinter(TPrinter *APrinter)
{
    TPrinter *old = InstalledPrinter();
    InstalledPrinter() = APrinter;
    return old;
}

void SetPrinterOutputFile(const UnicodeString &FileName)
{
    OutputFile() = FileName;
}

UnicodeString PrinterOutputFile()
{
    return OutputFile();
}

// ---- the recording printer ----------------------------------------------------------------------

TRecordingPrinter::TRecordingPrinter(int PageWidth, int PageHeight, int Resolution)
    : TPrinter(std::make_unique<TRecordingCanvas>()), FWidth(PageWidth), FHeight(PageHeight), FResolution(Resolution)
{
    RefreshPageInfo();
}

int TRecordingPrinter::PageWidth() const { return FWidth; }
int TRecordingPrinter::PageHeight() const { return FHeight; }

TRecordingCanvas *TRecordingPrinter::Recorder() const
{
    return static_cast<TRecordingCanvas *>(Canvas());
}

QPainter *TRecordingPrinter::StartDocument()
{
    RefreshPageInfo();
    FPages.clear();
    Recorder()->Clear();
    FPageOpen = true;
    ++FDocs;
    return Recorder()->Painter();
}

void TRecordingPrinter::ClosePage()
{
    if (!FPageOpen)
        return;
    FPages.push_back(Recorder()->Lines());
    Recorder()->Clear();
}

void TRecordingPrinter::StartPage()
{
    ClosePage();
    FPageOpen = true;
}

void TRecordingPrinter::FinishDocument(bool Commit)
{
    if (Commit)
        ClosePage();
    else {
        FPages.clear();
        Recorder()->Clear();
        ++FAborts;
    }
    FPageOpen = false;
}

// ---- device capabilities ----------------------------------------------------------------------------

int DeviceCapabilities(const UnicodeString &, const UnicodeString &, Word Capability, void *, void *)
{
    return Capability == DC_ORIENTATION ? LandscapeRotation.load() : -1;
}

void SetPrinterLandscapeRotation(int Degrees)
{
    if (Degrees == 90 || Degrees == 270)
        LandscapeRotation = Degrees;
}
