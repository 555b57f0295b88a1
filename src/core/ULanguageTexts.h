#pragma once
// The built-in English texts of the language table, kept as data apart from the loader.

struct TLang_Default_Text {
    int Index;
    const char16_t *Text;
};

// Texts 0 to 1799 and 1800 to 2299, each in ascending number order; numbers that are not
// listed hold a single blank.
extern const TLang_Default_Text Lang_Default_Texts[];
extern const int Lang_Default_Texts_Count;
extern const TLang_Default_Text Lang_Default_Texts_2[];
extern const int Lang_Default_Texts_2_Count;
