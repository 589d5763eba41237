// Interoperability with a real file server: a private smbd shares a temporary
// folder, Korvala changes attributes and creation times on the files directly,
// and smbclient must see exactly those through the server.

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <sstream>

#include "SmbServer.h"
#include "TempTree.h"
#include "TimeTestSupport.h"
#include "platform/FileAttributes.h"
#include "tools/attributes/AttributeChanger.h"
#include "tools/datetime/FileDateTime.h"
#include "tools/foldericon/FolderIcon.h"

namespace korvala {
namespace {

using namespace test;
constexpr AttributeChoice S = AttributeChoice::acSet;
constexpr AttributeChoice C = AttributeChoice::acClear;
constexpr AttributeChoice K = AttributeChoice::acKeep;

struct AllInfo {
    uint32_t attributes = INVALID_FILE_ATTRIBUTES;
    std::string createTime;
    std::string writeTime;
};

// Splits the output of several "allinfo NAME" commands, one block per name in
// the order asked.
std::vector<AllInfo> parseAllInfo(const std::string& text)
{
    std::vector<AllInfo> blocks;
    static const std::regex kAttributes(R"(^attributes:.*\(([0-9a-fA-F]+)\)\s*$)");
    static const std::regex kCreate(R"(^create_time:\s+(.*?)\s*$)");
    static const std::regex kWrite(R"(^write_time:\s+(.*?)\s*$)");
    std::istringstream lines(text);
    std::string line;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (line.rfind("altname:", 0) == 0)
            blocks.emplace_back();
        if (blocks.empty())
            continue;
        if (std::regex_match(line, m, kAttributes))
            blocks.back().attributes = static_cast<uint32_t>(std::stoul(m[1], nullptr, 16));
        else if (std::regex_match(line, m, kCreate))
            blocks.back().createTime = m[1];
        else if (std::regex_match(line, m, kWrite))
            blocks.back().writeTime = m[1];
    }
    return blocks;
}

// The way smbclient prints a time in UTC: "Sat Feb  3 04:05:06 2001 UTC".
std::string smbclientTime(time_t t)
{
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[64];
    std::strftime(text, sizeof text, "%a %b %e %H:%M:%S %Y UTC", &tm);
    return text;
}

// One server for the whole suite: starting smbd is the slow part.
class SambaInterop : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_root = std::make_unique<TTempTree>();
        s_data = s_root->folder("data");
        s_server = std::make_unique<TSmbServer>(s_root->folder("server"), s_data);
        s_startError.clear();
        if (!s_server->start(s_startError))
            s_server.reset();
    }
    static void TearDownTestSuite()
    {
        s_server.reset();  // stops smbd and its children
        s_root.reset();
    }
    void SetUp() override
    {
        // Not a skip: these tests are what proves that the attribute store is
        // the one a real file server reads.
        ASSERT_TRUE(s_server) << "could not start a private smbd: " << s_startError;
    }

    static std::string dataFile(const std::string& name) { return s_root->file("data/" + name); }
    static std::string dataFolder(const std::string& name) { return s_root->folder("data/" + name); }

    static std::vector<AllInfo> allInfo(const std::vector<std::string>& names)
    {
        std::string commands;
        for (const std::string& name : names)
            commands += "allinfo \"" + name + "\";";
        std::string output, error;
        EXPECT_TRUE(s_server->client(commands, output, error)) << error;
        std::vector<AllInfo> blocks = parseAllInfo(output);
        EXPECT_EQ(blocks.size(), names.size()) << output;
        blocks.resize(names.size());
        return blocks;
    }

    static std::unique_ptr<TTempTree> s_root;
    static std::string s_data;
    static std::unique_ptr<TSmbServer> s_server;
    static std::string s_startError;
};

std::unique_ptr<TTempTree> SambaInterop::s_root;
std::string SambaInterop::s_data;
std::unique_ptr<TSmbServer> SambaInterop::s_server;
std::string SambaInterop::s_startError;

