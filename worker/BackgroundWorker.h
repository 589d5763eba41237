#pragma once
// TBackgroundWorker runs one work procedure on a thread of its own and reports
// its end, its progress, its feedback and its requests to run code back on the
// thread that called Start (the window thread), in posting order.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>

#include <QObject>
#include <QString>

#include "platform/KorvalaError.h"

class QThread;

class EBackgroundWorker : public korvala::KorvalaError {
public:
    using korvala::KorvalaError::KorvalaError;
};

class TBackgroundWorker : public QObject {
    Q_OBJECT

public:
    enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

    using TWorkEvent = std::function<void(TBackgroundWorker& worker)>;
    using TWorkCompleteEvent = std::function<void(TBackgroundWorker& worker, bool cancelled)>;
    using TWorkProgressEvent = std::function<void(TBackgroundWorker& worker, int percentDone)>;
    using TWorkFeedbackEvent = std::function<void(TBackgroundWorker& worker, int feedbackId, int feedbackValue)>;

    // Shows an error on the window thread: used for an exception that escaped a
    // work procedure (caption "Application Error") or a handler. The application
    // installs its message box here; without one the text goes to standard error.
    using ErrorReporter = std::function<void(const QString& caption, const QString& text)>;
    static void setErrorReporter(ErrorReporter reporter);
    static void reportError(const QString& caption, const QString& text);
    // The text shown for an exception: its class and its message.
    static QString exceptionText(std::exception_ptr error);

    explicit TBackgroundWorker(const QString& name, QObject* parent = nullptr);
    // Destroying a working worker asks its work to stop, waits for its thread and
    // reports "Before closing the application, '%s' must be stopped". While it
    // waits it answers the work's pending requests without running them (a
    // waiting Synchronize raises EBackgroundWorker in the work), so a work
    // procedure blocked on the window thread cannot deadlock the destructor.
    ~TBackgroundWorker() override;

    void Start();
    bool IsWorking() const { return m_working; }
    bool Cancel();
    bool WaitFor();
    void AcceptCancellation();
    uint64_t ThreadId() const { return m_threadId.load(); }
    bool CancellationPending() const { return m_cancellationPending.load(); }
    bool Cancelled() const { return m_cancelled.load(); }

    TThreadPriority Priority = tpNormal;
    TWorkEvent OnWork;
    TWorkCompleteEvent OnWorkComplete;
    TWorkProgressEvent OnWorkProgress;
    TWorkFeedbackEvent OnWorkFeedback;

    // Senders for the work procedure (work thread only). The plain forms post and
    // return; the Wait forms return once the window thread has handled the report.
    // An exception of the window-side handler is shown on the window thread
    // (caption "Korvala") and the run goes on.
    void ReportProgress(int percentDone);
    void ReportProgressWait(int percentDone);
    void ReportFeedback(int feedbackId, int feedbackValue);
    void ReportFeedbackWait(int feedbackId, int feedbackValue);
    // Runs call on the window thread and waits for it; an exception it raises is
    // raised again here, on the work thread. Called on the window thread it runs
    // call at once; from any other thread it raises EBackgroundWorker.
    void Synchronize(const std::function<void()>& call);
    // Queues call to run on the window thread after everything posted before it.
    void Post(std::function<void()> call);

protected:
    virtual void DoWork();
    virtual void DoWorkComplete(bool cancelled);
    virtual void DoWorkProgress(int percentDone);
    virtual void DoWorkFeedback(int feedbackId, int feedbackValue);

private:
    friend class TBackgroundWorkerThread;
    void threadBody();
    void cleanUp();
    void handleCompletion(bool cancelled);
    // Posts call to this object's thread and wakes a waiting WaitFor.
    void postToOwner(std::function<void()> call);
    // Posts call and blocks the work thread until the window thread ran it. An
    // exception of call is raised again on the work thread when rethrow is
    // set, else shown on the window thread.
    void postAndWait(std::function<void()> call, bool rethrow);
    // Shows the error of a failed work procedure and returns once it was
    // closed, so the run is still working while the box is open.
    void reportWorkFailure(std::exception_ptr error);

    QThread* m_thread = nullptr;            // window thread only
    bool m_working = false;                 // window thread only
    // Set by the destructor on the window thread; read by the work thread so
    // that its requests fail at once instead of waiting.
    std::atomic<bool> m_destroying{false};
    std::atomic<bool> m_cancellationPending{false};
    std::atomic<bool> m_cancelled{false};
    std::atomic<uint64_t> m_threadId{0};

    // Counts posts, so that WaitFor sleeps until the work thread posts again.
    std::mutex m_postMutex;
    std::condition_variable m_postSignal;
    uint64_t m_postCount = 0;               // guarded by m_postMutex
};
