// Language files through the language loader, as the program loads the chosen language at
// start: the built-in texts, then the file's "STRn = text" lines in whatever encoding it comes.
// The table keeps its 2300 texts, none of them holding a line break or longer than 4,096
// characters.
#include "support/FuzzSupport.h"

#include "core/UComon.h"
#include "core/ULanguage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::CleanDir();
    const UnicodeString Saved_Path = Path_Language, Saved_Name = Language_Name;
    if (!SL_Lang_Text)
        SL_Lang_Text = std::make_unique<TStringList>();
    Fuzz::WriteFile(QStringLiteral("LANGUAGE/Fuzz.lng"), Fuzz::Bytes(Data, Size));
    Path_Language = Fuzz::PathOf(QStringLiteral("LANGUAGE"));
    Language_Name = QStringLiteral("fuzz");
    Load_Language();
    Fuzz::Check(Language_Name == QStringLiteral("fuzz"), "the language file was not found");
    Fuzz::Check(SL_Lang_Text->Count() == Lang_Text_Count, "the text table lost or gained texts");
    for (int i = 0; i < SL_Lang_Text->Count(); ++i) {
        const UnicodeString Text = SL_Lang_Text->Strings(i);
        Fuzz::Check(!Text.contains(QLatin1Char('\n')) && !Text.contains(QLatin1Char('\r')), "a text holds a line break");
        Fuzz::Check(Text.size() <= 4096, "a text is longer than any caption can show");
    }
    Path_Language = Saved_Path;
    Language_Name = Saved_Name;
    Load_Default_Lang();
    return 0;
}
