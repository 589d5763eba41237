// The Take Ownership and Protector pages: their controls, and their buttons
// writing the script of the listed items and starting it in a terminal (here
// a terminal program that runs it at once, and a sudo that runs its
// arguments, since the tests run as root).

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include <QLabel>
#include <QPushButton>

#include "GuiFixture.h"
#include "PageTestSupport.h"
#include "TempTree.h"
#include "app/pages/ProtectorPage.h"
#include "app/pages/TakeOwnershipPage.h"

using korvala::test::TTempTree;

namespace {

class OwnershipPagesTest : public GuiFixture {
protected:
    void SetUp() override
    {
        bin = tree.folder("bin");
        ran = tree.path("ran");
        tree.file("bin/sudo", "#!/bin/sh\nexec \"$@\"\n", 0755);
        tree.file("bin/x-terminal-emulator",
            "#!/bin/sh\nshift\n\"$@\" < /dev/null > '" + ran + ".out' 2>&1\nmv '" + ran + ".out' '" + ran + "'\n", 0755);
        oldPath = std::getenv("PATH");
        ::setenv("PATH", (bin + ":" + oldPath).c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", tree.folder("runtime", 0700).c_str(), 1);
        GuiFixture::SetUp();
    }
    void TearDown() override
    {
        GuiFixture::TearDown();
        ::setenv("PATH", oldPath.c_str(), 1);
        ::unsetenv("XDG_RUNTIME_DIR");
    }
    // What the script printed, once the terminal has run it.
    std::string waitForRun()
    {
        struct stat st;
        for (int i = 0; i < 500 && ::stat(ran.c_str(), &st) != 0; ++i)
            QTest::qWait(10);
        std::ifstream in(ran);
        std::stringstream text;
        text << in.rdbuf();
        ::unlink(ran.c_str());
        return text.str();
    }

    TTempTree tree;
    std::string bin, ran, oldPath;
};

TEST_F(OwnershipPagesTest, TakeOwnershipOfTheListedItems)
{
    auto* page = window->page<TTakeOwnershipPage>();
    click(window->findToolButton(QStringLiteral("Take Ownership")));
    EXPECT_EQ(page->titleStrip()->text(), QStringLiteral("TAKE OWNERSHIP"));
    EXPECT_EQ(page->Label87->text(), QStringLiteral("File/Folder List :"));
    EXPECT_EQ(page->totTO->text(), QStringLiteral("Total Items : -"));
    EXPECT_EQ(page->BitBtn4->text(), QStringLiteral("TAKE OWNERSHIP"));

    const std::string item = tree.file("it's \"theirs\"", "x");
    const std::string other = tree.file("it", "x");
    for (const std::string& p : {item, other})
        ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0);
    addThroughDialog(page->Button54, {item});
    click(page->BitBtn4);
    const std::string out = waitForRun();
    EXPECT_NE(out.find("Press Enter"), std::string::npos) << out;
    struct stat st;
    ASSERT_EQ(::stat(item.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    ASSERT_EQ(::stat(other.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_TRUE(testDialogs().messages.empty());
    EXPECT_EQ(page->TOList->count(), 1) << "the list stays as it was";
}

TEST_F(OwnershipPagesTest, ProtectAndRemoveProtection)
{
    auto* page = window->page<TProtectorPage>();
    click(window->findToolButton(QStringLiteral("Protector")));
    EXPECT_EQ(page->titleStrip()->text(), QStringLiteral("PROTECTOR"));
    EXPECT_EQ(page->Label72->text(), QStringLiteral("File/Folder List :"));
    EXPECT_EQ(page->BitBtn2->text(), QStringLiteral("PROTECT"));
    EXPECT_EQ(page->BitBtn3->text(), QStringLiteral("REMOVE PROTECTION"));
    EXPECT_EQ(page->Label73->text(), QStringLiteral("Note : Protector Feature will make your File/Folder Undeleteable, "
                                                    "Unmovable, Uncopyable and Inaccessible."));

    const std::string item = tree.file("-protect me", "x", 0644);
    addThroughDialog(page->Button50, {item});
    click(page->BitBtn2);
    waitForRun();
    EXPECT_NE(::unlink(item.c_str()), 0) << "a protected item cannot be deleted";
    struct stat st;
    ASSERT_EQ(::stat(item.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0700, 0u);

    click(page->BitBtn3);
    waitForRun();
    ASSERT_EQ(::stat(item.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0600, 0600u);
    EXPECT_EQ(page->ProtList->count(), 1);
}

TEST_F(OwnershipPagesTest, ScriptThatCannotBeWrittenIsReported)
{
    auto* page = window->page<TTakeOwnershipPage>();
    click(window->findToolButton(QStringLiteral("Take Ownership")));
    const std::string runtime = std::getenv("XDG_RUNTIME_DIR");
    tree.file("runtime/korvala", "a file where the folder should be");
    click(page->BitBtn4);
    ASSERT_EQ(testDialogs().messages.size(), 1u);
    EXPECT_EQ(testDialogs().messages[0].text.toStdString(),
        "Cannot create file \"" + runtime + "/korvala/TakeOwnership.sh\". Not a directory");
    EXPECT_EQ(testDialogs().messages[0].icon, Dialogs::Icon::Error);
}

}  // namespace
