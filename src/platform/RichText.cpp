#include "platform/RichText.h"
#include "platform/Encoding.h"

#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace {

// Windows-1252, both ways; RTF's 8-bit characters are in the ANSI code page.
const std::array<QChar, 256> &AnsiTable()
{
    static const std::array<QChar, 256> Table = [] {
        std::array<QChar, 256> T{};
        QByteArray All(256, '\0');
        for (int I = 0; I < 256; ++I)
            All[I] = char(I);
        const QString S = TEncoding::ANSI()->GetString(All);
        for (int I = 0; I < 256 && I < S.size(); ++I)
            T[std::size_t(I)] = S[I];
        return T;
    }();
    return Table;
}

const QHash<char16_t, unsigned char> &AnsiReverse()
{
    static const QHash<char16_t, unsigned char> Map = [] {
        QHash<char16_t, unsigned char> M;
        const auto &T = AnsiTable();
        for (int I = 0x80; I < 256; ++I)
            if (!M.contains(T[std::size_t(I)].unicode()))
                M.insert(T[std::size_t(I)].unicode(), static_cast<unsigned char>(I));
        return M;
    }();
    return Map;
}

enum class TDest { Text, FontTable, ColorTable, Skip };

struct TRtfState {
    TDest Dest = TDest::Text;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int Color = -1; // index into the colour table (its first entry is usually the automatic colour)
    int Font = -1;
    int Size = 0;  // half points, 0 for the document's default
    int VAlign = 0; // 0 normal, 1 superscript, 2 subscript
    int Uc = 1;     // characters that stand in for each \u
};

// Deeper groups than this are skipped: real documents nest a handful of levels.
constexpr int MaxDepth = 256;

class TRtfReader {
public:
    TRtfReader(const QByteArray &Rtf, QTextDocument *Doc) : FIn(Rtf), FDoc(Doc), FCursor(Doc) {}

    void Run()
    {
        FDoc->clear();
        FCursor = QTextCursor(FDoc);
        const int N = int(FIn.size());
        while (FPos < N) {
            const char C = FIn[FPos];
            if (C == '{') {
                ++FPos;
                Flush();
                FSkipChars = 0;
                if (FOverflow > 0 || int(FStack.size()) >= MaxDepth)
                    ++FOverflow;
                else
                    FStack.push_back(FState);
            } else if (C == '}') {
                ++FPos;
                Flush();
                FSkipChars = 0;
                if (FOverflow > 0)
                    --FOverflow;
                else if (!FStack.empty()) {
                    EndGroup();
                    FState = FStack.back();
                    FStack.pop_back();
                }
            } else if (C == '\\') {
                ++FPos;
                ControlWord();
            } else if (C == '\r' || C == '\n') {
                ++FPos;
            } else {
                ++FPos;
                Char(AnsiTable()[static_cast<unsigned char>(C)]);
            }
        }
        Flush();
    }

private:
    bool Skipping() const { return FOverflow > 0 || FState.Dest == TDest::Skip; }

