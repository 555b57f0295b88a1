#pragma once
// The page control and its tab sheets, the track bar and the date-time picker.
//
// A TTabSheet joins a TPageControl through SetPageControl (or by taking it as its parent); the
// pages keep the order in which they joined unless PageIndex moves them. Only the active page is
// shown; a page whose TabVisible is false has no tab and is never the one a click activates.

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Messages.h"
#include "platform/System.h"

#include <functional>
#include <memory>
#include <vector>

class QTabBar;
class TPageControl;

using TTabChangingEvent = std::function<void(TObject *Sender, bool &AllowChange)>;

class TTabSheet : public TCustomControl {
public:
    explicit TTabSheet(TComponent *AOwner);
    ~TTabSheet() override;

    TPageControl *PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl *Value);
    // Position among the pages of the page control; -1 without one.
    int PageIndex() const;
    void SetPageIndex(int Value);
    // The position among the pages whose tab shows; -1 when its tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }

    void SetParent(TWinControl *AParent) override;

protected:
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl *FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

class TPageControl : public TCustomControl {
public:
    explicit TPageControl(TComponent *AOwner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet *Pages(int Index) const;
    TTabSheet *ActivePage() const { return FActivePage; }
    // Shows the page (nullptr: none); fires neither OnChanging nor OnChange, as in code.
    void SetActivePage(TTabSheet *Page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int Value);
    // The page after (or before) CurrentPage among those with a visible tab, wrapping around.
    TTabSheet *FindNextPage(TTabSheet *CurrentPage, bool GoForward, bool CheckTabVisible) const;
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
    // The area the pages fill.
    TRect DisplayRect() const;
    int TabHeight() const;

    // The user picks a tab: OnChanging may refuse, OnChange follows the change.
    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    void Paint() override;
    void AlignControls(TControl *AControl, TRect &Rect) override;
    void BoundsChanged(bool Moved, bool Resized) override;
    void CMFontChanged(TCMFontChanged &Message) override;
    virtual bool CanChange();
    virtual void Change();
    // The user clicked the tab of Page.
    void UserSelected(TTabSheet *Page);

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet *Page);
    void RemovePage(TTabSheet *Page);
    void MovePage(TTabSheet *Page, int Index);
    void UpdateTabs();
    void ShowActive();
    QTabBar *Bar() const;
    std::vector<TTabSheet *> FPages;
    TTabSheet *FActivePage = nullptr;
    int FSyncing = 0;
};

// ---------------------------------------------------------------------------------------------
// Rich edit

class QTextDocument;
class TRichEdit;
class QTextCursor;

// The lines of a rich edit: one per paragraph. Loading takes RTF (bytes starting "{\rtf") with
// its formatting, or anything else as plain text, whole; saving writes 8-bit RTF.
class TRichEditStrings : public TStrings {
public:
    explicit TRichEditStrings(TRichEdit *Edit) : FEdit(Edit) {}
    int Count() const override;
    UnicodeString Strings(int Index) const override;
    void SetStrings(int Index, const UnicodeString &S) override;
    void Insert(int Index, const UnicodeString &S) override;
    void Delete(int Index) override;
    void Clear() override;
    UnicodeString Text() const override;
    void SetText(const UnicodeString &Value) override;
    void LoadFromStream(TStream *Stream, TEncoding *Encoding = nullptr) override;
    void SaveToStream(TStream *Stream, TEncoding *Encoding = nullptr) override;

private:
    TRichEdit *FEdit;
};

// A rich-text edit over a Qt text document, which exists from construction on, so that a rich
// edit without a window (the grid keeps one for converting cells) loads, saves and reads lines.
class TRichEdit : public TWinControl {
public:
    explicit TRichEdit(TComponent *AOwner);
    ~TRichEdit() override;

    TStrings *Lines() const { return FLines.get(); }
    void SetLines(TStrings *Value) { FLines->Assign(Value); }
    // The document behind the edit; for the platform layer.
    QTextDocument *Document() const { return FDoc.get(); }
    // Lays the text out in the width of R and draws it into R on Canvas (clipped to R), the way
    // a formatted range is rendered; TextColor other than clNone draws all of it in that colour.
    void DrawTo(TCanvas *Canvas, const TRect &R, TColor TextColor = clNone);
    // The size the text needs laid out in Width pixels (no wrapping for Width <= 0).
    TSize RequiredSize(int Width);