TEST_F(SambaInterop, ServerReportsTheAttributesKorvalaSet)
{
    struct Case {
        const char* name;
        bool folder;
        AttributeChoice ro, hidden, system, archive;
        uint32_t expected;  // of the bits R H S A D
    };
    const Case cases[] = {
        {"readonly.txt", false, S, C, C, C, 0x01},
        {"hidden-system.txt", false, K, S, S, C, 0x06},
        {"archive.txt", false, C, C, C, S, 0x20},
        {"all.txt", false, S, S, S, S, 0x27},
        {"none.txt", false, C, C, C, C, 0x00},
        {"folder", true, K, S, S, C, 0x16},
        {"ro-folder", true, S, C, C, S, 0x31},
    };
    std::vector<std::string> names;
    for (const Case& c : cases) {
        const std::string path = c.folder ? dataFolder(c.name) : dataFile(c.name);
        const AttributeChange change = ApplyAttributeChoices(path, c.ro, c.hidden, c.system, c.archive);
        ASSERT_FALSE(change.error) << path << ": " << change.error.message();
        names.push_back(c.name);
    }
    const std::vector<AllInfo> info = allInfo(names);
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(info[i].attributes & 0x37u, cases[i].expected)
            << names[i] << ": Samba reports 0x" << std::hex << info[i].attributes;

    // A second run over the same files: clearing as well as setting reaches the server.
    const std::string all = s_data + "/all.txt";
    ASSERT_FALSE(ApplyAttributeChoices(all, C, K, C, K).error);
    EXPECT_EQ(allInfo({"all.txt"})[0].attributes & 0x37u, 0x22u);
}

TEST_F(SambaInterop, ServerReportsTheCreationTimeKorvalaSet)
{
    const std::string file = dataFile("created.txt");
    const std::string folder = dataFolder("created-folder");
    const time_t created = utcSeconds(2001, 2, 3, 4, 5, 6);
    const time_t modified = utcSeconds(2014, 7, 28, 11, 41, 3);
    SetFileDateTime(file, FileTimeKind::fkCreated, makeTimespec(created, 0));
    SetFileDateTime(file, FileTimeKind::fkModified, makeTimespec(modified, 0));
    SetFileDateTime(folder, FileTimeKind::fkCreated, makeTimespec(created + 3600, 0));

    const std::vector<AllInfo> info = allInfo({"created.txt", "created-folder"});
    EXPECT_EQ(info[0].createTime, smbclientTime(created));
    EXPECT_EQ(info[0].writeTime, smbclientTime(modified));
    EXPECT_EQ(info[1].createTime, smbclientTime(created + 3600));
}

TEST_F(SambaInterop, CustomisedFolderReadsAsWindowsExpectsIt)
{
    const std::string folder = dataFolder("icon folder");
    ApplyFolderIcon(folder, "C:\\Windows\\System32\\Shell32.dll", 4, true, std::string("Docs"));
    const std::vector<AllInfo> info = allInfo({"icon folder", "icon folder\\desktop.ini"});
    EXPECT_EQ(info[0].attributes & 0x37u, 0x14u) << "the folder, system only: 0x" << std::hex << info[0].attributes;
    EXPECT_EQ(info[1].attributes & 0x37u, 0x06u) << "desktop.ini, hidden and system: 0x" << std::hex << info[1].attributes;
    std::string output, error;
    ASSERT_TRUE(s_server->client("get \"icon folder\\desktop.ini\" -", output, error)) << error;
    EXPECT_NE(output.find("[.ShellClassInfo]\r\nIconFile=C:\\Windows\\System32\\Shell32.dll\r\n"), std::string::npos)
        << output;
}

TEST_F(SambaInterop, KorvalaReadsWhatTheServerStored)
{
    const std::string file = dataFile("from-server.txt");
    std::string output, error;
    ASSERT_TRUE(s_server->client("setmode from-server.txt +hs", output, error)) << error;
    const AllInfo info = allInfo({"from-server.txt"})[0];
    const uint32_t ours = getFileAttributes(file);
    EXPECT_EQ(ours & 0x06u, 0x06u) << std::hex << ours;
    EXPECT_EQ(ours & 0x27u, info.attributes & 0x27u) << std::hex << ours << " " << info.attributes;
    // smbclient prints the time rounded to the nearest second.
    const timespec created = timesOf(file).created;
    EXPECT_EQ(info.createTime, smbclientTime(created.tv_sec + (created.tv_nsec >= 500000000 ? 1 : 0)));
}

}  // namespace
}  // namespace korvala
