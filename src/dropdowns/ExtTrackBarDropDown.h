#pragma once
// A drop-down edit for an integer in a range: the popup holds a track bar that moves it. By
// default the number is not typed: it changes with the track bar, with Up and Down and by
// dragging the mouse sideways over the edit.

#include "dropdowns/ExtCustomDropDown.h"
#include "platform/ComCtrls.h"

class TExtTrackBarDropDown : public TExtCustomDropDown {
public:
    explicit TExtTrackBarDropDown(TComponent *AOwner);

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const { return FPosition; }
    // Kept inside Min..Max once the track bar exists.
    void SetPosition(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    TNotifyEvent OnTrackChange;
    TTrackBar *TrackBar() const { return FTrackBar; }

    void AfterConstruction() override;
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancel) override;
    void AdaptDropDownHeight(int &H) override;
    void ControlKeyDown(Word &Key, TShiftState Shift) override;

protected:
    void Change() override;
    void WMKeyDown(TWMKey &Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void TrackBarChange(TObject *Sender);
    bool Draggable() const { return DropDownEnabled() && !EditorEnabled(); }
    TTrackBar *FTrackBar = nullptr;
    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FPageSize = 2;
    int FFrequency = 1;
    int FPositionAtDropDown = 0;
    bool FMouseDragging = false;
    int FMouseX = 0;
};
