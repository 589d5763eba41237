// The texts built from errors: the system's form with its number, and the file
// texts with the expanded path and the system's reason.

#include "platform/ErrorTexts.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/Paths.h"
#include "platform/SystemError.h"

namespace korvala {
namespace {

TEST(ErrorTexts, SystemAndFileTexts)
{
    struct Case {
        std::string actual;
        std::string expected;
    };
    const Case cases[] = {
        {systemErrorText(EACCES), "System Error.  Code: 13.\r\nPermission denied"},
        {systemErrorText(systemError(ENOTSUP)), "System Error.  Code: 95.\r\nOperation not supported"},
        // The platform's own code gives the number of the errno value it stands for.
        {systemErrorText(PlatformErrc::notRegularFile), "System Error.  Code: 22.\r\nNot a regular file"},
        {cannotOpenFileText("/tmp/a/../f", PlatformErrc::notRegularFile),
            "Cannot open file \"/tmp/f\". Not a regular file"},
        {cannotReadFileText("/tmp/f", systemError(EIO)), "Cannot read file \"/tmp/f\". Input/output error"},
        {cannotWriteFileText("/tmp/f", systemError(ENOSPC)),
            "Cannot write file \"/tmp/f\". No space left on device"},
        // A folder is named without the trailing "/" the expansion keeps.
        {streamCannotOpenFileText("/tmp/d/", systemError(EISDIR)),
            "TFileStreamW: Cannot open file \"/tmp/d\". Is a directory"},
        {cannotOpenFileText("/tmp/..", systemError(EISDIR)), "Cannot open file \"/\". Is a directory"},
        {cannotOpenFileText(".", systemError(EISDIR)), "Cannot open file \"" + currentFolder() + "\". Is a directory"},
        {streamCannotCreateFileText("/x/y", systemError(ENOENT)),
            "TFileStreamW: Cannot create file \"/x/y\". No such file or directory"},
        // An empty path stays empty instead of naming the working folder.
        {cannotOpenFileText("", systemError(ENOENT)), "Cannot open file \"\". No such file or directory"},
        {cannotAssignText("TFileCriteria", "TSizeCriteria"), "Cannot assign a TFileCriteria to a TSizeCriteria"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected);
}

}  // namespace
}  // namespace korvala
