// The rich edit and its RTF: what a document with the grid's formatting reads as, that what we
// write reads back the same, that plain text loads whole, that damaged RTF gives what it can,
// and the drag-over step of a control.
#include "platform/ComCtrls.h"
#include "platform/Forms.h"
#include "platform/RichText.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class RichEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Edit = std::make_unique<TRichEdit>(nullptr);
    }
    void Load(const QByteArray &Bytes)
    {
        TBytesStream S(Bytes);
        Edit->Lines()->LoadFromStream(&S);
    }
    QByteArray Save()
    {
        TMemoryStream S;
        Edit->Lines()->SaveToStream(&S);
        return S.Bytes();
    }
    // The format of the character at a position of the document's plain text.
    QTextCharFormat FormatAt(int Pos)
    {
        QTextCursor C(Edit->Document());
        C.setPosition(Pos + 1);
        return C.charFormat();
    }
    std::unique_ptr<TRichEdit> Edit;
};

const QByteArray Sample = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
                          "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                          "{\\*\\generator Some Writer 1.0;}{\\stylesheet{\\s0 Normal;}}"
                          "\\pard\\plain\\fs20 plain {\\b bold}{\\i ital}{\\ul under}\\tab "
                          "{\\cf1 red}{\\f1\\fs28 mono}H{\\sub 2}O x{\\super 2}\\par\n"
                          "caf\\'e9 \\u8364? {\\*\\unknown skipped} \\{braces\\} back\\\\slash\\line next\\par "
                          "{\\pict\\pngblip 89504e47}end}";

TEST_F(RichEditTest, ReadsTheFormattingTheGridUses)
{
    Load(Sample);
    ASSERT_EQ(Edit->Lines()->Count(), 3);
    const QString L0 = Edit->Lines()->Strings(0);
    EXPECT_EQ(L0, QStringLiteral("plain bolditalunder\tredmonoH2O x2"));
    EXPECT_EQ(Edit->Lines()->Strings(1), QString::fromUtf8("café €  {braces} back\\slash\u2028next"));
    EXPECT_EQ(Edit->Lines()->Strings(2), QStringLiteral("end"));

    struct TCase {
        const char *Text;
        bool Bold, Italic, Under;
        QColor Color;
        QString Family;
        double Size;
        QTextCharFormat::VerticalAlignment VAlign;
    };
    const std::vector<TCase> Cases = {
        {"plain", false, false, false, QColor(), QStringLiteral("Arial"), 10, QTextCharFormat::AlignNormal},
        {"bold", true, false, false, QColor(), QStringLiteral("Arial"), 10, QTextCharFormat::AlignNormal},
        {"ital", false, true, false, QColor(), QStringLiteral("Arial"), 10, QTextCharFormat::AlignNormal},
        {"under", false, false, true, QColor(), QStringLiteral("Arial"), 10, QTextCharFormat::AlignNormal},
        {"red", false, false, false, QColor(255, 0, 0), QStringLiteral("Arial"), 10, QTextCharFormat::AlignNormal},
        {"mono", false, false, false, QColor(), QStringLiteral("Courier New"), 14, QTextCharFormat::AlignNormal},
        {"2O", false, false, false, QColor(), QStringLiteral("Arial"), 10, QTextCharFormat::AlignSubScript},
        {"2", false, false, false, QColor(), QStringLiteral("Arial"), 10, QTextCharFormat::AlignSuperScript},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.Text);
        int Pos = int(C.Text == std::string("2") ? L0.lastIndexOf(QLatin1Char('2')) : L0.indexOf(QLatin1String(C.Text)));
        ASSERT_GE(Pos, 0);
        const QTextCharFormat F = FormatAt(Pos);
        EXPECT_EQ(F.fontWeight() >= QFont::Bold, C.Bold);
        EXPECT_EQ(F.fontItalic(), C.Italic);
        EXPECT_EQ(F.fontUnderline(), C.Under);
        if (C.Color.isValid()) {
            EXPECT_EQ(F.foreground().color(), C.Color);
        } else {
            EXPECT_FALSE(F.hasProperty(QTextFormat::ForegroundBrush));
        }
        EXPECT_EQ(F.fontFamilies().toStringList().value(0), C.Family);
        EXPECT_EQ(F.fontPointSize(), C.Size);
        EXPECT_EQ(F.verticalAlignment(), C.VAlign);
    }
}

TEST_F(RichEditTest, WhatIsWrittenReadsBackTheSameAndIsEightBit)
{
    Load(Sample);
    const QByteArray Out = Save();
    for (char Ch : Out)
        ASSERT_LT(static_cast<unsigned char>(Ch), 0x80) << Out.constData();
    EXPECT_TRUE(IsRtf(Out));

    TRichEdit Again(nullptr);
    TBytesStream S(Out);
    Again.Lines()->LoadFromStream(&S);
    ASSERT_EQ(Again.Lines()->Count(), Edit->Lines()->Count());
    for (int I = 0; I < Edit->Lines()->Count(); ++I)
        EXPECT_EQ(Again.Lines()->Strings(I), Edit->Lines()->Strings(I));
    // Every character keeps its format.
    QTextDocument *A = Edit->Document(), *B = Again.Document();
    ASSERT_EQ(A->characterCount(), B->characterCount());
    for (int P = 1; P < A->characterCount(); ++P) {
        QTextCursor CA(A), CB(B);
        CA.setPosition(P);
        CB.setPosition(P);
        const QTextCharFormat FA = CA.charFormat(), FB = CB.charFormat();
        ASSERT_EQ(FA.fontWeight() >= QFont::Bold, FB.fontWeight() >= QFont::Bold) << P;
        ASSERT_EQ(FA.fontItalic(), FB.fontItalic()) << P;
        ASSERT_EQ(FA.fontUnderline(), FB.fontUnderline()) << P;
        ASSERT_EQ(FA.fontPointSize(), FB.fontPointSize()) << P;
        ASSERT_EQ(FA.verticalAlignment(), FB.verticalAlignment()) << P;
        ASSERT_EQ(FA.fontFamilies(), FB.fontFamilies()) << P;
        ASSERT_EQ(FA.foreground().color(), FB.foreground().color()) << P;
    }
}

