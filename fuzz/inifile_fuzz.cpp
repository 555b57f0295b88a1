// INI files and the registry's file, both read from the same bytes: every section and value as
// the program reads them, then one value written (the file is rewritten) and everything read
// again - writing a value must lose or change nothing else of a file a person edited.
#include "support/FuzzSupport.h"

#include "platform/Classes.h"
#include "platform/IniFiles.h"
#include "platform/Registry.h"
#include "platform/SysUtils.h"

#include <QStringList>

#include <cstdlib>
#include <deque>
#include <optional>

namespace {

QString IniDump(TCustomIniFile &Ini, const QString &Skip)
{
    QStringList Out;
    TStringList Sections, Keys, Values;
    Ini.ReadSections(&Sections);
    for (int s = 0; s < Sections.Count(); ++s) {
        const UnicodeString Section = Sections.Strings(s);
        if (SameText(Section, Skip))
            continue;
        Ini.ReadSection(Section, &Keys);
        Ini.ReadSectionValues(Section, &Values);
        Out << QLatin1Char('[') + Section + QLatin1Char(']') << Values.Text();
        for (int k = 0; k < Keys.Count(); ++k) {
            const UnicodeString Key = Keys.Strings(k);
            Fuzz::Check(Ini.ValueExists(Section, Key), "a key listed does not exist");
            Out << Key + QLatin1Char('=') + Ini.ReadString(Section, Key, QStringLiteral("?"))
                << QString::number(Ini.ReadInteger(Section, Key, -7)) << QString::number(Ini.ReadBool(Section, Key, true))
                << QString::number(Ini.ReadFloat(Section, Key, -0.5), 'g', 17);
        }
    }
    return Out.join(QLatin1Char('\n'));
}

void FuzzIni(const QByteArray &Input)
{
    const QString Path = Fuzz::PathOf(QStringLiteral("file.ini"));
    Fuzz::WriteFile(QStringLiteral("file.ini"), Input);
    QString Before;
    {
        TMemIniFile Ini(Path);
        Before = IniDump(Ini, QStringLiteral("Fuzz written"));
        Ini.WriteString(QStringLiteral("Fuzz written"), QStringLiteral("Key"), QStringLiteral("a=b;c"));
        Ini.UpdateFile();
    }
    TIniFile Again(Path);
    Fuzz::CheckSame(IniDump(Again, QStringLiteral("Fuzz written")), Before, "writing one value changed others of the INI file");
    Fuzz::CheckSame(Again.ReadString(QStringLiteral("Fuzz written"), QStringLiteral("Key"), QString()), QStringLiteral("a=b;c"),
                    "the value written to the INI file does not read back");
}

// Every key of the registry below the roots the program uses, with its values; bounded, since
// a file can name a great many keys.
QString RegistryDump(const QString &Skip)
{
    QStringList Out;
    for (HKEY Root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        TRegistry Reg(KEY_READ);
        Reg.SetRootKey(Root);
        std::deque<QString> Pending{QString()};
        int Seen = 0;
        while (!Pending.empty() && Seen < 200) {
            const QString Key = Pending.front();
            Pending.pop_front();
            if (Key.compare(Skip, Qt::CaseInsensitive) == 0)
                continue;
            ++Seen;
            // Paths take "/" for "\", so a hand-written section with "/" in a key name lists a
            // name that opens another key; the program never writes such a section.
            const bool Opened = Reg.OpenKeyReadOnly(QLatin1Char('\\') + Key);
            if (!Opened && !Key.contains(QLatin1Char('/')))
                Fuzz::CheckSame(Key, QString(), "a key listed does not open");
            if (!Opened)
                continue;
            // The keys on the way to the one written come into being with it.
            if (Root != HKEY_CURRENT_USER || !(Key.isEmpty() || Skip.startsWith(Key + QLatin1Char('\\'), Qt::CaseInsensitive)))
                Out << QStringLiteral("key ") + Key;
            TStringList Names;
            Reg.GetValueNames(&Names);
            for (int i = 0; i < Names.Count(); ++i) {
                const UnicodeString Name = Names.Strings(i);
                Fuzz::Check(Reg.ValueExists(Name), "a value listed does not exist");
                QString Line = Name + QLatin1Char('=') + QString::number(Reg.GetDataType(Name));
                try {
                    Line += QLatin1Char(' ') + (Reg.GetDataType(Name) == rdInteger ? QString::number(Reg.ReadInteger(Name)) : Reg.ReadString(Name));
                } catch (const ERegistryException &) {
                    Line += QStringLiteral(" unreadable");
                }
                Out << Line;
            }
            Reg.GetKeyNames(&Names);
            for (int i = 0; i < Names.Count(); ++i)
                Pending.push_back(Key.isEmpty() ? Names.Strings(i) : Key + QLatin1Char('\\') + Names.Strings(i));
            Reg.CloseKey();
        }
    }
    return Out.join(QLatin1Char('\n'));
}

void FuzzRegistry(const QByteArray &Input)
{
    // Another name than for the last input, so that the registry's memory of the last file
    // never stands in for this one; two names only, since the C library keeps every value
    // the environment ever had.
    static int Run = 0;
    const QString Name = QStringLiteral("registry-%1.ini").arg(++Run % 2);
    Fuzz::WriteFile(Name, Input);
    const char *Old = std::getenv("FABRICOR_REGISTRY_FILE");
    const std::optional<QByteArray> Saved = Old ? std::optional<QByteArray>(Old) : std::nullopt;
    setenv("FABRICOR_REGISTRY_FILE", Fuzz::PathOf(Name).toLocal8Bit().constData(), 1);

    const QString Skip = QStringLiteral("Software\\Fuzz written");
    const QString Before = RegistryDump(Skip);
    {
        TRegistry Reg;
        Reg.SetRootKey(HKEY_CURRENT_USER);
        Fuzz::Check(Reg.OpenKey(QLatin1Char('\\') + Skip, true), "a registry key cannot be made");
        Reg.WriteString(QStringLiteral("Text"), QStringLiteral("x\\y\r\n\"z\""));
        Reg.WriteInteger(QStringLiteral("Number"), -42);
    }
    Fuzz::CheckSame(RegistryDump(Skip), Before, "writing one value changed others of the registry");
    TRegistry Reg;
    Reg.SetRootKey(HKEY_CURRENT_USER);
    Fuzz::Check(Reg.OpenKeyReadOnly(QLatin1Char('\\') + Skip), "the registry key written is gone");
    Fuzz::Check(Reg.ReadString(QStringLiteral("Text")) == QStringLiteral("x\\y\r\n\"z\""), "the registry text does not read back");
    Fuzz::Check(Reg.ReadInteger(QStringLiteral("Number")) == -42, "the registry number does not read back");

    if (Saved)
        setenv("FABRICOR_REGISTRY_FILE", Saved->constData(), 1);
    else
        unsetenv("FABRICOR_REGISTRY_FILE");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::CleanDir();
    const QByteArray Input = Fuzz::Bytes(Data, Size);
    FuzzIni(Input);
    FuzzRegistry(Input);
    return 0;
}
