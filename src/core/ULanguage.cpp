#include "core/ULanguage.h"

#include "core/UComon.h"
#include "core/ULanguageTexts.h"
#include "core/UNew_Project.h"
#include "platform/FileUtils.h"
#include "platform/SysUtils.h"

std::unique_ptr<TStringList> SL_Lang_Text;
int Max_Lang_Index = 0;

namespace {

const QChar Pilcrow(0x00B6);

// No text of the table comes near this length; a longer one is a damaged or hostile file, and
// laying it out on a caption would keep the program busy for good.
const qsizetype Max_Lang_Text_Length = 4096;

// Appends the texts First..Last - 1: the listed ones, a single blank for every other number.
void Append_Texts(const TLang_Default_Text *Texts, int Count, int First, int Last)
{
    int k = 0;
    for (int n = First; n < Last; ++n) {
        if (k < Count && Texts[k].Index == n) {
            SL_Lang_Text->Add(QString::fromUtf16(Texts[k].Text));
            ++k;
        } else {
            SL_Lang_Text->Add(QStringLiteral(" "));
        }
    }
}

// The language file of Name in Path_Language, empty when there is none. The options dialog
// lists language files whatever the case of their extension (a file copied from another system
// may end in ".LNG"), so the file is found the same way; the name itself must match exactly
// but for letter case, wildcard characters included.
UnicodeString Find_Lang_File(const UnicodeString &Name)
{
    // The name comes from the settings file: it names a file in Path_Language by the rule of
    // configuration names, or none ("..\\x" or an absolute path would read another file).
    if (!Is_Conf_Folder_Name(Name))
        return UnicodeString();
    const UnicodeString Wanted = Name + QStringLiteral(".lng");
    const UnicodeString File_Name = Path_Language + QStringLiteral("\\") + Wanted;
    if (FileExists(File_Name))
        return File_Name;
    const QStringList Found = Find_File_Names(File_Name, faAnyFile & ~faDirectory, [&Wanted](const TSearchRec &F) {
        return !(F.Attr & faDirectory) && F.Name.compare(Wanted, Qt::CaseInsensitive) == 0;
    });
    return Found.isEmpty() ? UnicodeString() : Path_Language + QStringLiteral("\\") + Found.first();
}

} // namespace

void Load_Default_Lang()
{
    if (!SL_Lang_Text)
        SL_Lang_Text = std::make_unique<TStringList>();
    SL_Lang_Text->Clear();
    Append_Texts(Lang_Default_Texts, Lang_Default_Texts_Count, 0, 1800);
    Load_Default_Lang_2();
}

void Load_Default_Lang_2()
{
    Append_Texts(Lang_Default_Texts_2, Lang_Default_Texts_2_Count, 1800, Lang_Text_Count);
    Max_Lang_Index = Lang_Text_Count;
}

void Apply_Lang_Line(const UnicodeString &Line)
{
    if (!SL_Lang_Text)
        return;
    // Views, not copies: a damaged file may hold a line of many megabytes.
    const QStringView S = TrimView(Line);
    if (!S.startsWith(QLatin1String("STR")))
        return;
    // The character just before "=" is the blank of "STRn = text" and not part of the number.
    const qsizetype p = S.indexOf(QLatin1Char('='));
    const QStringView Number_Text = p < 0 ? QStringView() : S.mid(3, qMax<qsizetype>(0, p - 4));
    const int Number = StrToIntDef(TrimView(Number_Text).toString(), -1);
    if (Number < 0 || Number >= Max_Lang_Index || Number >= SL_Lang_Text->Count())
        return;
    QStringView Text = TrimView(S.mid(p + 1));
    if (Text.isEmpty())
        return;
    const qsizetype Comment = Text.indexOf(QLatin1String("/#/"));
    if (Comment >= 0) {
        Text = TrimView(Text.left(Comment));
        // A line that holds only a comment is a note to the translator, not an empty text.
        if (Text.isEmpty())
            return;
    }
    if (Text.startsWith(Pilcrow))
        Text = Text.mid(1);
    const qsizetype Closing = Text.indexOf(Pilcrow);
    if (Closing >= 0)
        Text = Text.left(Closing);
    // Refused whole: the number keeps its text, as with an empty one.
    if (Text.size() > Max_Lang_Text_Length)
        return;
    SL_Lang_Text->SetStrings(Number, Text.toString());
}

void Load_Lang_File(const UnicodeString &File_Name)
{
    if (!SL_Lang_Text)
        return;
    TStringList Lines;
    try {
        Lines.LoadFromFile(File_Name);
    } catch (const Exception &) {
        // An unreadable language file leaves the texts loaded so far, like a missing one.
        return;
    }
    for (int i = 0; i < Lines.Count(); ++i)
        Apply_Lang_Line(Lines.Strings(i));
}

void Load_Language()
{
    Load_Default_Lang();
    const UnicodeString File_Name = Find_Lang_File(Language_Name);
    if (!File_Name.isEmpty()) {
        Load_Lang_File(File_Name);
        return;
    }
    Language_Name = Default_Language;
    const UnicodeString English = Find_Lang_File(Default_Language);
    if (!English.isEmpty())
        Load_Lang_File(English);
}