TEST_F(RichEditTest, CharactersBeyondTheCodePageAndPlainTextLoadWhole)
{
    // Plain text is taken as it is, "{" and "\" included, and not as RTF.
    Load("first {\\b not rtf}\r\nsecond");
    ASSERT_EQ(Edit->Lines()->Count(), 2);
    EXPECT_EQ(Edit->Lines()->Strings(0), QStringLiteral("first {\\b not rtf}"));
    EXPECT_EQ(Edit->Lines()->Strings(1), QStringLiteral("second"));

    // A UTF-8 text with a byte-order mark and characters above 255 survives a save and load.
    Load(QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("Ω ≥ 5 € ✓").toUtf8());
    EXPECT_EQ(Edit->Lines()->Strings(0), QString::fromUtf8("Ω ≥ 5 € ✓"));
    const QByteArray Out = Save();
    EXPECT_TRUE(Out.contains("\\u937?")) << Out.constData();
    EXPECT_TRUE(Out.contains("\\'80")) << Out.constData(); // the euro sign is in the ANSI code page
    Load(Out);
    EXPECT_EQ(Edit->Lines()->Strings(0), QString::fromUtf8("Ω ≥ 5 € ✓"));
}

TEST_F(RichEditTest, DamagedRtfGivesWhatCouldBeRead)
{
    const std::vector<std::pair<QByteArray, QString>> Cases = {
        {"{\\rtf1 unterminated {\\b bold", QStringLiteral("unterminated bold")},
        {"{\\rtf1 a}}}}} b}", QStringLiteral("a b")},
        {"{\\rtf1 \\'zz\\'4 x\\", QStringLiteral("zz x")},
        {"{\\rtf1 \\u99999999999999999 \\fs-5 \\cf77 ok}", QStringLiteral("ok")},
        {"{\\rtf1 \\uc2\\u65 XYz}", QStringLiteral("Az")},
        {"{\\rtf1 " + QByteArray(100000, '{') + "deep" + QByteArray(100000, '}') + " after}", QStringLiteral(" after")},
    };
    for (const auto &[In, Want] : Cases) {
        SCOPED_TRACE(In.left(40).constData());
        Load(In);
        EXPECT_EQ(Edit->Document()->toPlainText().trimmed(), Want.trimmed());
    }
}

TEST_F(RichEditTest, LinesAreParagraphs)
{
    TStrings *L = Edit->Lines();
    EXPECT_EQ(L->Count(), 0);
    L->Add(QStringLiteral("a"));
    L->Add(QStringLiteral("c"));
    L->Insert(1, QStringLiteral("b"));
    L->SetStrings(2, QStringLiteral("C"));
    EXPECT_EQ(L->Text(), QStringLiteral("a\r\nb\r\nC\r\n"));
    L->Delete(2);
    L->Delete(0);
    EXPECT_EQ(L->Text(), QStringLiteral("b\r\n"));
    L->Delete(0);
    EXPECT_EQ(L->Count(), 0);
    EXPECT_THROW(L->Delete(0), EStringListError);
}

TEST_F(RichEditTest, TheWindowShowsTheSameDocument)
{
    TForm Form(nullptr);
    auto *E = new TRichEdit(&Form);
    E->SetParent(&Form);
    E->Lines()->SetText(QStringLiteral("shown"));
    Form.HandleNeeded();
    E->HandleNeeded();
    EXPECT_TRUE(E->HandleAllocated());
    E->Lines()->Add(QStringLiteral("later"));
    EXPECT_EQ(E->Lines()->Count(), 2);
}

TEST(DragOverTest, AcceptFollowsTheHandler)
{
    Application->Initialize();
    TForm Form(nullptr);
    TObject Source;
    bool Accept = true;
    Form.DragOver(&Source, 1, 2, dsDragEnter, Accept);
    EXPECT_FALSE(Accept); // nobody listens: refused

    std::vector<TDragState> Seen;
    Form.OnDragOver = [&](TObject *Sender, TObject *Src, int X, int Y, TDragState State, bool &Acc) {
        EXPECT_EQ(Sender, &Form);
        EXPECT_EQ(Src, &Source);
        EXPECT_EQ(X, 5);
        Seen.push_back(State);
        EXPECT_TRUE(Acc);
        Acc = Y < 10;
    };
    for (auto [State, Y, Want] : std::vector<std::tuple<TDragState, int, bool>>{{dsDragEnter, 1, true}, {dsDragMove, 20, false}, {dsDragLeave, 3, true}}) {
        Accept = !Want;
        Form.DragOver(&Source, 5, Y, State, Accept);
        EXPECT_EQ(Accept, Want);
    }
    EXPECT_EQ(Seen, (std::vector<TDragState>{dsDragEnter, dsDragMove, dsDragLeave}));
}

} // namespace