    // The selection, in characters from the start of the text.
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    void SelectAll();
    // The vertical offset of the selected characters in twips: positive raises them (drawn as
    // superscript), negative lowers them (subscript). The value is kept and read back as set;
    // the offset of the character before the caret when nothing is selected.
    int SelOffset() const;
    void SetSelOffset(int Twips);
    bool HideSelection() const { return FHideSelection; }
    // False keeps the selection shown while the edit does not have the focus.
    void SetHideSelection(bool Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // The text asks for another height: Rect is the edit's client rectangle with the height
    // the laid-out text needs (width unchanged).
    using TRichEditResizeEvent = std::function<void(TObject *Sender, const TRect &Rect)>;
    TRichEditResizeEvent OnResizeRequest;
    TNotifyEvent OnSelectionChange;
    // Asks for the size the text needs now, as a change of the text does.
    void RequestSize();
    // Whether a change of the text asks for its size (always while OnResizeRequest is set).
    bool ResizeRequests() const { return FResizeRequests; }
    void SetResizeRequests(bool Value) { FResizeRequests = Value; }

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    // EM_SETRECT, EM_SETRECTNP and EM_GETRECT: the formatting rectangle, the part of the client
    // area the text is laid out and drawn in (all of it until one is set). Its distances to the
    // edges are kept when the edit changes size, so that a growing edit gives its text the room.
    void WndProc(TMessage &Message) override;
    // Text is the plain text, its lines joined by CR LF (none after the last); setting it
    // replaces the whole document.
    UnicodeString GetText() const override;
    void TextChanged() override;
    // The text's wanted rectangle; the default fires OnResizeRequest.
    virtual void DoResizeRequest(const TRect &Rect);

private:
    // The selection as the window shows it, or as kept while there is no window.
    QTextCursor CurrentCursor() const;
    void PutCursor(const QTextCursor &C);
    void ApplyLook();
    std::unique_ptr<QTextDocument> FDoc;
    std::unique_ptr<TRichEditStrings> FLines;
    std::unique_ptr<QTextCursor> FCursor;
    bool FHideSelection = true;
    TBorderStyle FBorderStyle = bsSingle;
    bool FQuiet = false;
    bool FResizeRequests = false;
    // The formatting rectangle's distances to the client area's edges.
    int FTextLeft = 0, FTextTop = 0, FTextRight = 0, FTextBottom = 0;
};

// A track bar: a thumb that moves in steps over the range Min..Max. Position is kept inside the
// range and Min <= Max always; OnChange follows every change of Position, code changes included.
// Its keys pass through the control's key events first, so that an owner can take them.
class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent *AOwner);

    int Min() const { return FMin; }
    // A Min above Max moves Max up to it.
    void SetMin(int Value);
    int Max() const { return FMax; }
    // A Max below Min moves Min down to it.
    void SetMax(int Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    TNotifyEvent OnChange;

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    // The arrow keys move the thumb rather than the focus.
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    // The keys move the thumb as the classic track bar does (Left and Up toward Min, Right and
    // Down toward Max, a line is 1, Page Up and Page Down a page, Home and End the ends), after
    // OnKeyDown, which may take the key.
    void WMKeyDown(TWMKey &Message) override;
    // Alt with a key is no step of the thumb.
    void WMSysKeyDown(TWMKey &Message) override;
    virtual void Changed();

private:
    void ApplyState();
    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FPageSize = 2;
    int FFrequency = 1;
};

// ---- the date-time picker (ComCtrlsDateTime.cpp) ----

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };
// The kinds of field of a picker's format.
enum TDateTimeField { dtfNone, dtfDay, dtfWeekDay, dtfMonth, dtfYear, dtfHour, dtfMinute, dtfSecond, dtfMSec, dtfAmPm };

// The month calendar that a date picker drops down. Its window styles (GWL_STYLE) are read each
// time it is shown or measured: MCS_WEEKNUMBERS adds the week numbers, and today is marked
// unless MCS_NOTODAYCIRCLE is set. It answers MCM_GETMINREQRECT.
class TMonthCalendar : public TWinControl {
public:
    explicit TMonthCalendar(TComponent *AOwner);
    // The day the calendar shows as selected (whole days).
    double Date() const { return FDate; }
    void SetDate(double Value);
    // A day was clicked.
    TNotifyEvent OnClick;
    // The calendar's styles as they apply now (for the platform layer and tests).
    bool ShowsWeekNumbers() const;
    bool MarksToday() const;
    void WndProc(TMessage &Message) override;

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;

private:
    friend class TDateTimePicker;
    void ApplyStyle();
    DWORD Style() const;
    double FDate = 0;
};

