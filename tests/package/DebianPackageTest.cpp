// The Debian package built from this build tree, as scripts/package.sh builds
// it: its name, its fields (libraries from dpkg-shlibdeps, the recommended
// programs), its contents, and lintian's verdict.

#include <gtest/gtest.h>

#include "PackageSupport.h"
#include "Files.h"
#include "Process.h"
#include "TempTree.h"

namespace korvala::test {
namespace {

TEST(DebianPackage, BuildsAndPassesLintian)
{
    TTempTree tree;
    const ProcessResult cpack = runProcess(
        {KORVALA_CPACK, "--config", buildPath("CPackConfig.cmake"), "-G", "DEB", "-B", tree.path()});
    ASSERT_EQ(cpack.exitCode, 0) << describe(cpack) << cpack.out;
    const std::string deb = tree.path(std::string("korvala_") + KORVALA_VERSION + "_amd64.deb");

    const ProcessResult fields = runProcess({"dpkg-deb", "--field", deb});
    ASSERT_EQ(fields.exitCode, 0) << deb << ": " << describe(fields);
    for (const char* expected : {"Package: korvala\n", "Architecture: amd64\n", "libqt6widgets6",
                                 "libc6 (>=", "Recommends: samba-common-bin, acl\n"})
        EXPECT_NE(fields.out.find(expected), std::string::npos) << expected << " is not in\n" << fields.out;

    const ProcessResult contents = runProcess({"dpkg-deb", "--contents", deb});
    ASSERT_EQ(contents.exitCode, 0) << describe(contents);
    for (const char* path : {"./usr/bin/korvala\n", "./usr/bin/korvala-cli\n",
                             "./usr/share/applications/korvala.desktop\n",
                             "./usr/share/kio/servicemenus/korvala-files.desktop\n",
                             "./usr/share/nemo/actions/korvala-hash.nemo_action\n"})
        EXPECT_NE(contents.out.find(path), std::string::npos) << path << " is not in the package";

    // Errors fail the test; warnings (none today) would be listed in its output.
    const ProcessResult lintian = runProcess({"lintian", "--tag-display-limit", "0", deb});
    EXPECT_EQ(lintian.exitCode, 0) << describe(lintian) << lintian.out;
    for (const std::string& line : splitLines(lintian.out)) {
        EXPECT_NE(line.rfind("E: ", 0), 0u) << line;
        if (line.rfind("W: ", 0) == 0)
            std::printf("lintian: %s\n", line.c_str());
    }
}

}  // namespace
}  // namespace korvala::test
