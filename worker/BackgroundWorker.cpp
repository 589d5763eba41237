#include "worker/BackgroundWorker.h"

#include <chrono>
#include <cxxabi.h>
#include <future>
#include <iostream>
#include <memory>
#include <typeinfo>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace {

TBackgroundWorker::ErrorReporter& errorReporter()
{
    static TBackgroundWorker::ErrorReporter reporter;
    return reporter;
}

uint64_t currentThreadNumber()
{
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(QThread::currentThreadId()));
}

QThread::Priority toQtPriority(TBackgroundWorker::TThreadPriority priority)
{
    switch (priority) {
    case TBackgroundWorker::tpIdle: return QThread::IdlePriority;
    case TBackgroundWorker::tpLowest: return QThread::LowestPriority;
    case TBackgroundWorker::tpLower: return QThread::LowPriority;
    case TBackgroundWorker::tpNormal: return QThread::NormalPriority;
    case TBackgroundWorker::tpHigher: return QThread::HighPriority;
    case TBackgroundWorker::tpHighest: return QThread::HighestPriority;
    case TBackgroundWorker::tpTimeCritical: return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}

}  // namespace

class TBackgroundWorkerThread : public QThread {
public:
    explicit TBackgroundWorkerThread(TBackgroundWorker& worker) : m_worker(worker) {}

protected:
    void run() override { m_worker.threadBody(); }

private:
    TBackgroundWorker& m_worker;
};

void TBackgroundWorker::setErrorReporter(ErrorReporter reporter)
{
    errorReporter() = std::move(reporter);
}

void TBackgroundWorker::reportError(const QString& caption, const QString& text)
{
    if (errorReporter())
        errorReporter()(caption, text);
    else
        std::cerr << caption.toStdString() << ": " << text.toStdString() << '\n';
}

QString TBackgroundWorker::exceptionText(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        int status = 0;
        char* name = abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status);
        QString className = QString::fromUtf8(status == 0 && name ? name : typeid(e).name());
        std::free(name);
        const int colon = className.lastIndexOf(QLatin1String("::"));
        if (colon >= 0)
            className = className.mid(colon + 2);
        return className + QLatin1String(": ") + QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown exception");
    }
}

TBackgroundWorker::TBackgroundWorker(const QString& name, QObject* parent) : QObject(parent)
{
    setObjectName(name);
}

TBackgroundWorker::~TBackgroundWorker()
{
    if (!m_working)
        return;
    // The owner should have cancelled and waited; the thread is asked to stop
    // and waited for, since ending it without its cooperation is not safe. The
    // work may be blocked in a request to this thread: draining this object's
    // posted events answers it (see postToOwner), so the thread can end.
    m_cancellationPending = true;
    m_destroying = true;
    while (m_thread && !m_thread->wait(QDeadlineTimer(5)))
        QCoreApplication::sendPostedEvents(this, 0);
    cleanUp();
    reportError(QStringLiteral("Korvala"),
        QStringLiteral("Before closing the application, '%1' must be stopped").arg(objectName()));
}

void TBackgroundWorker::Start()
{
    if (m_working)
        throw EBackgroundWorker("The background worker named '" + objectName().toStdString() + "' is already running");
    m_cancelled = false;
    m_cancellationPending = false;
    m_working = true;
    try {
        m_thread = new TBackgroundWorkerThread(*this);
        m_thread->start(toQtPriority(Priority));
    } catch (...) {
        cleanUp();
        throw;
    }
}

bool TBackgroundWorker::Cancel()
{
    if (m_working)
        m_cancellationPending = true;
    return m_working;
}

bool TBackgroundWorker::WaitFor()
{
    while (m_working) {
        uint64_t seen;
        {
            std::lock_guard lock(m_postMutex);
            seen = m_postCount;
        }
        QCoreApplication::sendPostedEvents(this, 0);
        if (!m_working)
            break;
        std::unique_lock lock(m_postMutex);
        // The timeout only guards against a post that slipped between the two
        // reads above; normally the work thread's next post wakes us.
        m_postSignal.wait_for(lock, std::chrono::milliseconds(20), [&] { return m_postCount != seen; });
    }
    return false;
}

void TBackgroundWorker::AcceptCancellation()
{
    if (currentThreadNumber() != m_threadId.load() || m_threadId.load() == 0)
        throw EBackgroundWorker("You must call '" + objectName().toStdString() + ".AcceptCancellation' only inside the OnWork event handler");
    m_cancelled = true;
    m_cancellationPending = false;
}

void TBackgroundWorker::ReportProgress(int percentDone)
{
    postToOwner([this, percentDone] { DoWorkProgress(percentDone); });
}

void TBackgroundWorker::ReportProgressWait(int percentDone)
{
    postAndWait([this, percentDone] { DoWorkProgress(percentDone); }, false);
}