    void ControlWord()
    {
        const int N = int(FIn.size());
        if (FPos >= N)
            return;
        const char C = FIn[FPos];
        if (!((C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z'))) {
            ++FPos;
            Symbol(C);
            return;
        }
        const int Start = FPos;
        while (FPos < N && FPos - Start < 32 && ((FIn[FPos] >= 'a' && FIn[FPos] <= 'z') || (FIn[FPos] >= 'A' && FIn[FPos] <= 'Z')))
            ++FPos;
        const QByteArray Word = FIn.mid(Start, FPos - Start);
        bool HasParam = false, Neg = false;
        long long Param = 0;
        if (FPos < N && FIn[FPos] == '-' && FPos + 1 < N && FIn[FPos + 1] >= '0' && FIn[FPos + 1] <= '9') {
            Neg = true;
            ++FPos;
        }
        int Digits = 0;
        while (FPos < N && FIn[FPos] >= '0' && FIn[FPos] <= '9') {
            if (Digits++ < 10)
                Param = Param * 10 + (FIn[FPos] - '0');
            HasParam = true;
            ++FPos;
        }
        if (FPos < N && FIn[FPos] == ' ')
            ++FPos;
        if (Param > 0x7fffffff)
            Param = 0x7fffffff;
        Word_(Word, HasParam, int(Neg ? -Param : Param));
    }

    void Symbol(char C)
    {
        if (Skipping())
            return;
        switch (C) {
        case '\\':
        case '{':
        case '}':
            Char(QChar(QLatin1Char(C)));
            break;
        case '~':
            Char(QChar(0x00A0));
            break;
        case '_':
            Char(QChar(0x2011));
            break;
        case '\r':
        case '\n':
            Paragraph();
            break;
        case '*':
            // An ignorable destination: what follows in this group is not for us.
            Flush();
            FState.Dest = TDest::Skip;
            break;
        case '\'': {
            const int N = int(FIn.size());
            int V = 0, Got = 0;
            while (Got < 2 && FPos < N) {
                const char H = FIn[FPos];
                int D = H >= '0' && H <= '9' ? H - '0' : H >= 'a' && H <= 'f' ? H - 'a' + 10 : H >= 'A' && H <= 'F' ? H - 'A' + 10 : -1;
                if (D < 0)
                    break;
                V = V * 16 + D;
                ++Got;
                ++FPos;
            }
            if (Got > 0)
                Char(AnsiTable()[std::size_t(V & 0xff)]);
            break;
        }
        default:
            break; // \- (optional hyphen) and unknown symbols
        }
    }

    void Word_(const QByteArray &W, bool HasParam, int P)
    {
        if (FOverflow > 0)
            return;
        // Destinations first: they decide what the group's text means.
        if (W == "fonttbl") {
            Flush();
            FState.Dest = TDest::FontTable;
            return;
        }
        if (W == "colortbl") {
            Flush();
            FState.Dest = TDest::ColorTable;
            FRed = FGreen = FBlue = -1;
            return;
        }
        static const char *const SkipDest[] = {"stylesheet", "info", "pict", "header", "footer", "headerl", "headerr", "headerf", "footerl", "footerr", "footerf", "object", "fldinst", "listtable", "listoverridetable", "rsidtbl", "generator", "xmlnstbl", "themedata", "colorschememapping", "latentstyles", "datastore", "filetbl", "revtbl", "pntext", "pntxta", "pntxtb", "footnote", "annotation", "bkmkstart", "bkmkend", "nonshppict", "shp"};
        for (const char *D : SkipDest)
            if (W == D) {
                Flush();
                FState.Dest = TDest::Skip;
                return;
            }
        if (FState.Dest == TDest::Skip)
            return;
        if (FState.Dest == TDest::FontTable) {
            if (W == "f")
                FFontNo = P;
            return;
        }
        if (FState.Dest == TDest::ColorTable) {
            if (W == "red")
                FRed = P;
            else if (W == "green")
                FGreen = P;
            else if (W == "blue")
                FBlue = P;
            return;
        }
        if (FSkipChars > 0) {
            // A control word can stand in for a \u character too.
            --FSkipChars;
            return;
        }
        const bool On = !HasParam || P != 0;
        auto Set = [&](auto &Field, auto Value) {
            if (Field != Value) {
                Flush();
                Field = Value;
            }
        };
        if (W == "b")
            Set(FState.Bold, On);
        else if (W == "i")
            Set(FState.Italic, On);
        else if (W == "ul")
            Set(FState.Underline, On);
        else if (W == "ulnone")
            Set(FState.Underline, false);
        else if (W == "cf")
            Set(FState.Color, P);
        else if (W == "f")
            Set(FState.Font, P);
        else if (W == "fs")
            Set(FState.Size, P > 0 && P <= 3276 ? P : 0);
        else if (W == "super")
            Set(FState.VAlign, 1);
        else if (W == "sub")
            Set(FState.VAlign, 2);
        else if (W == "nosupersub")
            Set(FState.VAlign, 0);
        else if (W == "deff")
            FDefFont = P;
        else if (W == "uc")
            FState.Uc = P < 0 ? 0 : P > 8 ? 8 : P;
        else if (W == "plain") {
            Flush();
            TRtfState S;
            S.Dest = FState.Dest;
            S.Uc = FState.Uc;
            FState = S;
        } else if (W == "par")
            Paragraph();
        else if (W == "line")
            Char(QChar(0x2028));
        else if (W == "tab")
            Char(QLatin1Char('\t'));
        else if (W == "emdash")
            Char(QChar(0x2014));
        else if (W == "endash")
            Char(QChar(0x2013));
        else if (W == "bullet")
            Char(QChar(0x2022));
        else if (W == "lquote")
            Char(QChar(0x2018));
        else if (W == "rquote")
            Char(QChar(0x2019));
        else if (W == "ldblquote")
            Char(QChar(0x201C));
        else if (W == "rdblquote")
            Char(QChar(0x201D));
        else if (W == "u" && HasParam) {
            int U = P < 0 ? P + 65536 : P;
            if (U >= 0 && U <= 0xFFFF)
                Char(QChar(char16_t(U)));
            FSkipChars = FState.Uc;
        }
    }

    void Char(QChar Ch)
    {
        if (Skipping())
            return;
        if (FSkipChars > 0) {
            --FSkipChars;
            return;
        }
        if (FState.Dest == TDest::FontTable) {
            if (Ch == QLatin1Char(';')) {
                FFonts[FFontNo] = FFontName.trimmed();
                FFontName.clear();
            } else
                FFontName += Ch;
            return;
        }
        if (FState.Dest == TDest::ColorTable) {
            if (Ch == QLatin1Char(';')) {
                if (FRed < 0 && FGreen < 0 && FBlue < 0)
                    FColors.push_back(QColor());
                else
                    FColors.push_back(QColor(std::clamp(FRed, 0, 255), std::clamp(FGreen, 0, 255), std::clamp(FBlue, 0, 255)));
                FRed = FGreen = FBlue = -1;
            }
            return;
        }
        if (Ch.unicode() < 0x20 && Ch != QLatin1Char('\t'))
            return;
        if (FText.isEmpty())
            FTextState = FState;
        FText += Ch;
    }

    void Paragraph()
    {
        if (Skipping())
            return;
        Flush();
        FCursor.insertBlock();
    }

    void EndGroup()
    {
        // A font entry may end without its ";".
        if (FState.Dest == TDest::FontTable && !FFontName.trimmed().isEmpty()) {
            FFonts[FFontNo] = FFontName.trimmed();
            FFontName.clear();
        }
    }

    void Flush()
    {
        if (FText.isEmpty())
            return;
        const TRtfState &S = FTextState;
        QTextCharFormat F;
        if (S.Bold)
            F.setFontWeight(QFont::Bold);
        if (S.Italic)
            F.setFontItalic(true);
        if (S.Underline)
            F.setFontUnderline(true);
        if (S.Color >= 0 && S.Color < int(FColors.size()) && FColors[std::size_t(S.Color)].isValid())
            F.setForeground(FColors[std::size_t(S.Color)]);
        const int FontNo = S.Font >= 0 ? S.Font : FDefFont;
        auto It = FFonts.find(FontNo);
        if (It != FFonts.end() && !It->second.isEmpty())
            F.setFontFamilies(QStringList{It->second});
        if (S.Size > 0)
            F.setFontPointSize(S.Size / 2.0);
        if (S.VAlign == 1)
            F.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (S.VAlign == 2)
            F.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        FCursor.insertText(FText, F);
        FText.clear();
    }

    const QByteArray &FIn;
    QTextDocument *FDoc;
    QTextCursor FCursor;
    int FPos = 0;
    int FOverflow = 0;
    int FSkipChars = 0;
    TRtfState FState;
    TRtfState FTextState;
    std::vector<TRtfState> FStack;
    QString FText;
    std::map<int, QString> FFonts;
    int FFontNo = 0;
    int FDefFont = -1;
    QString FFontName;
    std::vector<QColor> FColors;
    int FRed = -1, FGreen = -1, FBlue = -1;
};

QByteArray Escape(const QString &S)
{
    QByteArray Out;
    const auto &Rev = AnsiReverse();
    for (QChar Ch : S) {
        const char16_t U = Ch.unicode();
        if (U == '\\' || U == '{' || U == '}') {
            Out += '\\';
            Out += char(U);
        } else if (U == '\t')
            Out += "\\tab ";
        else if (U == 0x2028)
            Out += "\\line ";
        else if (U >= 0x20 && U < 0x80)
            Out += char(U);
        else if (U < 0x20 || U == QChar::ObjectReplacementCharacter)
            continue;
        else if (auto It = Rev.find(U); It != Rev.end()) {
            Out += "\\'";
            Out += QByteArray::number(It.value(), 16).rightJustified(2, '0');
        } else {
            Out += "\\u";
            Out += QByteArray::number(int(static_cast<short>(U)));
            Out += '?';
        }
    }
    return Out;
}

QString FamilyOf(const QTextCharFormat &F)
{
    const QStringList Fams = F.fontFamilies().toStringList();
    return Fams.isEmpty() ? QString() : Fams.first();
}

} // namespace

bool IsRtf(const QByteArray &Bytes)
{
    return Bytes.startsWith("{\\rtf");
}

void RtfToDocument(const QByteArray &Rtf, QTextDocument *Doc)
{
    if (!Doc)
        return;
    TRtfReader(Rtf, Doc).Run();
}

QByteArray DocumentToRtf(const QTextDocument *Doc)
{
    QStringList Fonts{Doc ? Doc->defaultFont().family() : QString()};
    std::vector<QColor> Colors;
    auto FontIndex = [&](const QString &Name) {
        int I = int(Fonts.indexOf(Name));
        if (I < 0) {
            Fonts.append(Name);
            I = int(Fonts.size()) - 1;
        }
        return I;
    };
    auto ColorIndex = [&](const QColor &C) {
        for (std::size_t I = 0; I < Colors.size(); ++I)
            if (Colors[I].rgb() == C.rgb())
                return int(I) + 1;
        Colors.push_back(C);
        return int(Colors.size());
    };

    QByteArray Body;
    if (Doc) {
        bool FirstBlock = true;
        for (QTextBlock B = Doc->begin(); B.isValid(); B = B.next()) {
            if (!FirstBlock)
                Body += "\\par\n";
            FirstBlock = false;
            for (auto It = B.begin(); !It.atEnd(); ++It) {
                const QTextFragment Frag = It.fragment();
                if (!Frag.isValid())
                    continue;
                const QTextCharFormat F = Frag.charFormat();
                QByteArray Ctl;
                const QString Fam = FamilyOf(F);
                if (!Fam.isEmpty())
                    Ctl += "\\f" + QByteArray::number(FontIndex(Fam));
                if (F.hasProperty(QTextFormat::FontPointSize) && F.fontPointSize() > 0)
                    Ctl += "\\fs" + QByteArray::number(int(std::lround(F.fontPointSize() * 2)));
                if (F.hasProperty(QTextFormat::ForegroundBrush) && F.foreground().style() != Qt::NoBrush)
                    Ctl += "\\cf" + QByteArray::number(ColorIndex(F.foreground().color()));
                if (F.fontWeight() >= QFont::Bold)
                    Ctl += "\\b";
                if (F.fontItalic())
                    Ctl += "\\i";
                if (F.fontUnderline())
                    Ctl += "\\ul";
                if (F.verticalAlignment() == QTextCharFormat::AlignSuperScript)
                    Ctl += "\\super";
                else if (F.verticalAlignment() == QTextCharFormat::AlignSubScript)
                    Ctl += "\\sub";
                const QByteArray Text = Escape(Frag.text());
                if (Ctl.isEmpty())
                    Body += Text;
                else
                    Body += "{" + Ctl + " " + Text + "}";
            }
        }
    }

    QByteArray Out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (int I = 0; I < Fonts.size(); ++I)
        Out += "{\\f" + QByteArray::number(I) + "\\fnil " + Escape(Fonts[I]) + ";}";
    Out += "}";
    if (!Colors.empty()) {
        Out += "{\\colortbl ;";
        for (const QColor &C : Colors)
            Out += "\\red" + QByteArray::number(C.red()) + "\\green" + QByteArray::number(C.green()) + "\\blue" + QByteArray::number(C.blue()) + ";";
        Out += "}";
    }
    Out += "\n\\pard\\plain " + Body + "}";
    return Out;
}
