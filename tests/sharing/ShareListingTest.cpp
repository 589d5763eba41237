// The share listing as text: what Samba prints, read into shares, and the memo's
// form of the listing.

#include <gtest/gtest.h>

#include "tools/sharing/ShareAdvice.h"
#include "tools/sharing/ShareListing.h"

namespace korvala {
namespace {

TEST(ShareListingTest, MemoFormOfTheListing)
{
    struct Case {
        const char* output;
        const char* memo;
    } cases[] = {
        // Trimmed, an empty first line, one blank in front of every line.
        {"\n\t Share name   Resource\nabc  /x \n\n", " \n Share name   Resource\n abc  /x"},
        // The closing sentence goes when it is the last line...
        {"a\nb\nThe command completed successfully.\r\n", " \n a\n b"},
        // ...and only then.
        {"The command completed successfully.\nb", " \n The command completed successfully.\n b"},
        {"The command completed successfully. ", " \n "},
        // The stopped server's sentence anywhere leaves it alone.
        {"x\nSystem error: The Server service is not started. More\ny", "The Server service is not started."},
        {"", " \n "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatShareListing(c.output), c.memo) << c.output;
}

TEST(ShareListingTest, SharesReadFromSambaOutput)
{
    const std::string usershares =
        "[docs]\npath=/home/u/My Docs\ncomment=a = b; \"q\"\nusershare_acl=S-1-1-0:F,\nguest_ok=n\n\n"
        "info_fn: file /var/lib/samba/usershares/x is not a well formed usershare file.\n"
        "[a]b]\npath=/srv/[x]\ncomment=\nusershare_acl=S-1-1-0:F,\nguest_ok=n\n";
    const std::vector<TShareEntry> u = parseUsershareInfo(usershares);
    ASSERT_EQ(u.size(), 2u);
    EXPECT_EQ(u[0].name, "docs");
    EXPECT_EQ(u[0].folder, "/home/u/My Docs");
    EXPECT_EQ(u[0].comment, "a = b; \"q\"");
    EXPECT_EQ(u[1].name, "a]b");
    EXPECT_EQ(u[1].folder, "/srv/[x]");

    const std::string config = "# Global parameters\n[global]\n\tpath = /not/a/share\n\n"
                               "[conf share]\n\tcomment = configured\n\tpath = /srv/data\n\tread only = No\n";
    const std::vector<TShareEntry> c = parseConfiguredShares(config);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].name, "conf share");
    EXPECT_EQ(c[0].folder, "/srv/data");
    EXPECT_EQ(c[0].comment, "configured");
}

TEST(ShareListingTest, TableColumnsAndLongValues)
{
    const std::string table = shareTable({{"docs", "/home/u/docs", "My docs"},
        {"a-very-long-share-name", "/srv/x", ""}, {"b", "/a/folder/path/longer/than/its/column", "c"}});
    EXPECT_EQ(table,
        "Share name   Resource                        Remark\n\n" + std::string(79, '-') + "\n"
        "docs         /home/u/docs                    My docs\n"
        "a-very-long-share-name\n             /srv/x\n"
        "b            /a/folder/path/longer/than/its/column\n"
        "                                             c\n");
}

TEST(ShareListingTest, AdviceForTheUsualFailures)
{
    EXPECT_NE(shareAdvice("net usershare: usershares are currently disabled").find("usershare path"), std::string::npos);
    EXPECT_NE(shareAdvice("net usershare add: cannot share path /x as we are restricted to only sharing directories "
                          "we own.").find("folders you own"),
        std::string::npos);
    EXPECT_NE(shareAdvice("You do not have permission to create a usershare. Ask your administrator")
                  .find("sambashare"),
        std::string::npos);
    EXPECT_EQ(shareAdvice("something else entirely"), "");
}

}  // namespace
}  // namespace korvala
