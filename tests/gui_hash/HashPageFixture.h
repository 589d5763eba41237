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
#include "app/pages/HashComparePage.h"
#include "app/pages/HashGeneratorPage.h"
#include "app/pages/HashPage.h"
#include "app/pages/HashVerifyPage.h"
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
        page = window->page<THashPage>();
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

    std::string writeFile(const std::string& name, const std::string& bytes) { return tree.file(name, bytes); }
    std::string makeFifo(const std::string& name) { return tree.fifo(name); }
    // Reading it takes time without filling the disk.
    std::string makeSparse(const std::string& name, off_t size) { return tree.sparseFile(name, size); }

    // Adds files to the generator's list through "Add File(s)".
    void addFiles(const std::vector<std::string>& paths)
    {
        QStringList answer;
        for (const std::string& p : paths)
            answer << qs(p);
        dialogs_.nextOpenFiles.push_back(answer);
        click(page->generator->Button20);
    }

    QStringList messages() const { return dialogs_.messageTexts(); }

    HashDialogs dialogs_;
    THashPage* page = nullptr;
    korvala::test::TTempTree tree;
    std::string folder;
};
