// The Folder Icon Changer's engine on real folders: desktop.ini as the
// profile functions would leave it, the attributes read back through the
// store, the icons out of programs, and the Linux file managers' entries.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Files.h"
#include "TempTree.h"
#include "platform/FileAttributes.h"
#include "platform/KorvalaError.h"
#include "tools/foldericon/FolderIcon.h"
#include "tools/foldericon/IconExtract.h"
#include "tools/foldericon/LinuxFolderIcon.h"
#include "tools/foldericon/ProfileText.h"

namespace korvala {
namespace {

using test::TTempTree;

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool exists(const std::string& path)
{
    return std::ifstream(path).good();
}

uint32_t stored(const std::string& path)
{
    return getFileAttributes(path) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE);
}

TEST(ProfileTextTest, EditsKeepEveryOtherLine)
{
    struct Case {
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    } cases[] = {
        {"", ".ShellClassInfo", "IconFile", "a.ico", "[.ShellClassInfo]\r\nIconFile=a.ico\r\n"},
        // In place, the key's own spelling kept; other sections, comments and blank lines untouched.
        {"; comment\r\n[.shellclassinfo]\r\n  iconfile = old \r\nLocalizedResourceName=@x,-1\r\n\r\n[Other]\r\nK=V",
            ".ShellClassInfo", "IconFile", "new",
            "; comment\r\n[.shellclassinfo]\r\n  iconfile =new\r\nLocalizedResourceName=@x,-1\r\n\r\n[Other]\r\nK=V"},
        // A new key after the section's last line, before its blank lines.
        {"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "z", "3", "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        // A new section at the end, after a last line without its line end; LF files stay LF.
        {"[A]\nx=1", "B", "k", "", "[A]\nx=1\n[B]\nk=\n"},
    };
    for (const Case& c : cases) {
        TProfileText t(c.before);
        t.write(c.section, c.key, c.value);
        EXPECT_EQ(t.bytes(), c.after) << c.before;
    }

    TProfileText t("[S]\r\nIconResource=x,1\r\nQuoted=\"  spaced  \"\r\nLong=" + std::string(3000, 'v') + "\r\n");
    EXPECT_EQ(t.read("s", "quoted").value(), "  spaced  ");
    EXPECT_EQ(t.read("S", "Long")->size(), 2047u);
    EXPECT_FALSE(t.read("S", "Missing"));
    EXPECT_FALSE(t.read("Nope", "Long"));
    t.remove("S", "iconresource");
    t.remove("S", "absent");
    EXPECT_EQ(t.bytes().find("IconResource"), std::string::npos);
    EXPECT_EQ(t.bytes().rfind("[S]\r\nQuoted=", 0), 0u);
}

TEST(ProfileTextTest, Utf16FilesAreReadAndWrittenInUtf16)
{
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[.ShellClassInfo]\r\nLocalizedResourceName=Caf\xE9\r\n")) {
        utf16.push_back(c);
        utf16.push_back('\0');
    }
    TProfileText t(utf16);
    EXPECT_EQ(t.read(".ShellClassInfo", "LocalizedResourceName").value(), "Caf\xC3\xA9");
    t.write(".ShellClassInfo", "IconIndex", "2");
    const std::string after = t.bytes();
    ASSERT_EQ(after.substr(0, utf16.size()), utf16) << "the existing lines are kept byte for byte";
    EXPECT_EQ(after.substr(utf16.size()), std::string("I\0c\0o\0n\0I\0n\0d\0e\0x\0=\0\x32\0\r\0\n\0", 26));
}

class FolderIconTest : public ::testing::Test {
protected:
    std::string ini() const { return folder + "/desktop.ini"; }
    TTempTree tree;
    std::string folder = tree.folder("Folder");
};

TEST_F(FolderIconTest, SingleChangeOnANewFolder)
{
    ApplyFolderIcon(folder, "C:\\Windows\\System32\\Shell32.dll", 4, true, std::string("Docs"));
    EXPECT_EQ(contents(ini()), "[.ShellClassInfo]\r\nIconFile=C:\\Windows\\System32\\Shell32.dll\r\nIconIndex=4\r\n"
                               "InfoTip=Docs\r\n");
    EXPECT_EQ(stored(ini()), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(stored(folder), FILE_ATTRIBUTE_SYSTEM);
    EXPECT_FALSE(exists(folder + "/.directory")) << "a Windows location has no local file";

    const TFolderIconSettings loaded = LoadFolderIconSettings(folder);
    EXPECT_EQ(loaded.iconLocation, "C:\\Windows\\System32\\Shell32.dll");
    EXPECT_EQ(loaded.iconIndex, 4);
    EXPECT_EQ(loaded.infoTip, "Docs");
}

TEST_F(FolderIconTest, IconsCopiedOnlyWhenAskedAndNeverOverwritten)
{
    tree.folder("icons");
    const std::string icon = tree.file("icons/My.ICO", std::string("\0\0\1\0", 4) + "icon");
    ApplyFolderIcon(folder, icon, 0, true, std::string());
    EXPECT_EQ(LoadFolderIconSettings(folder).iconLocation, "My.ICO");
    EXPECT_EQ(contents(folder + "/My.ICO"), contents(icon));
    EXPECT_EQ(stored(folder + "/My.ICO"), FILE_ATTRIBUTE_HIDDEN);

    // One of that name already there stays as it was, and is made hidden.
    const std::string other = tree.folder("Other");
    tree.file("Other/My.ICO", "mine", 0644);
    ApplyFolderIcon(other, icon, 0, true, std::string());
    EXPECT_EQ(contents(other + "/My.ICO"), "mine");
    EXPECT_EQ(stored(other + "/My.ICO"), FILE_ATTRIBUTE_HIDDEN);

    // Unticked: the full path, nothing copied.
    const std::string third = tree.folder("Third");
    ApplyFolderIcon(third, icon, 0, false, std::string());
    EXPECT_EQ(LoadFolderIconSettings(third).iconLocation, icon);
    EXPECT_FALSE(exists(third + "/My.ICO"));
    EXPECT_EQ(IconPreviewSource("My.ICO", folder), folder + "/My.ICO");
    EXPECT_EQ(IconPreviewSource(icon, folder), icon);
}

TEST_F(FolderIconTest, SingleAndBatchChangesKeepWhatTheyShould)
{
    tree.file("Folder/desktop.ini",
        "[.ShellClassInfo]\r\nLocalizedResourceName=@shell32.dll,-21770\r\nIconResource=x.dll,3\r\nInfoTip=Old tip\r\n"
        "[ViewState]\r\nMode=\r\n");
    ApplyFolderIcon(folder, "C:\\a.dll", 2, true, std::nullopt);
    EXPECT_EQ(contents(ini()), "[.ShellClassInfo]\r\nLocalizedResourceName=@shell32.dll,-21770\r\nIconResource=x.dll,3\r\n"
                               "InfoTip=Old tip\r\nIconFile=C:\\a.dll\r\nIconIndex=2\r\n[ViewState]\r\nMode=\r\n");
    ApplyFolderIcon(folder, "C:\\b.dll", 7, true, std::string("New tip"));
    EXPECT_EQ(contents(ini()), "[.ShellClassInfo]\r\nLocalizedResourceName=@shell32.dll,-21770\r\n"
                               "InfoTip=New tip\r\nIconFile=C:\\b.dll\r\nIconIndex=7\r\n[ViewState]\r\nMode=\r\n");
}

TEST_F(FolderIconTest, ResetAndWriteFailures)
{
    EXPECT_FALSE(ResetFolderIcon(folder));
    const std::string icon = tree.file("i.ico", std::string("\0\0\1\0", 4));
    ApplyFolderIcon(folder, icon, 0, true, std::string());
    EXPECT_TRUE(ResetFolderIcon(folder));
    EXPECT_FALSE(exists(ini()));
    EXPECT_TRUE(exists(folder + "/i.ico")) << "a copied icon stays";
    EXPECT_EQ(stored(folder), FILE_ATTRIBUTE_SYSTEM) << "the folder keeps its system attribute";

    const std::string missing = tree.path("missing");
    try {
        ApplyFolderIcon(missing, "x", 0, true, std::string());
        FAIL() << "a missing folder was written to";
    } catch (const KorvalaError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + missing + "/desktop.ini");
    }
    // A read-only desktop.ini refuses also root, as the attribute says.
    ApplyFolderIcon(folder, "x", 0, false, std::string());
    ASSERT_FALSE(changeFileAttributes(ini(), FILE_ATTRIBUTE_READONLY, 0));
    const std::string before = contents(ini());
    EXPECT_THROW(ApplyFolderIcon(folder, "y", 1, false, std::string()), KorvalaError);
    EXPECT_EQ(contents(ini()), before);

    // Not a settings file to edit: a huge one, a link, a named pipe; each
    // refused, and what stood there is left whole.
    const std::string big = tree.folder("big");
    const std::string huge = "[.ShellClassInfo]\r\n" + std::string(2u << 20, 'x');
    tree.file("big/desktop.ini", huge);
    EXPECT_THROW(ApplyFolderIcon(big, "y", 1, false, std::string()), KorvalaError);
    EXPECT_EQ(contents(big + "/desktop.ini").size(), huge.size());
    const std::string linked = tree.folder("linked");
    const std::string target = tree.file("elsewhere.ini", "keep");
    tree.symlink("linked/desktop.ini", target);
    EXPECT_THROW(ApplyFolderIcon(linked, "y", 1, false, std::string()), KorvalaError);
    EXPECT_EQ(contents(target), "keep");
    const std::string piped = tree.folder("piped");
    tree.fifo("piped/desktop.ini");
    EXPECT_THROW(ApplyFolderIcon(piped, "y", 1, false, std::string()), KorvalaError);
    EXPECT_EQ(LoadFolderIconSettings(piped).iconLocation, "");
}

// A small program file with one icon group of a 2x2 32-bit image, built
// byte by byte: DOS header, PE header, one section holding the resource tree.
std::string tinyPe()
{
    std::string f(0x400, '\0');
    auto put16 = [&](size_t at, uint32_t v) { f[at] = char(v); f[at + 1] = char(v >> 8); };
    auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
    f[0] = 'M'; f[1] = 'Z';
    put32(0x3C, 0x40);
    f.replace(0x40, 4, std::string("PE\0\0", 4));
    put16(0x46, 1);         // one section
    put16(0x54, 0xE0);      // optional header size (PE32)
    put16(0x58, 0x10B);     // PE32
    const size_t dirs = 0x58 + 96;
    put32(dirs + 16, 0x1000);  // resource directory RVA
    put32(dirs + 20, 0x200);
    const size_t sec = 0x58 + 0xE0;
    f.replace(sec, 5, ".rsrc");
    put32(sec + 8, 0x200);   // virtual size
    put32(sec + 12, 0x1000); // RVA
    put32(sec + 16, 0x200);  // raw size
    put32(sec + 20, 0x200);  // raw offset
    const size_t r = 0x200;
    // Root: two types (RT_ICON 3, RT_GROUP_ICON 14).
    auto dir = [&](size_t at, uint32_t count) { put16(at + 14, count); };
    auto entry = [&](size_t at, uint32_t id, uint32_t offset) { put32(at, id); put32(at + 4, offset); };
    dir(r, 2);
    entry(r + 16, 3, 0x80000000u | 0x20);
    entry(r + 24, 14, 0x80000000u | 0x38);
    dir(r + 0x20, 1); entry(r + 0x30, 1, 0x80000000u | 0x50);   // icon id 1
    dir(r + 0x38, 1); entry(r + 0x48, 5, 0x80000000u | 0x68);   // group id 5
    dir(r + 0x50, 1); entry(r + 0x60, 1033, 0x80);              // languages
    dir(r + 0x68, 1); entry(r + 0x78, 1033, 0x90);
    put32(r + 0x80, 0x1000 + 0xA0); put32(r + 0x84, 40 + 16 + 8);  // icon data
    put32(r + 0x90, 0x1000 + 0x100); put32(r + 0x94, 20);          // group data
    const size_t bmp = r + 0xA0;
    put32(bmp, 40); put32(bmp + 4, 2); put32(bmp + 8, 4); put16(bmp + 12, 1); put16(bmp + 14, 32);
    for (int i = 0; i < 4; ++i)
        put32(bmp + 40 + 4 * i, 0xFF0000FFu + i);  // opaque, mostly red
    const size_t grp = r + 0x100;
    put16(grp + 2, 1); put16(grp + 4, 1);
    f[grp + 6] = 2; f[grp + 7] = 2; put16(grp + 10, 1); put16(grp + 12, 32); put32(grp + 14, 64); put16(grp + 18, 1);
    return f;
}

TEST(IconExtractTest, ProgramIconsAndMalformedFiles)
{
    const std::string pe = tinyPe();
    const std::string ico = iconFileBytes(pe, 0);
    ASSERT_EQ(ico.size(), 6u + 16u + 64u);
    EXPECT_EQ(ico.substr(0, 6), std::string("\0\0\1\0\1\0", 6));
    EXPECT_EQ(ico.substr(22), pe.substr(0x2A0, 64));
    EXPECT_TRUE(iconFileBytes(pe, 1).empty()) << "there is one group only";
    const std::string png = pngOfIcon(ico);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_NE(png.find("IHDR"), std::string::npos);
    EXPECT_EQ(iconFileBytes(ico, 0), ico) << "an .ico file is its own icon 0";

    // Every truncation and a few corrupted bytes: an answer or none, never a
    // read outside the bytes.
    for (size_t n = 0; n < pe.size(); n += 7)
        (void)iconFileBytes(pe.substr(0, n), 0);
    for (size_t at : {0x3Cu, 0x46u, 0x5Cu + 96u + 16u, 0x210u, 0x218u, 0x280u, 0x284u, 0x304u, 0x310u}) {
        std::string bad = pe;
        bad[at] = '\xFF';
        bad[at + 1] = '\xFF';
        (void)pngOfIcon(iconFileBytes(bad, 0));
    }
}

TEST_F(FolderIconTest, LinuxFileManagersGetTheIconAndLoseItOnReset)
{
    const std::string data = tree.folder("data");
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    tree.folder("icons");
    const std::string icon = tree.file("icons/local.ico", std::string("\0\0\1\0", 4));
    tree.file("Folder/.directory", "[Desktop Entry]\nName=Kept\n");
    ApplyFolderIcon(folder, icon, 0, false, std::string());
    EXPECT_EQ(contents(folder + "/.directory"), "[Desktop Entry]\nName=Kept\nIcon=" + icon + "\n");

    const std::string other = tree.folder("Program icon");
    const std::string dll = tree.file("lib.dll", tinyPe());
    ApplyFolderIcon(other, dll, 0, true, std::string());
    const std::string png = savedIconBase(other) + ".png";
    EXPECT_EQ(contents(png).substr(0, 4), "\x89PNG");
    EXPECT_EQ(contents(other + "/.directory"), "[Desktop Entry]\nIcon=" + png + "\n");

    ResetFolderIcon(folder);
    ResetFolderIcon(other);
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(contents(folder + "/.directory"), "[Desktop Entry]\nName=Kept\n");
    EXPECT_FALSE(exists(other + "/.directory"));
    EXPECT_FALSE(exists(png));
}

}  // namespace
}  // namespace korvala
