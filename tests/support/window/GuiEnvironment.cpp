#include "GuiEnvironment.h"

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <gtest/gtest.h>

#include "app/KorvalaApplication.h"

namespace {

TestDialogs g_dialogs;
TestShell g_shell;
std::string g_root;

int g_argc = 1;
char g_argv0[] = "test_gui";
char* g_argv[] = {g_argv0, nullptr};

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        char pattern[] = "/tmp/korvala-gui-XXXXXX";
        if (mkdtemp(pattern) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        g_root = pattern;
        const std::string config = g_root + "/config";
        const std::string data = g_root + "/data";
        setenv("HOME", g_root.c_str(), 1);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        startPrivateBus();
        m_app = new KorvalaApplication(g_argc, g_argv);
        setDialogs(&g_dialogs);
        setShell(&g_shell);
    }

    void TearDown() override
    {
        setDialogs(nullptr);
        setShell(nullptr);
        delete m_app;
        m_app = nullptr;
        if (m_busPid > 0)
            kill(m_busPid, SIGTERM);
        std::system(("rm -rf '" + g_root + "'").c_str());
    }

private:
    // A session bus of the tests' own, so that nothing reaches the desktop
    // of the machine and the file manager calls can be observed.
    void startPrivateBus()
    {
        const std::string command = "dbus-daemon --session --fork --print-address=1 --print-pid=1 "
                                    "--address=unix:path=" + g_root + "/bus";
        FILE* out = popen(command.c_str(), "r");
        if (out == nullptr)
            return;
        char address[512] = {};
        char pid[64] = {};
        if (std::fgets(address, sizeof address, out) && std::fgets(pid, sizeof pid, out)) {
            std::string text = address;
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                text.pop_back();
            setenv("DBUS_SESSION_BUS_ADDRESS", text.c_str(), 1);
            m_busPid = static_cast<pid_t>(std::atol(pid));
        }
        pclose(out);
    }

    KorvalaApplication* m_app = nullptr;
    pid_t m_busPid = 0;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace

void TestDialogs::reset()
{
    messages.clear();
    modalWindows.clear();
    openFilesTitles.clear();
    directoryTitles.clear();
    nextOpenFiles.clear();
    nextDirectories.clear();
    directoryFolders.clear();
    inputsAsked.clear();
    nextInputs.clear();
    onModal = nullptr;
    onMessage = nullptr;
}

QStringList TestDialogs::messageTexts() const
{
    QStringList texts;
    for (const RecordedMessage& m : messages)
        texts << m.text;
    return texts;
}

void TestDialogs::message(QWidget*, const QString& text, Icon icon, const QString& caption)
{
    messages.push_back({text, icon, caption});
    if (onMessage) {
        const RecordedMessage shown = messages.back();
        onMessage(shown);
    }
}

bool TestDialogs::confirm(QWidget*, const QString& text, Icon icon)
{
    messages.push_back({text, icon, QString()});
    return true;
}

QStringList TestDialogs::openFiles(QWidget*, const QString& title, const QString& filter)
{
    openFilesTitles.push_back(title + QStringLiteral("|") + filter);
    if (nextOpenFiles.empty())
        return {};
    QStringList answer = nextOpenFiles.front();
    nextOpenFiles.erase(nextOpenFiles.begin());
    return answer;
}

QString TestDialogs::openFile(QWidget*, const QString&, const QString&) { return {}; }
QString TestDialogs::saveFile(QWidget*, const QString&, const QString&) { return {}; }

QString TestDialogs::existingDirectory(QWidget*, const QString& title, const QString& initialFolder)
{
    directoryTitles.push_back(title);
    directoryFolders.push_back(initialFolder);
    if (nextDirectories.empty())
        return {};
    QString answer = nextDirectories.front();
    nextDirectories.erase(nextDirectories.begin());
    return answer;
}

bool TestDialogs::input(QWidget*, const QString& caption, const QString& prompt, QString& value)
{
    inputsAsked.emplace_back(caption, prompt);
    if (nextInputs.empty())
        return false;
    const std::optional<QString> answer = nextInputs.front();
    nextInputs.erase(nextInputs.begin());
    if (!answer)
        return false;
    value = *answer;
    return true;
}

int TestDialogs::showModal(QDialog& window)
{
    modalWindows.push_back(window.objectName());
    if (onModal)
        onModal(window);
    return QDialog::Rejected;
}

TestDialogs& testDialogs() { return g_dialogs; }
TestShell& testShell() { return g_shell; }
const std::string& testRoot() { return g_root; }
