// The update file's INI reading: what a server may send, well formed or not,
// and what cannot be read at all.

#include <gtest/gtest.h>

#include "TempTree.h"
#include "update/UpdateIni.h"

namespace korvala {
namespace {

using test::TTempTree;

TEST(UpdateIni, ReadsSectionAndKeyAsAServerWritesThem)
{
    const struct {
        const char* name;
        std::string text;
        const char* version;  // "Version" of section "53", "-" when missing
    } cases[] = {
        {"plain", "[53]\nVersion=2016.9\nDLink=https://k.example/\n", "2016.9"},
        {"CRLF", "[52]\r\nVersion=1\r\n[53]\r\nVersion=2016.9\r\n", "2016.9"},
        {"CR only", "[53]\rVersion=2016.9\r", "2016.9"},
        {"byte order mark", "\xEF\xBB\xBF[53]\nVersion=2016.9\n", "2016.9"},
        {"blanks around names and value", "  [ 53 ]  \n\t Version \t=  2016.9 \n", "2016.9"},
        {"other capitals", "[53]\nVERSION=2016.9\n", "2016.9"},
        {"quoted value", "[53]\nVersion=\"2016.9\"\n", "2016.9"},
        {"one quote kept", "[53]\nVersion=\"2016.9\n", "\"2016.9"},
        {"first of a repeated key", "[53]\nVersion=1.1\nVersion=1.2\n", "1.1"},
        {"repeated section counts as one", "[53]\nDLink=x\n[54]\nVersion=9\n[53]\nVersion=2016.9\n", "2016.9"},
        {"value holding '=' and ';'", "[53]\nVersion=a=b;c\n", "a=b;c"},
        {"empty value", "[53]\nVersion=\n", ""},
        {"no end of line", "[53]\nVersion=2016.9", "2016.9"},
        {"other section only", "[54]\nVersion=2016.9\n", "-"},
        {"key before any section", "Version=2016.9\n[53]\n", "-"},
        {"section line without ]", "[53\nVersion=2016.9\n", "-"},
        {"comment lines", "[53]\n;Version=1\n#Version=2\nVersion=3\n", "3"},
        {"line without =", "[53]\nVersion 2016.9\n", "-"},
        {"empty key", "[53]\n=2016.9\n", "-"},
        {"section 530 is not 53", "[530]\nVersion=2016.9\n", "-"},
        {"an HTML page", "<html><body>[53] Version=2016.9</body></html>", "-"},
        {"empty file", "", "-"},
        {"NUL bytes kept in the value", std::string("[53]\nVersion=20\0x\n", 18), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TIniFile ini = TIniFile::parse(c.text);
        if (c.version)
            EXPECT_EQ(ini.readString("53", "Version", "-"), c.version);
        else
            EXPECT_EQ(ini.readString("53", "Version", "-"), std::string("20\0x", 4));
    }
}

TEST(UpdateIni, FilesThatCannotBeReadHaveOnlyDefaults)
{
    TTempTree dir;
    const std::string good = dir.file("good.ini", "[53]\nVersion=2016.9\n");
    EXPECT_EQ(TIniFile::load(good).readString("53", "Version", "-"), "2016.9");

    std::string big = "[53]\nVersion=2016.9\n";
    big.resize(kUpdateFileLimit + 1, ';');
    const char* const unreadable[] = {"missing.ini", "folder", "fifo", "big.ini", "link-to-nothing"};
    dir.folder("folder");
    dir.fifo("fifo");  // no writer: reading it must not wait
    dir.file("big.ini", big);
    dir.symlink("link-to-nothing", dir.path("gone"));
    for (const char* name : unreadable) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(TIniFile::load(dir.path(name)).entries().empty());
    }
    EXPECT_TRUE(TIniFile::load("/dev/zero").entries().empty());
}

}  // namespace
}  // namespace korvala
