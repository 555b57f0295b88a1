#pragma once
// The table of user-interface texts: built-in English texts, replaced by the lines of the chosen
// language file. Every form copies its texts from here by fixed number.

#include "platform/Classes.h"
#include "platform/System.h"

#include <memory>

// Texts 0 to 2299, the text number being the list index. The main window creates it first
// thing; Load_Default_Lang creates it as well when nobody did.
extern std::unique_ptr<TStringList> SL_Lang_Text;
// A language file line for this number or above is ignored.
extern int Max_Lang_Index;

// The number of texts in the table once it is loaded.
constexpr int Lang_Text_Count = 2300;

// Clears the table and appends the built-in texts 0 to 1799, then (Load_Default_Lang_2) 1800
// to 2299; afterwards Max_Lang_Index is 2300.
void Load_Default_Lang();
void Load_Default_Lang_2();
// Applies the lines of a language file to the table. A file that cannot be read changes nothing.
void Load_Lang_File(const UnicodeString &File_Name);
// Built-in texts, then the file of Language_Name in Path_Language; when that file is missing,
// Language_Name becomes "English" and "English.lng" is applied when it exists.
void Load_Language();
// Applies one line of a language file (the reading rules of Load_Lang_File).
void Apply_Lang_Line(const UnicodeString &Line);
