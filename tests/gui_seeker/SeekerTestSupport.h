#pragma once
// The Seeker window tests' fixture: the main window with the Seeker page shown,
// helpers to build trees of real files, run a search by clicking SEARCH and
// read the grid's cells, and a hook that makes the search thread wait.

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "GuiFixture.h"
#include "app/pages/SeekerPage.h"
#include "app/pages/SeekerResultModel.h"
#include "platform/DateTime.h"
#include "platform/FileAttributes.h"
#include "search/component/FindFileComponent.h"

inline QString qs(const std::string& s) { return QString::fromStdString(s); }

class SeekerFixture : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        if (HasFatalFailure())
            return;
        QToolButton* tool = window->toolButton(11);
        ASSERT_NE(tool, nullptr);
        click(tool);
        page = window->page<TSeekerPage>();
        ASSERT_EQ(window->activePage(), page);
    }

    void TearDown() override
    {
        release = true;
        GuiFixture::TearDown();
    }

    // A file of `size` bytes, optionally with stored attribute bits and a
    // modification time (local).
    static std::string writeFile(const std::string& folder, const std::string& name, size_t size,
        uint32_t attributes = 0, korvala::TDateTime modified = 0)
    {
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << std::string(size, 'x');
        if (attributes) {
            EXPECT_FALSE(korvala::setFileAttributes(path, attributes)) << path;
        }
        if (modified != 0) {
            setModified(path, modified);
        }
        return path;
    }

    static void writeText(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }

    static void setModified(const std::string& path, korvala::TDateTime local)
    {
        struct timespec times[2];
        times[0].tv_nsec = UTIME_OMIT;
        times[0].tv_sec = 0;
        times[1] = korvala::localDateTimeToTimespec(local);
        EXPECT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
    }

    static std::string makeDir(const std::string& parent, const std::string& name)
    {
        const std::string path = parent + "/" + name;
        EXPECT_EQ(mkdir(path.c_str(), 0755), 0) << path;
        return path;
    }

    void setLocations(const std::vector<std::string>& lines)
    {
        QStringList text;
        for (const std::string& line : lines)
            text << qs(line);
        page->skrLoc->setPlainText(text.join(QLatin1Char('\n')));
    }

    // Clicks SEARCH and waits until the search has ended (the finish handler
    // enabled the button and shows SEARCH).
    void search()
    {
        ASSERT_EQ(page->btnSeek->text(), QStringLiteral("SEARCH"));
        click(page->btnSeek);
        waitIdle();
    }

    void waitIdle()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!page->FSeek->Busy() && page->btnSeek->isEnabled()
                && page->btnSeek->text() == QStringLiteral("SEARCH"),
            10000);
        // The finish handler runs right after the component went idle.
        QCoreApplication::processEvents();
    }

    int rows() const { return page->resultModel->rowCount(); }

    std::vector<QString> columnTexts(int column) const
    {
        std::vector<QString> out;
        for (int r = 0; r < rows(); ++r)
            out.push_back(page->nxResult->model()->index(r, column).data().toString());
        return out;
    }

    // The five cells of the row whose name is `name` (empty when none).
    std::vector<QString> rowOf(const QString& name) const
    {
        for (int r = 0; r < rows(); ++r) {
            if (page->resultModel->cellText(r, 0) == name) {
                std::vector<QString> cells;
                for (int c = 0; c < 5; ++c)
                    cells.push_back(page->nxResult->model()->index(r, c).data().toString());
                return cells;
            }
        }
        return {};
    }

    std::vector<QString> sortedNames() const
    {
        std::vector<QString> names = columnTexts(0);
        std::sort(names.begin(), names.end());
        return names;
    }

    void clickHeader(int column)
    {
        QHeaderView* header = page->nxResult->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, header->height() / 2));
    }

    // Makes the search thread slow and then wait: every match takes 60 ms
    // (so each is handed to the window on its own) and the match number
    // `gateAt` (counting from 1) waits until the test releases it or the
    // search is aborted.
    void installGate(int gateAt)
    {
        page->FSeek->OnFileMatch = [this, gateAt](korvala::TFindFileW& sender, const korvala::TFileDetails&) {
            const int n = ++matchesSeen;
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
            if (n >= gateAt) {
                gateReached = true;
                while (!release.load() && !sender.Aborted())
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                gateLeft = true;
            }
        };
    }

    TSeekerPage* page = nullptr;
    std::atomic<int> matchesSeen{0};
    std::atomic<bool> gateReached{false};
    std::atomic<bool> gateLeft{false};
    std::atomic<bool> release{false};
};
