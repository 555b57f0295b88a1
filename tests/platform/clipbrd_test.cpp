// The clipboard: formats set while it is open are published together, registered formats are
// answered and read back as blocks, and the MIME types other programs see.
#include "platform/ActiveX.h"
#include "platform/Clipbrd.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

CLIPFORMAT Named(const char *Name) { return static_cast<CLIPFORMAT>(RegisterClipboardFormat(Name)); }

void Put(CLIPFORMAT Format, const QByteArray &Bytes)
{
    Clipboard()->SetAsHandle(Format, GlobalFromBytes(Bytes.constData(), SIZE_T(Bytes.size())));
}

QByteArray Get(CLIPFORMAT Format)
{
    HGLOBAL h = Clipboard()->GetAsHandle(Format);
    return h ? QByteArray(static_cast<const char *>(GlobalLock(h)), qsizetype(GlobalSize(h))) : QByteArray();
}

TEST(Clipbrd, FormatsSetWhileOpenArePublishedTogether)
{
    TClipboard *cb = Clipboard();
    cb->SetAsText("old");
    const CLIPFORMAT cells = Named("TExtStringGrid Cells"), rtf = Named("Rich Text Format");
    cb->Open();
    cb->SetAsText("text");
    Put(rtf, QByteArray("{\\rtf1 r}\0", 10));
    Put(cells, QByteArray("\x01\x02\x00\x03", 4));
    EXPECT_EQ(cb->AsText(), "old") << "nothing shows before the close";
    cb->Close();
    EXPECT_EQ(cb->AsText(), "text");
    EXPECT_TRUE(cb->HasFormat(rtf));
    EXPECT_TRUE(cb->HasFormat(cells));
    EXPECT_FALSE(cb->HasFormat(Named("Grid Column")));
    EXPECT_EQ(Get(cells), QByteArray("\x01\x02\x00\x03", 4)) << "a block keeps its null bytes";
    EXPECT_EQ(Get(rtf), QByteArray("{\\rtf1 r}\0", 10));

    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(mime->data("text/rtf"), "{\\rtf1 r}");
    EXPECT_EQ(mime->data("application/x-extstringgrid-cells").size(), 4);

    // A set outside Open replaces everything.
    Put(cells, QByteArray("z"));
    EXPECT_FALSE(cb->HasFormat(CF_TEXT));
    EXPECT_FALSE(cb->HasFormat(rtf));
}

TEST(Clipbrd, HtmlTravelsAsTheDocumentInUtf8)
{
    const CLIPFORMAT html = Named("HTML Format");
    const QByteArray doc = QStringLiteral("<p>gr\u00fc\u00df</p>").toUtf8();
    TClipboard *cb = Clipboard();
    cb->Open();
    cb->Clear();
    Put(html, doc + QByteArray(1, '\0'));
    cb->SetAsText("plain");
    cb->Close();
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->html(), QStringLiteral("<p>gr\u00fc\u00df</p>"));
    EXPECT_EQ(Get(html), doc + QByteArray(1, '\0'));
    EXPECT_EQ(cb->AsText(), "plain");
}

} // namespace
