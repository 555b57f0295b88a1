#pragma once
// A numeric edit with a pocket calculator in its popup. Keys clicked in the popup, characters
// typed while the popup has the focus and, with the popup closed, operator characters typed into
// the edit drive one calculator: an accumulator, a pending operator, a new-number flag, a
// divisor for typing fractions and a memory register.

#include "dropdowns/ExtButtonPanel.h"

#include <memory>

class TExtCalculatorDropdown : public TExtCustomDropDown {
public:
    explicit TExtCalculatorDropdown(TComponent *AOwner);
    ~TExtCalculatorDropdown() override;

    TButtonAppearance *CalcButtonAppearance() const { return FCalcButtonAppearance.get(); }
    void SetCalcButtonAppearance(TButtonAppearance *Value) { FCalcButtonAppearance->Assign(Value); }
    bool ShowThousandSeparator() const { return FShowThousandSeparator; }
    void SetShowThousandSeparator(bool Value);
    // The display as a number; a display that is no number reads as 0.
    long double Value();
    void SetValue(long double Value);
    TCustomButtonPanel *ButtonPanel() const { return FPanel; }
    long double Accumulator() const { return FAccumulator; }
    long double Memory() const { return FMemory; }

    // Finishes the pending calculation, as "=" does.
    void CalcResult() { PressEquals(); }

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void FormKeyPress(WideChar &Key) override;
    void FormKeyDown(Word &Key, TShiftState Shift) override;
    void SetComponentStyle(TQRVStyle AStyle) override;
    // Runs before every key the calculator handles.
    virtual void BeforeCalcAction() {}
    // A key of the panel by its index.
    void ButtonClick(TObject *Sender, int Index);

protected:
    void KeyPress(WideChar &Key) override;
    void WMKeyDown(TWMKey &Message) override;
    // The operator characters act before the numeric filter would drop them.
    void WMChar(TWMKey &Message) override;
    // Entering by keyboard selects the value, without prefix and suffix.
    void CMEnter(TCMEnter &Message) override;

private:
    enum TOperator { opNone = -1, opAdd, opMultiply, opSubtract, opDivide };
    UnicodeString Display() const { return GetText(); }
    void SetDisplay(const UnicodeString &T) { SetText(T); }
    void Show(long double V) { SetFloatValue(static_cast<double>(V)); }
    // The display without thousand separators as a number; raises EConvertError for no number.
    long double DisplayValue() const;
    void Clear(bool Accumulator);
    void Calc();
    void PressOperator(TOperator Op);
    void PressEquals();
    void PressPercent();
    bool AtMaxLength() const;
    // The calculator's rules for a character typed into the edit; true when they consumed it.
    bool CalcChar(WideChar &Key);
    bool FCharJudged = false;
    bool PopupShowing() const { return !FCalcClosed && DroppedDown(); }
    std::unique_ptr<TButtonAppearance> FCalcButtonAppearance;
    TCustomButtonPanel *FPanel = nullptr;
    int FDivisor = 0;
    bool FNewNumber = false;
    long double FAccumulator = 0;
    TOperator FOperator = opNone;
    bool FCalcClosed = true;
    long double FMemory = 0;
    bool FShowThousandSeparator = false;
};
