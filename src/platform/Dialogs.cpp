// Message boxes and file dialogs through the modal hook.
#include "platform/Dialogs.h"

#include "platform/FileUtils.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace {

const TMsgDlgBtn AllButtons[] = {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose};

UnicodeString ApplicationTitle()
{
    const UnicodeString t = Application->Title();
    return t.isEmpty() ? QFileInfo(Application->ExeName()).completeBaseName() : t;
}

UnicodeString CaptionOf(TMsgDlgType Type)
{
    switch (Type) {
    case mtWarning: return QStringLiteral("Warning");
    case mtError: return QStringLiteral("Error");
    case mtInformation: return QStringLiteral("Information");
    case mtConfirmation: return QStringLiteral("Confirm");
    case mtCustom: break;
    }
    return ApplicationTitle();
}

QMessageBox::Icon IconOf(TMsgDlgType Type)
{
    switch (Type) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtCustom: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton StandardOf(TMsgDlgBtn B)
{
    switch (B) {
    case mbYes: return QMessageBox::Yes;
    case mbNo: return QMessageBox::No;
    case mbOK: return QMessageBox::Ok;
    case mbCancel: return QMessageBox::Cancel;
    case mbAbort: return QMessageBox::Abort;
    case mbRetry: return QMessageBox::Retry;
    case mbIgnore: return QMessageBox::Ignore;
    case mbAll: return QMessageBox::YesToAll;
    case mbNoToAll: return QMessageBox::NoToAll;
    case mbYesToAll: return QMessageBox::YesToAll;
    case mbHelp: return QMessageBox::Help;
    case mbClose: return QMessageBox::Close;
    }
    return QMessageBox::NoButton;
}

TModalResult RunMessageBox(const TModalRequest &R, TMsgDlgBtn DefaultButton)
{
    QMessageBox box(IconOf(R.DlgType), R.Caption, R.Text, QMessageBox::NoButton, QApplication::activeWindow());
    std::vector<std::pair<QAbstractButton *, TMsgDlgBtn>> map;
    for (TMsgDlgBtn b : R.Buttons) {
        QAbstractButton *qb = nullptr;
        if (b == mbAll)
            qb = box.addButton(QStringLiteral("&All"), QMessageBox::AcceptRole);
        else
            qb = box.button(StandardOf(b)) ? nullptr : box.addButton(StandardOf(b));
        if (!qb)
            continue;
        map.emplace_back(qb, b);
        if (b == DefaultButton)
            box.setDefaultButton(static_cast<QPushButton *>(qb));
    }
    // Escape (and the close box) choose Cancel, else No, else OK, as the classic box does.
    for (TMsgDlgBtn b : {mbCancel, mbNo, mbOK}) {
        bool found = false;
        for (auto &m : map)
            if (m.second == b) {
                box.setEscapeButton(m.first);
                found = true;
                break;
            }
        if (found)
            break;
    }
    box.exec();
    for (auto &m : map)
        if (m.first == box.clickedButton())
            return ModalResultOfButton(m.second);
    return mrCancel;
}

TMsgDlgBtn ClassicDefault(TMsgDlgButtons Buttons)
{
    if (Buttons.Contains(mbOK))
        return mbOK;
    if (Buttons.Contains(mbYes))
        return mbYes;
    return mbRetry;
}

} // namespace

TModalResult MessageDlg(const UnicodeString &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    return MessageDlg(Msg, DlgType, Buttons, HelpCtx, ClassicDefault(Buttons));
}

TModalResult MessageDlg(const UnicodeString &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int,
                        TMsgDlgBtn DefaultButton)
{
    TModalRequest request;
    request.Kind = mkMessage;
    request.DlgType = DlgType;
    request.Caption = CaptionOf(DlgType);
    request.Text = Msg;
    for (TMsgDlgBtn b : AllButtons)
        if (Buttons.Contains(b))
            request.Buttons.push_back(b);
    if (request.Buttons.empty())
        request.Buttons.push_back(mbOK); // a box always has a way out
    request.RunDefault = [DefaultButton](TModalRequest &R) { return RunMessageBox(R, DefaultButton); };
    return RunModal(request);
}

void ShowMessage(const UnicodeString &Msg)
{
    TModalRequest request;
    request.Kind = mkMessage;
    request.DlgType = mtCustom;
    request.Caption = ApplicationTitle();
    request.Text = Msg;
    request.Buttons = {mbOK};
    request.RunDefault = [](TModalRequest &R) { return RunMessageBox(R, mbOK); };
    RunModal(request);
}

