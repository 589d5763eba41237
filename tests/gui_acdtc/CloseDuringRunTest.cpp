// Closing the main window while the Attribute Changer and the DateTime Changer
// run: both passes are cancelled before their first entry, both tools show
// their abort messages during the close, and no file is touched.

#include <QCheckBox>
#include <QTabWidget>

#include "PageTestSupport.h"
#include "app/pages/AttributeChangerPage.h"
#include "app/pages/DateTimeChangerPage.h"
#include "platform/FileAttributes.h"
#include "platform/FileTimes.h"
#include "worker/BackgroundWorker.h"

namespace {

using namespace korvala;

using CloseDuringRunTest = GuiFixture;

TEST_F(CloseDuringRunTest, ClosingAbortsBothPassesAndTouchesNothing)
{
    const korvala::test::TTempTree tree;
    const std::string file = tree.file("f.txt", "content of f.txt");
    const timespec stamp{1547114403, 0};  // 2019-01-10 10:00:03 UTC
    ASSERT_FALSE(writeFileTimes(file, stamp, stamp, stamp));
    ASSERT_FALSE(setFileAttributes(file, 0));

    TAttributeChangerPage* ac = window->page<TAttributeChangerPage>();
    addThroughDialog(ac->Button2, {file});
    click(ac->nHDN);
    TDateTimeChangerPage* dtc = window->page<TDateTimeChangerPage>();
    window->ToolsSelect(window->toolButton(1));
    addThroughDialog(dtc->Button8, {file});

    // Both start; neither can read its list before the window thread turns
    // to their requests, which it first does inside the close.
    click(dtc->Button11);
    window->ToolsSelect(window->toolButton(0));
    click(ac->Button5);
    ASSERT_TRUE(window->worker("trdAC")->IsWorking());
    ASSERT_TRUE(window->worker("trdDTC1")->IsWorking());

    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->worker("trdAC")->IsWorking());
    EXPECT_FALSE(window->worker("trdDTC1")->IsWorking());
    const QStringList shown = testDialogs().messageTexts();
    EXPECT_EQ(shown.size(), 2) << shown.join(u'|').toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Attribute Changing process ABORTED!"))) << shown.join(u'|').toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("DateTime Changing process ABORTED!"))) << shown.join(u'|').toStdString();

    EXPECT_EQ(getFileAttributes(file) & FILE_ATTRIBUTE_HIDDEN, 0u);
    FileTimes after;
    ASSERT_FALSE(readFileTimes(file, after));
    EXPECT_EQ(after.modified.tv_sec, stamp.tv_sec);
    EXPECT_EQ(after.created.tv_sec, stamp.tv_sec);
}

}  // namespace
