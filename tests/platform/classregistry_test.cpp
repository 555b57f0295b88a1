// Platform services the grid library starts with: the class registry, clipboard format names,
// version blocks of system modules, OLE start and grid scroll bars that are shown but disabled.
#include "platform/Classes.h"
#include "platform/FileVersionInfo.h"
#include "platform/Forms.h"
#include "platform/Grids.h"
#include "platform/Ole2.h"
#include "platform/Windows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ClassRegistry, NamesAreUniqueAndFoundWithoutRegardToCase)
{
    RegisterClass("TRegistryProbe", [](TComponent *o) -> TPersistent * { return new TComponent(o); });
    EXPECT_THROW(RegisterClass("tregistryprobe", nullptr), EClassRegistered);
    TPersistent *p = FindClass("TREGISTRYPROBE")(nullptr);
    EXPECT_NE(dynamic_cast<TComponent *>(p), nullptr);
    delete p;
    UnRegisterClass("TRegistryProbe");
    EXPECT_FALSE(bool(GetClass("TRegistryProbe")));
    try {
        FindClass("TRegistryProbe");
        ADD_FAILURE();
    } catch (const EClassNotFound &e) {
        EXPECT_EQ(e.Message(), "Class TRegistryProbe not found");
    }
}

TEST(ClipboardFormats, ShareTheRegisteredMessageNumbers)
{
    const Cardinal f = RegisterClipboardFormat("Probe Format");
    EXPECT_EQ(f, RegisterWindowMessage("probe format"));
    EXPECT_EQ(f, RegisterClipboardFormat("PROBE FORMAT"));
    UnicodeString name;
    EXPECT_EQ(GetClipboardFormatName(f, name), 12);
    EXPECT_EQ(name, "Probe Format");
    EXPECT_EQ(GetClipboardFormatName(0x1234, name), 0);
    EXPECT_EQ(RegisterClipboardFormat(""), 0u);
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    OleUninitialize();
}

TEST(FileVersionInfo, RootBlockOfKnownModulesOnly)
{
    DWORD handle = 7;
    const DWORD size = GetFileVersionInfoSize("comctl32.dll", &handle);
    EXPECT_EQ(handle, 0u);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfo("comctl32.dll", 0, size, block.data()));
    EXPECT_FALSE(GetFileVersionInfo("comctl32.dll", 0, size - 1, block.data()));
    void *buf = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValue(block.data(), "\\", &buf, &len));
    EXPECT_EQ(len, sizeof(VS_FIXEDFILEINFO));
    const auto *info = static_cast<const VS_FIXEDFILEINFO *>(buf);
    EXPECT_EQ(info->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info->dwFileVersionMS, (5u << 16) | 82u);
    EXPECT_FALSE(VerQueryValue(block.data(), "\\StringFileInfo", &buf, &len));
    char foreign[64] = {};
    EXPECT_FALSE(VerQueryValue(foreign, "\\", &buf, &len));
    EXPECT_EQ(GetFileVersionInfoSize("unknown.dll", nullptr), 0u);
}

TEST(GridScrollBars, EnableScrollBarOnTheGridWindow)
{
    TForm form(nullptr);
    auto *g = new TStringGrid(&form);
    g->SetParent(&form);
    EXPECT_TRUE(g->ScrollBarEnabled(SB_VERT));
    EXPECT_TRUE(EnableScrollBar(g->Handle(), SB_BOTH, ESB_DISABLE_BOTH));
    EXPECT_FALSE(g->ScrollBarEnabled(SB_VERT));
    EXPECT_FALSE(g->ScrollBarEnabled(SB_HORZ));
    EXPECT_TRUE(EnableScrollBar(g->Handle(), SB_VERT, ESB_ENABLE_BOTH));
    EXPECT_TRUE(g->ScrollBarEnabled(SB_VERT));
    EXPECT_FALSE(EnableScrollBar(form.Handle(), SB_VERT, ESB_DISABLE_BOTH));
    EXPECT_EQ(SetWindowLong(nullptr, GWL_EXSTYLE, 0), 0);
}

} // namespace
