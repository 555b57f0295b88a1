#pragma once
// A time edit: masked text of hours, minutes and (optionally) seconds, with the analogue watch
// (and, on request, a time picker under it) in its popup. Time is the value; the text, the watch
// and the picker follow it. Up and Down step the field under the caret.

#include "dropdowns/ExtCustomDropDown.h"
#include "dropdowns/ExtWatch.h"

#include <memory>

class TDateTimePicker;
class TPanel;

class TExtTimePickerDropDown : public TExtCustomDropDown {
public:
    explicit TExtTimePickerDropDown(TComponent *AOwner);
    ~TExtTimePickerDropDown() override;

    bool ShowTimePicker = false;
    TWatchAppearance *WatchAppearance() const { return FWatchAppearance.get(); }
    void SetWatchAppearance(TWatchAppearance *Value) { FWatchAppearance->Assign(Value); }
    TWatchSettings *WatchSettings() const { return FWatchSettings.get(); }
    void SetWatchSettings(TWatchSettings *Value) { FWatchSettings->Assign(Value); }
    bool ShowWatchAMPM = true;
    bool ShowWatchNumbers = true;
    bool Animation = true;
    int AnimationFactor() const { return FAnimationFactor; }
    // Below 1 it is 1, as the watch takes it.
    void SetAnimationFactor(int Value) { FAnimationFactor = Value < 1 ? 1 : Value; }
    TDateTime Time() const { return FTime; }
    // Rewrites the text (and, while the popup is open, the watch and the picker); no
    // OnTimeChange.
    void SetTime(TDateTime Value);
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool Value);
    TNotifyEvent OnTimeChange;

    // One part of Time; out of range or unchanged does nothing, else OnTimeChange follows.
    void SetHourPart(int Value);
    void SetMinutePart(int Value);
    void SetSecondPart(int Value);

    TExtWatch *Watch() const { return FWatch; }
    TDateTimePicker *TimePicker() const { return FPicker; }
    TPanel *Panel() const { return FPanel; }

    void AfterConstruction() override;
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancel) override;
    void DropDownHidden() override;
    void FormKeyDown(Word &Key, TShiftState Shift) override;
    void FormKeyUp(Word &Key, TShiftState Shift) override;
    void ControlKeyDown(Word &Key, TShiftState Shift) override;
    void ControlKeyUp(Word &Key, TShiftState Shift) override;
    void ControlKeyPress(WideChar &Key) override;
    void SetComponentStyle(TQRVStyle AStyle) override;

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void Change() override;

private:
    UnicodeString FormatTime(TDateTime Value) const;
    UnicodeString MaskFor(bool Seconds) const;
    // Page Up, Page Down, Up and Down belong to the popup unless Alt is held.
    static bool PopupKey(Word Key, TShiftState Shift);
    void WatchChanged(TObject *Sender);
    void PickerChanged(TObject *Sender);
    std::unique_ptr<TWatchAppearance> FWatchAppearance;
    std::unique_ptr<TWatchSettings> FWatchSettings;
    TExtWatch *FWatch = nullptr;
    TDateTimePicker *FPicker = nullptr;
    TPanel *FPanel = nullptr;
    int FAnimationFactor = 10;
    TDateTime FTime = 0;
    // The value of the opening, which a cancelled close goes back to.
    TDateTime FTimeAtDropDown = 0;
    bool FShowSeconds = true;
    bool FInternalCall = false;
};