// ---------------------------------------------------------------------------------------------
// File dialogs

QStringList FilterToNameFilters(const UnicodeString &Filter)
{
    QStringList result;
    if (Filter.isEmpty())
        return result;
    const QStringList parts = Filter.split(QLatin1Char('|'));
    for (int i = 0; i < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        const QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        QString spaced = patterns;
        spaced.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses at the end of a filter.
        if (spaced.isEmpty())
            result << desc;
        else if (desc.endsWith(QLatin1Char(')')) && desc.contains(QLatin1Char('(')) &&
                 desc.mid(desc.lastIndexOf(QLatin1Char('(')) + 1).chopped(1).simplified() == spaced.simplified())
            result << desc;
        else
            result << QStringLiteral("%1 (%2)").arg(desc, spaced);
    }
    return result;
}

TOpenDialog::TOpenDialog(TComponent *AOwner) : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>())
{
}

TOpenDialog::~TOpenDialog() = default;

UnicodeString TOpenDialog::DefaultExtension() const
{
    UnicodeString e = FDefaultExt.trimmed();
    while (e.startsWith(QLatin1Char('*')) || e.startsWith(QLatin1Char('.')))
        e.remove(0, 1);
    return e.isEmpty() ? QString() : QStringLiteral(".") + e;
}

UnicodeString TOpenDialog::WithDefaultExt(const UnicodeString &FileName) const
{
    const UnicodeString ext = DefaultExtension();
    if (ext.isEmpty() || FileName.isEmpty() || !ExtractFileExt(FileName).isEmpty())
        return FileName;
    return FileName + ext;
}

TModalResult TOpenDialog::RunReal(TModalRequest &Request)
{
    QFileDialog dlg(QApplication::activeWindow(), Request.Caption, NativePath(Request.InitialDir));
    dlg.setAcceptMode(IsSaveDialog() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (IsSaveDialog())
        dlg.setFileMode(QFileDialog::AnyFile);
    else if (FOptions.Contains(ofAllowMultiSelect))
        dlg.setFileMode(QFileDialog::ExistingFiles);
    else
        dlg.setFileMode(FOptions.Contains(ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !FOptions.Contains(ofOverwritePrompt));
    const QStringList filters = FilterToNameFilters(Request.Filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        if (FFilterIndex >= 1 && FFilterIndex <= filters.size())
            dlg.selectNameFilter(filters[FFilterIndex - 1]);
    }
    const UnicodeString ext = DefaultExtension();
    if (!ext.isEmpty())
        dlg.setDefaultSuffix(ext.mid(1));
    if (!Request.FileName.isEmpty())
        dlg.selectFile(NativePath(Request.FileName));
    if (dlg.exec() != QDialog::Accepted)
        return mrCancel;
    Request.AnswerFiles.clear();
    for (const QString &f : dlg.selectedFiles())
        Request.AnswerFiles.push_back(f);
    Request.AnswerFileName = Request.AnswerFiles.empty() ? QString() : Request.AnswerFiles.front();
    const int fi = static_cast<int>(filters.indexOf(dlg.selectedNameFilter()));
    if (fi >= 0)
        FFilterIndex = fi + 1;
    return mrOk;
}

bool TOpenDialog::Execute()
{
    TModalRequest request;
    request.Kind = IsSaveDialog() ? mkSaveDialog : mkOpenDialog;
    request.ClassName = ClassName();
    request.Name = Name();
    request.Caption = !FTitle.isEmpty() ? FTitle : IsSaveDialog() ? QStringLiteral("Save As") : QStringLiteral("Open");
    request.Filter = FFilter;
    request.InitialDir = FInitialDir;
    request.DefaultExt = FDefaultExt;
    request.FileName = FFileName;
    request.RunDefault = [this](TModalRequest &R) { return RunReal(R); };
    if (OnShow)
        OnShow(this);
    const TModalResult result = RunModal(request);
    if (OnClose)
        OnClose(this);
    if (result != mrOk)
        return false;
    std::vector<UnicodeString> files = request.AnswerFiles;
    if (files.empty())
        files.push_back(!request.AnswerFileName.isEmpty() ? request.AnswerFileName : FFileName);
    if (files.front().isEmpty())
        return false; // confirmed without a name: nothing was chosen
    FFiles->Clear();
    for (UnicodeString &f : files) {
        f = WithDefaultExt(f);
        FFiles->Add(f);
    }
    FFileName = files.front();
    return true;
}
