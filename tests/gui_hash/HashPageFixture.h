#pragma once
// The Hash page's window tests: a shown main window on the Hash page, test
// dialogs that also answer the "Select File" chooser, and real files, named
// pipes and digests for the runs.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QToolButton>

#include "GuiFixture.h"
#include "app/pages/HashPage.h"
#include "hash/Hashes.h"
#include "worker/BackgroundWorker.h"

inline QString qs(const std::string& s) { return QString::fromStdString(s); }

// Test dialogs that also answer the single-file chooser, front first.
class HashDialogs : public TestDialogs {
public:
    std::vector<QString> nextOpenFile;
    std::vector<QString> openFileTitles;
    // The folder each chooser started in (empty: the dialog's own choice).
    std::vector<QString> openFileFolders;

    QString openFileIn(QWidget* parent, const QString& title, const QString& filter, const QString& folder) override
    {
        openFileFolders.push_back(folder);
        return openFile(parent, title, filter);
    }

    QString openFile(QWidget*, const QString& title, const QString&) override
    {
        openFileTitles.push_back(title);
        if (nextOpenFile.empty())
            return {};
        QString answer = nextOpenFile.front();
        nextOpenFile.erase(nextOpenFile.begin());
        return answer;
    }
};

class HashPageFixture : public GuiFixture {
protected:
    void SetUp() override
    {
        dialogs_.reset();
        dialogs_.nextOpenFile.clear();
        dialogs_.openFileTitles.clear();
        dialogs_.openFileFolders.clear();
        setDialogs(&dialogs_);
        GuiFixture::SetUp();
        page = window->shtHash();
        ASSERT_NE(page, nullptr);
        click(window->findToolButton(QStringLiteral("Hash")));
        ASSERT_EQ(window->activePage(), page);
        folder = tree.root();
    }

    void TearDown() override
    {
        GuiFixture::TearDown();
        setDialogs(&testDialogs());
    }

    std::string writeFile(const std::string& name, const std::string& bytes)
    {
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string makeFifo(const std::string& name)
    {
        const std::string path = folder + "/" + name;
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
        return path;
    }

    // Writes bytes into a named pipe once a reader has opened it, and closes
    // it so that the reader sees the end. Keeps the window thread's events
    // flowing meanwhile, since a run may first need an answer from it.
    bool feedFifo(const std::string& path, const std::string& bytes)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
                ::close(fd);
                return written;
            }
            if (errno != ENXIO)
                return false;
            QCoreApplication::processEvents();
            QTest::qSleep(1);
        }
        return false;
    }

    // Adds files to the generator's list through "Add File(s)".
    void addFiles(const std::vector<std::string>& paths)
    {
        QStringList answer;
        for (const std::string& p : paths)
            answer << qs(p);
        dialogs_.nextOpenFiles.push_back(answer);
        click(page->Button20);
    }

    QStringList messages() const { return dialogs_.messageTexts(); }

    HashDialogs dialogs_;
    THashPage* page = nullptr;
    korvala::test::TTempTree tree;
    std::string folder;
};