// A date-time picker: an edit of a date (dtkDate) or a time of day (dtkTime) whose fields are
// stepped or typed. DateTime is the whole value (days since 30 Dec 1899 plus the time of day in
// whole milliseconds); Date and Time are its two parts. OnChange follows every change, code
// changes included. Format is the picker's own syntax ("dd/MM/yyyy", "HH:mm:ss", "tt" for AM or
// PM); empty is the locale's short date or long time, read at each use. MinDate and MaxDate (0:
// none) bound the date. dmComboBox drops a month calendar from a button (F4, Alt+Down);
// dmUpDown steps with arrows.
//
// The fields keep to the classic rules: a digit fills the field under the caret and never moves
// on by itself (two digits at most, a year takes four); Left and Right change the field (also
// when posted), Up and Down step it by one, wrapping inside the field. A change by the user
// reaches the parent as WM_NOTIFY and then the picker as CN_NOTIFY DTN_DATETIMECHANGE (so do
// DTN_DROPDOWN and DTN_CLOSEUP), a value set by code as DTM_SETSYSTEMTIME
// through WndProc (SendSystemTime), so a subclass sees both. The keys pass through the
// control's key events first; while the calendar is dropped down it takes the keyboard.
class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent *AOwner);
    ~TDateTimePicker() override;

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind Value);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode Value);
    // The time of day of the value (the fraction of a day).
    double Time() const;
    void SetTime(double Value);
    // The whole days of the value.
    double Date() const;
    void SetDate(double Value);
    double DateTime() const { return FDateTime; }
    void SetDateTime(double Value);
    double MinDate() const { return FMinDate; }
    void SetMinDate(double Value);
    double MaxDate() const { return FMaxDate; }
    void SetMaxDate(double Value);
    bool ShowCheckbox() const { return FShowCheckbox; }
    // The check box stands at the left of the value, which shows greyed while it is cleared.
    void SetShowCheckbox(bool Value);
    // Without a check box the picker always counts as checked. With one, Space or a click on
    // the box toggles it.
    bool Checked() const { return FChecked || !FShowCheckbox; }
    void SetChecked(bool Value);
    const UnicodeString &Format() const { return FFormat; }
    void SetFormat(const UnicodeString &Value);
    // The calendar of dmComboBox is open.
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);
    // The dropped-down calendar, nullptr while closed.
    TMonthCalendar *MonthCalendar() const;

    // The fields of the shown format, and the one under the caret.
    int FieldCount() const;
    TDateTimeField FieldKind(int Index) const;
    int FieldIndex() const;
    void SetFieldIndex(int Index);
    TDateTimeField CurrentField() const { return FieldKind(FieldIndex()); }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    void WndProc(TMessage &Message) override;

protected:
    QWidget *CreateWidget(QWidget *ParentWidget) override;
    void CreateWnd() override;
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    void WMKeyDown(TWMKey &Message) override;
    void WMSysKeyDown(TWMKey &Message) override;
    void WMChar(TWMKey &Message) override;
    // A year typed in part is taken when the focus leaves.
    void CMExit(TCMExit &Message) override;
    void CMVisibleChanged(TCMVisibleChanged &Message) override;
    void CMEnabledChanged(TCMEnabledChanged &Message) override;
    // The field shows the picker's colour.
    void CMColorChanged(TCMColorChanged &Message) override;
    // The value as the picker shows it.
    UnicodeString GetText() const override;
    // Hands a value set by code (or the cleared check box: GDT_NONE) to the window as
    // DTM_SETSYSTEMTIME.
    virtual void SendSystemTime(DWORD Flag, const SYSTEMTIME &Time);
    // The reflected notifications: DTN_DATETIMECHANGE takes the user's value (GDT_NONE clears
    // the check box) and fires OnChange; DTN_DROPDOWN and DTN_CLOSEUP fire their events.
    virtual void CNNotify(TWMNotify &Message);
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();

private:
    friend class TDateTimePickerEdit;
    struct TField {
        TDateTimeField Kind = dtfNone;
        int Length = 0;
    };
    void ApplyState();
    // Format in Qt's syntax, the locale's when empty.
    QString DisplayFormat() const;
    std::vector<TField> Fields() const;
    // The value in whole milliseconds, its date kept within MinDate and MaxDate.
    double Bounded(double Value) const;
    // Stores a value and fires OnChange when it differs; false when it does not.
    bool StoreValue(double Value);
    // The user changed the value: it goes through CN_NOTIFY.
    void UserChange(double Value, DWORD Flag = GDT_VALID);
    void Notify(UINT Code);
    void Report(NMHDR *Header);
    void StepField(int By);
    void ToggleCheck();
    void TypeDigit(int Digit);
    // A year typed in part is taken when the caret leaves the field.
    void EndTyping();
    void MoveField(int By);
    void CloseCalendar(bool Take, bool Report = true);
    bool CalendarKey(Word Key);
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    double FDateTime = 0;
    double FMinDate = 0;
    double FMaxDate = 0;
    bool FShowCheckbox = false;
    bool FChecked = true;
    UnicodeString FFormat;
    int FField = 0;
    QString FTyped;
    TWinControl *FDrop = nullptr;
    TMonthCalendar *FCalendar = nullptr;
};
