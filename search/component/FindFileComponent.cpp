#include "search/component/FindFileComponent.h"

#include <exception>

#include <QByteArray>
#include <QFile>
#include <QMetaObject>

#include "platform/DirectoryListing.h"
#include "search/SearchWalker.h"

namespace korvala {

namespace {
constexpr size_t HandOverCount = 2048;
constexpr auto HandOverInterval = std::chrono::milliseconds(50);
}  // namespace

// The component's side of the walk.
class TFindFileW::Walk : public SearchWalkHandler {
public:
    explicit Walk(TFindFileW& owner) : m_owner(owner) {}
    TFolderIgnore folderChange(const std::string& folder) override
    {
        if (walker)
            m_owner.m_level = walker->level();
        return m_owner.DoFolderChange(folder);
    }
    bool isAcceptable(const TSearchCriteria&, const std::string& folder, DirectoryListing& listing,
        size_t index) override
    {
        return m_owner.IsAcceptable(folder, listing, index);
    }
    void fileMatch(const std::string& folder, DirectoryListing& listing, size_t index) override
    {
        m_owner.DoFileMatch(folder, listing, index);
    }
    TFindFileW& m_owner;
    const SearchWalker* walker = nullptr;
};

void TSearchThread::run()
{
    try {
        m_owner.runAll();
    } catch (const std::exception& e) {
        m_error = QString::fromUtf8(e.what());
    } catch (...) {
        m_error = QStringLiteral("Unknown error in the search thread.");
    }
    m_owner.handOver(true);
    QMetaObject::invokeMethod(&m_owner, [owner = &m_owner] { owner->threadDone(); }, Qt::QueuedConnection);
}

TFindFileW::TFindFileW(QObject* parent) : QObject(parent) {}

TFindFileW::~TFindFileW()
{
    m_destroying = true;
    if (m_busy.load()) {
        Abort();
        if (m_thread) {
            m_thread->wait();
            delete m_thread;
            m_thread = nullptr;
        }
        if (m_poster)
            m_poster->discard();
        m_poster.reset();
        m_working.reset();
        m_busy = false;
    }
}

void TFindFileW::Start()
{
    if (m_busy.load())
        return;
    m_busy = true;
    m_aborted = false;
    m_working = std::make_unique<TSearchCriteria>();
    m_working->Assign(m_criteria);
    m_poster = std::make_unique<TBatchPoster<Event>>(TBatchPoster<Event>::queuedTo(this),
        [this](std::vector<Event>& events) { deliver(events); }, HandOverInterval, HandOverCount);
    DoSearchBegin();

    if (m_threaded) {
        try {
            m_thread = new TSearchThread(*this);
            m_thread->start(m_priority);
        } catch (...) {
            delete m_thread;
            m_thread = nullptr;
            finish();
            throw;
        }
        return;
    }
    try {
        runAll();
    } catch (...) {
        handOver(true);
        finish();
        throw;
    }
    handOver(true);
    finish();
}

void TFindFileW::Abort()
{
    if (m_busy.load())
        m_aborted = true;
}

void TFindFileW::runAll()
{
    Walk handler(*this);
    SearchWalker walker(*m_working, m_aborted, handler);
    handler.walker = &walker;
    walker.runAll();
}

void TFindFileW::threadDone()
{
    if (!m_thread)
        return;
    m_thread->wait();
    const QString error = m_thread->errorMessage();
    delete m_thread;
    m_thread = nullptr;
    if (!error.isEmpty())
        emit searchError(error);
    finish();
}

void TFindFileW::finish()
{
    m_poster.reset();
    m_working.reset();
    m_busy = false;
    DoSearchFinish();
}

void TFindFileW::DoSearchBegin()
{
    if (OnSearchBegin)
        OnSearchBegin(*this);
    emit searchBegin();
}

void TFindFileW::DoSearchFinish()
{
    if (m_destroying)
        return;
    if (OnSearchFinish)
        OnSearchFinish(*this);
    emit searchFinish();
}

TFolderIgnore TFindFileW::DoFolderChange(const std::string& folder)
{
    m_poster->add({TFileDetails(), folder});
    TFolderIgnore ignore = fiNone;
    if (!m_aborted.load() && OnFolderChange)
        OnFolderChange(*this, folder, ignore);
    if (m_aborted.load())
        ignore = fiNone;
    handOver(false);
    return ignore;
}

bool TFindFileW::IsAcceptable(const std::string& folder, DirectoryListing& listing, size_t index)
{
    return !m_aborted.load() && m_working->Matches(folder, listing, index);
}

void TFindFileW::DoFileMatch(const std::string& folder, DirectoryListing& listing, size_t index)
{
    if (m_aborted.load())
        return;
    TFileDetails details = makeFileDetails(folder, listing, index);
    if (OnFileMatch)
        OnFileMatch(*this, details);
    m_poster->add({std::move(details), std::string()});
}

void TFindFileW::handOver(bool force)
{
    if (!m_poster)
        return;
    if (force)
        m_poster->flush();
    else
        m_poster->flushWhenDue();
}

void TFindFileW::deliver(std::vector<Event>& events)
{
    // Matches found before an abort still reach the window (the walk adds
    // none after it); the folder shown last is of no interest once aborted.
    std::vector<TFileDetails> matches;
    std::string folder;
    for (Event& event : events) {
        if (event.folder.empty())
            matches.push_back(std::move(event.match));
        else
            folder = std::move(event.folder);
    }
    if (!matches.empty())
        emit filesMatched(matches);
    if (!folder.empty() && !m_aborted.load())
        emit folderChanged(QFile::decodeName(QByteArray::fromStdString(folder)));
}

}  // namespace korvala