void TBackgroundWorker::ReportFeedback(int feedbackId, int feedbackValue)
{
    postToOwner([this, feedbackId, feedbackValue] { DoWorkFeedback(feedbackId, feedbackValue); });
}

void TBackgroundWorker::ReportFeedbackWait(int feedbackId, int feedbackValue)
{
    postAndWait([this, feedbackId, feedbackValue] { DoWorkFeedback(feedbackId, feedbackValue); }, false);
}

void TBackgroundWorker::Synchronize(const std::function<void()>& call)
{
    if (!call)
        return;
    const uint64_t workThread = m_threadId.load();
    if (workThread != 0 && currentThreadNumber() == workThread) {
        postAndWait(call, true);
        return;
    }
    // Only the owner's thread may run the call directly; on a third thread it
    // would touch the window from the wrong thread.
    if (QThread::currentThread() != thread())
        throw EBackgroundWorker("You must call '" + objectName().toStdString()
            + ".Synchronize' only inside the OnWork event handler or on the thread that started it");
    call();
}

void TBackgroundWorker::Post(std::function<void()> call)
{
    postToOwner(std::move(call));
}

void TBackgroundWorker::DoWork()
{
    if (OnWork)
        OnWork(*this);
}

void TBackgroundWorker::DoWorkComplete(bool cancelled)
{
    if (OnWorkComplete)
        OnWorkComplete(*this, cancelled);
}

void TBackgroundWorker::DoWorkProgress(int percentDone)
{
    if (OnWorkProgress)
        OnWorkProgress(*this, percentDone);
}

void TBackgroundWorker::DoWorkFeedback(int feedbackId, int feedbackValue)
{
    if (OnWorkFeedback)
        OnWorkFeedback(*this, feedbackId, feedbackValue);
}

void TBackgroundWorker::threadBody()
{
    m_threadId = currentThreadNumber();
    try {
        DoWork();
    } catch (...) {
        AcceptCancellation();
        reportWorkFailure(std::current_exception());
    }
    const bool cancelled = m_cancelled.load();
    postToOwner([this, cancelled] { handleCompletion(cancelled); });
}

void TBackgroundWorker::cleanUp()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
    }
    m_threadId = 0;
    m_working = false;
}

void TBackgroundWorker::handleCompletion(bool cancelled)
{
    cleanUp();
    DoWorkComplete(cancelled);
}

void TBackgroundWorker::reportWorkFailure(std::exception_ptr error)
{
    const QString text = exceptionText(error);
    try {
        postAndWait([text] { reportError(QStringLiteral("Application Error"), text); }, false);
    } catch (const EBackgroundWorker&) {
        // The worker is being destroyed: nobody is left to read the box.
    }
}

void TBackgroundWorker::postToOwner(std::function<void()> call)
{
    // An exception must not cross the event loop: one that escapes a handler is
    // shown the way the application shows any handler's error. Once the worker
    // is being destroyed, posted calls are dropped: what they would update may
    // already be gone.
    QMetaObject::invokeMethod(this, [this, call = std::move(call)] {
        if (m_destroying.load())
            return;
        try {
            call();
        } catch (...) {
            reportError(QStringLiteral("Korvala"), exceptionText(std::current_exception()));
        }
    }, Qt::QueuedConnection);
    {
        std::lock_guard lock(m_postMutex);
        ++m_postCount;
    }
    m_postSignal.notify_all();
}

void TBackgroundWorker::postAndWait(std::function<void()> call, bool rethrow)
{
    const auto destroyed = [this] {
        return std::make_exception_ptr(
            EBackgroundWorker("The background worker named '" + objectName().toStdString() + "' is being destroyed"));
    };
    if (m_destroying.load())
        std::rethrow_exception(destroyed());
    // The promise is answered exactly once: by the call, or, when the worker is
    // destroyed first, by the guard that the dropped call's destruction runs.
    struct Answer {
        std::promise<void> promise;
        std::atomic<bool> given{false};
        void value()
        {
            if (!given.exchange(true))
                promise.set_value();
        }
        void error(std::exception_ptr e)
        {
            if (!given.exchange(true))
                promise.set_exception(e);
        }
    };
    auto answer = std::make_shared<Answer>();
    auto finished = answer->promise.get_future();
    struct Unanswered {
        std::shared_ptr<Answer> answer;
        std::exception_ptr error;
        ~Unanswered() { answer->error(error); }
    };
    auto guard = std::shared_ptr<Unanswered>(new Unanswered{answer, destroyed()});
    postToOwner([call = std::move(call), answer, guard, rethrow] {
        try {
            call();
            answer->value();
        } catch (...) {
            if (rethrow) {
                answer->error(std::current_exception());
            } else {
                answer->value();
                reportError(QStringLiteral("Korvala"), exceptionText(std::current_exception()));
            }
        }
    });
    guard.reset();
    finished.get();
}
