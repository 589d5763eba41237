// Starting with paths: the start arguments, the page and paths taken as a
// drop, and a later start of the real program handing them to this window
// over a private D-Bus session bus.

#include <unistd.h>

#include <chrono>
#include <thread>

#include <QDBusConnection>
#include <QLineEdit>
#include <QProcess>
#include <QTabWidget>
#include <QTest>

#include "DropsTestSupport.h"
#include "app/SingleInstance.h"
#include "app/StartArguments.h"
#include "app/pages/FolderIconChangerPage.h"
#include "app/pages/HashGeneratorPage.h"
#include "platform/Paths.h"

namespace {

TEST(StartArguments, PagesPathsAndBadUsage)
{
    const std::string cwd = korvala::currentFolder();
    struct Case {
        std::vector<std::string> args;
        int tool;
        std::vector<std::string> paths;
        bool bad;
    };
    const Case cases[] = {
        {{}, -1, {}, false},
        {{"--page", "hash", "a.txt", "/x/../y", "/z"}, 7, {cwd + "/a.txt", "/y", "/z"}, false},
        {{"--page", "duplicates", "--", "--page", "-"}, 2, {cwd + "/--page", cwd + "/-"}, false},
        {{"/only/paths", ""}, -1, {"/only/paths"}, false},
        {{"--page", "explorer", "/a"}, -1, {}, true},   // cannot be reached
        {{"--page", "Hash"}, -1, {}, true},             // names are exact
        {{"--page"}, -1, {}, true},
        {{"--bogus"}, -1, {}, true},
        {{"--screenshot", "w.png", "/a"}, -1, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args.front() + " ...");
        const TStartArguments start = parseStartArguments(c.args);
        EXPECT_EQ(!start.error.empty(), c.bad) << start.error;
        if (c.bad)
            continue;
        EXPECT_EQ(start.tool, c.tool);
        EXPECT_EQ(start.paths, c.paths);
    }
    // A screenshot also takes a tool button's hint, which the window resolves.
    const TStartArguments shot = parseStartArguments({"--screenshot", "w.png", "--page", "Seeker"});
    EXPECT_TRUE(shot.error.empty());
    EXPECT_EQ(shot.pageName, "Seeker");

    // The names the file managers' actions use.
    const std::pair<const char*, int> names[] = {{"hash", 7}, {"duplicates", 2}, {"shred", 5}, {"attributes", 0},
        {"datetime", 1}, {"hidden", 8}, {"folder-icon", 6}};
    for (const auto& [name, tool] : names)
        EXPECT_EQ(toolOfPageName(name), tool) << name;
    EXPECT_NE(startUsage().find("folder-icon"), std::string::npos);
}

class StartWithPathsTest : public DropsFixture {};

TEST_F(StartWithPathsTest, ThePageIsShownAndThePathsRoutedOntoIt)
{
    tree.folder("docs");
    const std::string file = tree.file("docs/a.txt");
    const std::string folder = tree.folder("docs/sub");
    const std::string other = tree.folder("docs/other");

    window->openWithPaths(2, {file, folder});
    EXPECT_EQ(window->activePage(), window->pageOfTool(2));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Korvala - \"Duplicate Finder\""));
    EXPECT_EQ(find<TItemList>("DFList")->paths(), std::vector<std::string>{file});
    EXPECT_EQ(counterText("ACList"), QStringLiteral("Total Items : 0"));

    // Without a page: the page shown takes them. A page that cannot be
    // reached is not shown.
    window->openWithPaths(-1, {other});
    window->openWithPaths(10, {file});
    EXPECT_EQ(window->activePage(), window->pageOfTool(2));
    EXPECT_EQ(find<TItemList>("DFList")->paths(), std::vector<std::string>{file});

    // The Folder Icon Changer: one folder for the single sub-page, several
    // for the batch list.
    auto* icons = window->page<TFolderIconChangerPage>();
    window->openWithPaths(6, {folder});
    EXPECT_FALSE(icons->batchSubPageActive());
    EXPECT_EQ(icons->ficFolder->text(), qs(folder));
    window->openWithPaths(6, {folder, other});
    EXPECT_TRUE(icons->batchSubPageActive());
    EXPECT_EQ(find<TItemList>("lstBFIC")->paths(), (std::vector<std::string>{folder, other}));
}

// A private session bus for one test: a real dbus-daemon, ended with it.
class PrivateBus {
public:
    PrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                          QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted(5000))
            return;
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) {}
        address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("drops-test-a"));
        QDBusConnection::disconnectFromBus(QStringLiteral("drops-test-b"));
        m_daemon.terminate();
        m_daemon.waitForFinished(5000);
    }
    QDBusConnection connect(const char* name) const
    {
        return QDBusConnection::connectToBus(address, QString::fromLatin1(name));
    }

    QString address;

private:
    QProcess m_daemon;
};

TEST_F(StartWithPathsTest, ALaterStartHandsItsPageAndPathsToTheRunningWindow)
{
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon did not start";
    TSingleInstance first(bus.connect("drops-test-a"));
    ASSERT_TRUE(first.claim());
    QObject::connect(&first, &TSingleInstance::openRequested, window.get(),
        [this](int tool, const std::vector<std::string>& paths) { window->openWithPaths(tool, paths); });

    // Another process of this program on the bus finds the name taken.
    TSingleInstance second(bus.connect("drops-test-b"));
    EXPECT_FALSE(second.claim());

    // The real program, started in another folder with a relative path.
    tree.folder("docs");
    const std::string file = tree.file("docs/from elsewhere.txt");
    QProcess later;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    later.setProcessEnvironment(env);
    later.setWorkingDirectory(qs(tree.path("docs")));
    later.start(QStringLiteral(KORVALA_PATH), {QStringLiteral("--page"), QStringLiteral("hash"),
                                                  QStringLiteral("from elsewhere.txt")});
    ASSERT_TRUE(later.waitForStarted(5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return later.state() == QProcess::NotRunning; }))
        << "the later start did not end: it opened a window of its own";
    EXPECT_EQ(later.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(later.exitCode(), 0) << later.readAllStandardError().toStdString();

    auto* hash = find<TItemList>("HList");
    EXPECT_TRUE(QTest::qWaitFor([&] { return hash->count() == 1; }));
    EXPECT_EQ(window->activePage(), window->pageOfTool(7));
    EXPECT_EQ(hash->paths(), std::vector<std::string>{file});

    // Names of any bytes arrive whole (a call from another thread, as the
    // window's thread answers it).
    const std::string odd = tree.file(std::string("docs/odd \xff\n'$(x)'"));
    bool handed = false;
    std::thread caller([&] { handed = TSingleInstance::handOver(bus.connect("drops-test-b"), 0, {odd, "relative"}); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return find<TItemList>("ACList")->count() == 1; }));
    caller.join();
    EXPECT_TRUE(handed);
    EXPECT_EQ(window->activePage(), window->pageOfTool(0));
    // The relative path was left out: it would be read against this folder.
    EXPECT_EQ(find<TItemList>("ACList")->paths(), std::vector<std::string>{odd});
}

}  // namespace
