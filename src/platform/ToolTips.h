#pragma once
// The balloon tool tip window: a topmost pop-up, never activated, that shows a title with an
// icon and a text it asks its tool for (TTN_GETDISPINFOW to the tool's window) when the pointer
// rests over the tool. It looks like the balloon tip of an edit.

#include "platform/Controls.h"

#include <memory>

// The delays of SetDelayTime.
inline constexpr int TTDT_AUTOMATIC = 0;
inline constexpr int TTDT_RESHOW = 1;
inline constexpr int TTDT_AUTOPOP = 2;
inline constexpr int TTDT_INITIAL = 3;

class TToolTipWindow : public TCustomControl {
public:
    explicit TToolTipWindow(TComponent *AOwner);
    ~TToolTipWindow() override;

    // The one tool: the client area of Tool's window, its text given on request. The tip's
    // window is owned by the tool's window.
    void AddTool(TWinControl *Tool);
    TWinControl *Tool() const { return FTool; }
    // An icon outside TTI_NONE..TTI_ERROR becomes TTI_NONE.
    void SetTitle(const UnicodeString &Title, int Icon);
    UnicodeString Title() const { return FTitle; }
    int TitleIcon() const { return FIcon; }
    // A delay in milliseconds; -1 (the start) means the platform's own.
    void SetDelayTime(int Which, int Milliseconds);
    int DelayTime(int Which) const;
    // Asks the tool for the text and shows the balloon with its stem at ScreenAt; false when
    // the tool gives no text.
    bool Popup(TPoint ScreenAt);
    // Takes the balloon down (also TTM_POP).
    void Pop();
    bool TipShowing() const { return FShowing; }
    UnicodeString TipText() const { return FText; }
    // How many tool tip windows exist in the program.
    static int LiveCount();

protected:
    void CreateParams(TCreateParams &Params) override;
    void Paint() override;
    void WndProc(TMessage &Message) override;

private:
    class TTracker;
    friend class TTracker;
    TWinControl *FTool = nullptr;
    std::unique_ptr<TTracker> FTracker;
    UnicodeString FTitle;
    UnicodeString FText;
    int FIcon = 0;
    int FDelays[4] = {-1, -1, -1, -1};
    bool FShowing = false;
    std::uint32_t FBack = 0xFFFFFFFFu;
    std::uint32_t FFore = 0xFFFFFFFFu;
    int FMaxWidth = 300;
};
