#pragma once
// TFindFileW: the search component. It owns the criteria, runs the walk on the
// caller's thread or on a TSearchThread of its own, and reports through four
// events.
//
// Threads: the component lives on the window's thread (the thread that creates
// it and calls Start). In a threaded search:
//   - OnSearchBegin / searchBegin run on the thread that called Start;
//   - OnFolderChange and OnFileMatch (plain callbacks) run on the search
//     thread, one call per folder and per match; OnFolderChange may skip the
//     folder's files or sub-folders through its TFolderIgnore argument;
//   - filesMatched (a batch of matches, in order) and folderChanged (the last
//     folder entered) are handed to the window's thread every ~50 ms or every
//     2048 matches, whichever comes first, in the order they were found; the
//     matches found before an Abort are all delivered, none found after it;
//   - OnSearchFinish / searchFinish run on the window's thread once the search
//     thread has ended, exactly once per search, also after an abort (check
//     Aborted()). searchError comes before it when the walk failed.
// Not threaded, everything runs inside Start, in the same order.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QThread>

#include "search/FileDetails.h"
#include "search/SearchCriteria.h"
#include "worker/BatchPoster.h"

namespace korvala {

class DirectoryListing;
class TFindFileW;

// The thread of a threaded search; created and freed by its component.
class TSearchThread : public QThread {
    Q_OBJECT
public:
    explicit TSearchThread(TFindFileW& owner) : m_owner(owner) {}
    // The message of an error that ended the walk, empty when none did.
    QString errorMessage() const { return m_error; }

protected:
    void run() override;

private:
    TFindFileW& m_owner;
    QString m_error;
};

class TFindFileW : public QObject {
    Q_OBJECT
public:
    using TFileMatchEvent = std::function<void(TFindFileW& sender, const TFileDetails& fileInfo)>;
    using TFolderChangeEvent =
        std::function<void(TFindFileW& sender, const std::string& folder, TFolderIgnore& ignoreFolder)>;
    using TNotifyEvent = std::function<void(TFindFileW& sender)>;

    explicit TFindFileW(QObject* parent = nullptr);
    // Destroying a busy component aborts the search and waits for its thread;
    // OnSearchFinish is not fired then.
    ~TFindFileW() override;

    // The criteria; setting them copies the given object. A running search uses
    // its own copy taken at Start, so changing these does not affect it.
    TSearchCriteria& Criteria() { return m_criteria; }
    void setCriteria(const TSearchCriteria& criteria) { m_criteria.Assign(criteria); }
    bool Threaded() const { return m_threaded; }
    void setThreaded(bool value) { m_threaded = value; }
    QThread::Priority ThreadPriority() const { return m_priority; }
    void setThreadPriority(QThread::Priority value) { m_priority = value; }

    TFileMatchEvent OnFileMatch;
    TFolderChangeEvent OnFolderChange;
    TNotifyEvent OnSearchBegin;
    TNotifyEvent OnSearchFinish;

    // Begins a search with the current criteria; does nothing while Busy.
    // Threaded: returns after OnSearchBegin; otherwise after the whole search.
    void Start();
    // While Busy, asks the search to stop; never waits.
    void Abort();
    bool Busy() const { return m_busy.load(); }
    bool Aborted() const { return m_aborted.load(); }
    // The level of the folder announced last (the root of a target is 1).
    uint16_t CurrentLevel() const { return m_level.load(); }

signals:
    void searchBegin();
    void filesMatched(const std::vector<korvala::TFileDetails>& batch);
    void folderChanged(const QString& folder);
    void searchError(const QString& message);
    void searchFinish();

protected:
    virtual void DoSearchBegin();
    virtual void DoSearchFinish();
    virtual TFolderIgnore DoFolderChange(const std::string& folder);
    virtual void DoFileMatch(const std::string& folder, DirectoryListing& listing, size_t index);
    virtual bool IsAcceptable(const std::string& folder, DirectoryListing& listing, size_t index);

private:
    friend class TSearchThread;
    class Walk;

    void runAll();
    void finish();
    void threadDone();
    // What the walk hands to the window's thread: a match, or the folder it
    // entered.
    struct Event {
        TFileDetails match;
        std::string folder;  // empty for a match
    };
    // Hands the collected events to the window's thread (or emits them at once
    // when the search runs on it): when due, or all of them when forced.
    void handOver(bool force);
    void deliver(std::vector<Event>& events);

    TSearchCriteria m_criteria;
    bool m_threaded = false;
    QThread::Priority m_priority = QThread::NormalPriority;

    // Written by the window's thread; read by the search thread.
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_aborted{false};
    std::atomic<uint16_t> m_level{0};
    bool m_destroying = false;

    // Exists only while Busy; read only by the walk.
    std::unique_ptr<TSearchCriteria> m_working;
    TSearchThread* m_thread = nullptr;

    // Created by Start; used only by the walking thread until the walk ends.
    std::unique_ptr<TBatchPoster<Event>> m_poster;
};

}  // namespace korvala

Q_DECLARE_METATYPE(korvala::TFileDetails)
Q_DECLARE_METATYPE(std::vector<korvala::TFileDetails>)
