// The scripts of Take Ownership and the Protector, run for real on a sandbox
// tree of hostile names (with a sudo on PATH that just runs its arguments,
// since the tests run as root): exactly the listed items change, a decoy with
// a similar name does not, and no command hidden in a name runs.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Process.h"
#include "TempTree.h"
#include "platform/KorvalaError.h"
#include "tools/scripts/BatchScript.h"
#include "tools/scripts/ScriptLines.h"

namespace korvala {
namespace {

using test::ProcessResult;
using test::TTempTree;

// Everything a script may change about an item, read back with the system's
// own tools.
struct ItemState {
    uid_t owner = 0;
    mode_t mode = 0;
    std::string acl;
    std::string flags;
    bool operator==(const ItemState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ItemState& s)
{
    return out << "owner " << s.owner << " mode " << std::oct << s.mode << std::dec << " acl [" << s.acl << "] flags ["
               << s.flags << "]";
}

ItemState stateOf(const std::string& path)
{
    ItemState s;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return s;
    s.owner = st.st_uid;
    s.mode = st.st_mode & 07777;
    if (S_ISLNK(st.st_mode))
        return s;
    s.acl = test::runProcess({"getfacl", "--omit-header", "--absolute-names", "--", path}).out;
    const std::string attrs = test::runProcess({"lsattr", "-d", "--", path}).out;
    s.flags = attrs.substr(0, attrs.find(' '));
    return s;
}

const std::vector<std::string> kHostile = {
    "it's", "dq\"x", "$(touch MARK1)", "`touch MARK2`", "new\nline", "tab\tx", "-leading", "star*", "semi;colon",
    "a && touch MARK3", "\xff\xfe invalid", std::string(255, 'n'), "sp ace", "back\\slash", "]",
};
// Names a careless script would hit instead or as well.
const std::vector<std::string> kDecoys = {"it", "dq", "new", "line", "starX", "semi", "colon", "a", "sp", "ace",
    "-leading_", "leading", "tab", std::string(254, 'n')};

class ScriptsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::chmod(tree.root().c_str(), 0755);
        bin = tree.folder("bin");
        tree.file("bin/sudo", "#!/bin/sh\nexec \"$@\"\n", 0755);
        box = tree.folder("box");
        for (const std::string& name : kHostile)
            listed.push_back(make(name));
        for (const std::string& name : kDecoys)
            make(name);
        listed.push_back(tree.folder("box/a folder"));
        ASSERT_EQ(::chown(listed.back().c_str(), 65534, 65534), 0);
        // A listed link is skipped; what it points to is not touched.
        link = tree.symlink("box/link", box + "/starX");
        listed.push_back(link);
        runtime = tree.folder("runtime", 0700);
    }
    std::string make(const std::string& name)
    {
        const std::string path = tree.file("box/" + name, "x", 0664);
        EXPECT_EQ(::chown(path.c_str(), 65534, 65534), 0);
        return path;
    }
    std::map<std::string, ItemState> snapshot() const
    {
        std::map<std::string, ItemState> all;
        DIR* d = ::opendir(box.c_str());
        while (dirent* e = ::readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                all[box + "/" + e->d_name] = stateOf(box + "/" + e->d_name);
        ::closedir(d);
        return all;
    }
    // Writes the script as the page does and runs it in the box.
    ProcessResult run(const std::vector<std::string>& lines, const std::string& name)
    {
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        const std::string script = writeBatchScript(lines, name, true);
        ::unsetenv("XDG_RUNTIME_DIR");
        EXPECT_EQ(script, runtime + "/korvala/" + name);
        return test::runProcess({"/bin/sh", script},
            {.env = {"PATH=" + bin + ":/usr/sbin:/usr/bin:/sbin:/bin"}, .input = "\n"});
    }
    // Only the listed items differ between the two snapshots; the link and
    // the markers a hidden command would make are checked too.
    void expectOnlyListedChanged(const std::map<std::string, ItemState>& before,
        const std::map<std::string, ItemState>& after, const char* what)
    {
        ASSERT_EQ(before.size(), after.size()) << what << ": an item appeared or went";
        for (const auto& [path, state] : before) {
            const bool isListed = std::find(listed.begin(), listed.end(), path) != listed.end() && path != link;
            if (isListed)
                EXPECT_NE(after.at(path), state) << what << " left " << path << " unchanged";
            else
                EXPECT_EQ(after.at(path), state) << what << " changed " << path;
        }
        for (const char* marker : {"MARK1", "MARK2", "MARK3"}) {
            struct stat st;
            EXPECT_NE(::stat((box + "/" + marker).c_str(), &st), 0) << marker;
            EXPECT_NE(::stat(marker, &st), 0) << marker;
        }
    }

    TTempTree tree;
    std::string bin, box, link, runtime;
    std::vector<std::string> listed;
};

TEST_F(ScriptsTest, TakeOwnershipChangesExactlyTheListedItems)
{
    std::vector<std::string> lines;
    for (const std::string& path : listed)
        lines.push_back(takeOwnershipLine(path, "sudo"));
    const auto before = snapshot();
    const ProcessResult r = run(lines, "TakeOwnership.sh");
    EXPECT_EQ(r.exitCode, 1) << "the link's line fails: " << r.out << r.err;
    EXPECT_NE(r.err.find("Skipped, a symbolic link: " + link), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("Press Enter"), std::string::npos);
    const auto after = snapshot();
    expectOnlyListedChanged(before, after, "take ownership");
    for (const std::string& path : listed) {
        if (path == link)
            continue;
        EXPECT_EQ(after.at(path).owner, 0u) << path;
        EXPECT_NE(after.at(path).acl.find("group:sudo:rw"), std::string::npos) << path << "\n" << after.at(path).acl;
    }
}

TEST_F(ScriptsTest, ProtectThenUnprotect)
{
    std::vector<std::string> protect, unprotect;
    for (const std::string& path : listed) {
        protect.push_back(protectLine(path));
        unprotect.push_back(unprotectLine(path));
    }
    const auto before = snapshot();
    run(protect, "Protect.sh");
    const auto locked = snapshot();
    expectOnlyListedChanged(before, locked, "protect");
    // Not the owner (root is not): the user's own entry denies everything.
    for (const std::string& path : listed) {
        if (path == link)
            continue;
        EXPECT_NE(locked.at(path).flags.find('i'), std::string::npos) << path << " " << locked.at(path);
        EXPECT_NE(locked.at(path).acl.find("user:root:---"), std::string::npos) << path << "\n" << locked.at(path).acl;
    }
    EXPECT_NE(::unlink(listed[0].c_str()), 0) << "a protected file cannot be deleted";

    const ProcessResult r = run(unprotect, "UnProtect.sh");
    EXPECT_NE(r.err.find("Skipped, a symbolic link"), std::string::npos) << r.err;
    const auto unlocked = snapshot();
    expectOnlyListedChanged(locked, unlocked, "unprotect");
    for (const std::string& path : listed) {
        if (path == link)
            continue;
        EXPECT_EQ(unlocked.at(path).flags.find('i'), std::string::npos) << path;
        EXPECT_NE(unlocked.at(path).acl.find("user:root:rw"), std::string::npos) << path << "\n" << unlocked.at(path).acl;
    }
}

TEST_F(ScriptsTest, OwnedItemsLoseTheOwnersBits)
{
    const std::string mine = tree.file("box/mine", "x", 0640);  // root's own
    const ProcessResult r = run({protectLine(mine)}, "Protect.sh");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(stateOf(mine).mode, 0040u);
    run({unprotectLine(mine)}, "UnProtect.sh");
    EXPECT_EQ(stateOf(mine).mode, 0640u);
    EXPECT_EQ(stateOf(mine).flags.find('i'), std::string::npos);
}

TEST_F(ScriptsTest, ScriptFolderIsPrivateAndAnotherUsersIsRefused)
{
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const std::string script = writeBatchScript({}, "TakeOwnership.sh", true);
    struct stat st;
    ASSERT_EQ(::stat((runtime + "/korvala").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(test::runProcess({"/bin/sh", script}).exitCode, 0) << "an empty list gives a script that does nothing";

    ASSERT_EQ(::chown((runtime + "/korvala").c_str(), 65534, 65534), 0);
    try {
        writeBatchScript({}, "Protect.sh", true);
        ADD_FAILURE() << "a script folder of another user was used";
    } catch (const KorvalaError& e) {
        EXPECT_EQ(std::string(e.what()),
            "Cannot create file \"" + runtime + "/korvala/Protect.sh\". Operation not permitted");
    }
    // A link in its place is refused too.
    test::removeTree(runtime + "/korvala");
    tree.symlink("runtime/korvala", box);
    EXPECT_THROW(writeBatchScript({}, "Protect.sh", true), KorvalaError);
    ::unsetenv("XDG_RUNTIME_DIR");
}

TEST_F(ScriptsTest, CommandRunsOrPrintsTheScript)
{
    const std::string item = listed[0];
    const std::vector<std::string> env = {"PATH=" + bin + ":/usr/sbin:/usr/bin:/sbin:/bin", "XDG_RUNTIME_DIR=" + runtime};
    const ProcessResult printed = test::runCli({"take-ownership", "--print", "--", item}, {.env = env});
    EXPECT_EQ(printed.exitCode, 0);
    EXPECT_NE(printed.out.find(shellQuoted(item)), std::string::npos) << printed.out;
    EXPECT_EQ(stateOf(item).owner, 65534u) << "--print changes nothing";

    const ProcessResult ran = test::runCli({"take-ownership", "--", item}, {.env = env});
    EXPECT_EQ(ran.exitCode, 0) << ran.err;
    EXPECT_EQ(stateOf(item).owner, 0u);
    const ProcessResult failed = test::runCli({"protect", "--", box + "/no such item"}, {.env = env});
    EXPECT_EQ(failed.exitCode, 1);
}

}  // namespace
}  // namespace korvala
