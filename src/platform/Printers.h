#pragma once
// The printer of the program and the device queries that printing code asks of it.
//
// Printer() is the printer in use: by default the desktop's current CUPS printer, or a PDF file
// when SetPrinterOutputFile names one (the written file appears whole at EndDoc; Abort leaves no
// file and an old file as it was). A test may install a printer of its own with SetPrinter, such
// as a TRecordingPrinter, which records every page's drawing calls without making any output.
//
// The printer's canvas is usable as an information context before BeginDoc: it answers the
// printer's resolution (GetDeviceCaps LOGPIXELSX/LOGPIXELSY) and its page as the clip box.

#include "platform/Graphics.h"
#include "platform/SysUtils.h"

#include <memory>
#include <vector>

class TRecordingCanvas;

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter {
public:
    TPrinter();
    virtual ~TPrinter();
    TPrinter(const TPrinter &) = delete;
    TPrinter &operator=(const TPrinter &) = delete;

    TPrinterOrientation Orientation() const { return FOrientation; }
    // Raises EPrinter while a document is open.
    void SetOrientation(TPrinterOrientation Value);
    // The name of the print job.
    const UnicodeString &Title() const { return FTitle; }
    void SetTitle(const UnicodeString &Value) { FTitle = Value; }

    // Opens a document on page 1; raises EPrinter when one is open already or the device
    // cannot be opened.
    void BeginDoc();
    // Finishes the document: the pages go to the printer or the file.
    void EndDoc();
    // Drops the open document; nothing is printed or written.
    void Abort();
    // Starts the next page; raises EPrinter without an open document.
    void NewPage();
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    int PageNumber() const { return FPageNumber; }

    // The printable page in device pixels and the device's resolution in dots per inch.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
    virtual int Resolution() const = 0;
    virtual UnicodeString DeviceName() const = 0;
    virtual UnicodeString PortName() const { return UnicodeString(); }

    TCanvas *Canvas() const { return FCanvas.get(); }
    HDC Handle() const { return FCanvas.get(); }
    // Re-attaches the canvas to the page metrics without output (not while printing).
    void RefreshPageInfo();

protected:
    // The canvas the printer draws on; a derived printer may give its own kind.
    explicit TPrinter(std::unique_ptr<TCanvas> Canvas);
    // Opens the device's first page and returns the painter that draws on it (nullptr: failure).
    virtual QPainter *StartDocument() = 0;
    virtual void StartPage() = 0;
    // Ends (Commit) or drops the document; the painter of StartDocument is no longer used.
    virtual void FinishDocument(bool Commit) = 0;
    virtual void OrientationChanged() {}
    QPainter *InfoPainter() const { return FInfoPainter.get(); }

private:
    void DetachCanvas();
    std::unique_ptr<TCanvas> FCanvas;
    class TInfoDevice;
    std::unique_ptr<TInfoDevice> FInfo;
    std::unique_ptr<QPainter> FInfoPainter;
    TPrinterOrientation FOrientation = poPortrait;
    UnicodeString FTitle;
    bool FPrinting = false;
    bool FAborted = false;
    int FPageNumber = 0;
};

// The printer in use (created on first use).
TPrinter *Printer();
// Installs APrinter as the printer in use and returns the one before; the caller keeps
// ownership of both. nullptr goes back to the program's own printer.
TPrinter *SetPrinter(TPrinter *APrinter);
// Non-empty: the program's printer writes PDF into this file; empty: the current CUPS printer.
void SetPrinterOutputFile(const UnicodeString &FileName);
UnicodeString PrinterOutputFile();

// A printer that makes no output: it records the drawing calls of every page, on a page of the
// given size in device pixels and resolution.
class TRecordingPrinter : public TPrinter {
public:
    TRecordingPrinter(int PageWidth, int PageHeight, int Resolution);
    int PageWidth() const override;
    int PageHeight() const override;
    int Resolution() const override { return FResolution; }
    UnicodeString DeviceName() const override { return QStringLiteral("Recording"); }

    TRecordingCanvas *Recorder() const;
    // The pages made by the last documents (cleared by BeginDoc): each page's recorded calls as
    // "Name(args)" lines.
    const std::vector<QStringList> &Pages() const { return FPages; }
    int DocCount() const { return FDocs; }
    int AbortCount() const { return FAborts; }

protected:
    QPainter *StartDocument() override;
    void StartPage() override;
    void FinishDocument(bool Commit) override;

private:
    void ClosePage();
    int FWidth, FHeight, FResolution;
    std::vector<QStringList> FPages;
    bool FPageOpen = false;
    int FDocs = 0;
    int FAborts = 0;
};

// DeviceCapabilities: of its capabilities only the landscape rotation is answered.
constexpr Word DC_ORIENTATION = 17;
// DC_ORIENTATION: the degrees by which the printer turns portrait into landscape (90 or 270);
// -1 for any other capability.
int DeviceCapabilities(const UnicodeString &Device, const UnicodeString &Port, Word Capability, void *Output,
                       void *DevMode);
// The landscape rotation the printers report (270 unless set; only 90 and 270 are taken).
void SetPrinterLandscapeRotation(int Degrees);
