#pragma once
// Message boxes and the file open and save dialogs. Every one of them runs through the modal
// hook of Forms.h: a test sees what would be shown (kind, text, buttons, filter, folder) and
// answers it; the real box or dialog runs only under the default hook.

#include "platform/Classes.h"
#include "platform/Forms.h"
#include "platform/Sets.h"
#include "platform/System.h"

#include <QStringList>

#include <functional>
#include <memory>

// ---- message boxes ----

// Shows Msg with the buttons given (in the classic order Yes, No, OK, Cancel, Abort, Retry,
// Ignore, All, No to all, Yes to all, Help, Close) and returns the modal result of the button
// chosen (mrOk, mrYes, mrNo, mrCancel, ...). The caption is "Warning", "Error", "Information" or
// "Confirm" by the kind, the application's title for mtCustom. HelpCtx is accepted and unused.
TModalResult MessageDlg(const UnicodeString &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// As above with the button that Enter chooses.
TModalResult MessageDlg(const UnicodeString &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                        TMsgDlgBtn DefaultButton);
// A box with the text and an OK button, captioned with the application's title.
void ShowMessage(const UnicodeString &Msg);

// ---- file dialogs ----

enum TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
    ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
    ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
    ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent, ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption, 32>;

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent *AOwner) : TComponent(AOwner) {}
    // True when the user confirmed the dialog.
    virtual bool Execute() = 0;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
};

// Filter: pairs of description and patterns, all separated by "|" ("Text files (*.txt)|*.txt|
// All files|*.*"); patterns of one pair are separated by ";". FilterIndex counts the pairs from 1.
// DefaultExt ("csv", ".csv" or "*.csv" alike) is appended to a chosen name without extension.
class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent *AOwner);
    ~TOpenDialog() override;

    const UnicodeString &FileName() const { return FFileName; }
    void SetFileName(const UnicodeString &Value) { FFileName = Value; }
    // Every file chosen (one unless ofAllowMultiSelect).
    TStrings *Files() const { return FFiles.get(); }
    const UnicodeString &InitialDir() const { return FInitialDir; }
    void SetInitialDir(const UnicodeString &Value) { FInitialDir = Value; }
    const UnicodeString &Filter() const { return FFilter; }
    void SetFilter(const UnicodeString &Value) { FFilter = Value; }
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    const UnicodeString &DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const UnicodeString &Value) { FDefaultExt = Value; }
    const UnicodeString &Title() const { return FTitle; }
    void SetTitle(const UnicodeString &Value) { FTitle = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }

    bool Execute() override;

    // The extension of DefaultExt with its dot (".csv"); empty when there is none.
    UnicodeString DefaultExtension() const;
    // FileName with the default extension appended when it has no extension of its own.
    UnicodeString WithDefaultExt(const UnicodeString &FileName) const;

protected:
    virtual bool IsSaveDialog() const { return false; }

private:
    TModalResult RunReal(TModalRequest &Request);
    UnicodeString FFileName;
    std::unique_ptr<TStringList> FFiles;
    UnicodeString FInitialDir;
    UnicodeString FFilter;
    int FFilterIndex = 1;
    UnicodeString FDefaultExt;
    UnicodeString FTitle;
    TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent *AOwner) : TOpenDialog(AOwner) {}

protected:
    bool IsSaveDialog() const override { return true; }
};

// The filter in the form a Qt file dialog takes: one "description (patterns)" per pair.
QStringList FilterToNameFilters(const UnicodeString &Filter);
