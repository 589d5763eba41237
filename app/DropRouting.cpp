#include "app/DropRouting.h"

#include <QApplication>
#include <QByteArray>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include "app/ItemList.h"
#include "app/pages/AttributeChangerPage.h"
#include "app/pages/DateTimeChangerPage.h"
#include "app/pages/DuplicateFinderPage.h"
#include "app/pages/FileShredderPage.h"
#include "app/pages/FolderIconChangerPage.h"
#include "app/pages/HashPage.h"
#include "app/pages/HiddenRevealerPage.h"
#include "app/pages/ProtectorPage.h"
#include "app/pages/SeekerPage.h"
#include "app/pages/SplitterJoinerPage.h"
#include "app/pages/TakeOwnershipPage.h"
#include "platform/File.h"
#include "platform/FileAttributes.h"

namespace {

// What the active page does with a dropped item.
enum class TRoute {
    None,
    List,              // appended unless listed
    ListNoFolder,      // appended unless listed or the folder bit is set
    ListExistingFile,  // appended when an existing file and not listed
    SingleFolderIcon,  // an existing folder, else the drop ends
    BatchFolderIcon,   // appended when an existing folder and not listed
    ChecksumFile,      // the verifier's field (last item wins)
    RevealFolder,      // the folder field, when the folder bit is set
    SeekLocation,      // a new location line, when the folder bit is set
    SplitOrJoin,       // the joiner's or the splitter's field by extension
};

TRoute routeOf(const TToolPage* page)
{
    if (page == nullptr)
        return TRoute::None;
    if (qobject_cast<const TAttributeChangerPage*>(page) || qobject_cast<const TDateTimeChangerPage*>(page)
        || qobject_cast<const TProtectorPage*>(page) || qobject_cast<const TTakeOwnershipPage*>(page))
        return TRoute::List;
    if (qobject_cast<const TDuplicateFinderPage*>(page) || qobject_cast<const TFileShredderPage*>(page))
        return TRoute::ListNoFolder;
    if (const auto* icons = qobject_cast<const TFolderIconChangerPage*>(page))
        return icons->batchSubPageActive() ? TRoute::BatchFolderIcon : TRoute::SingleFolderIcon;
    if (const auto* hash = qobject_cast<const THashPage*>(page)) {
        switch (hash->activeSubPage()) {
        case THashPage::TSubPage::Generator: return TRoute::ListExistingFile;
        case THashPage::TSubPage::Verifier: return TRoute::ChecksumFile;
        case THashPage::TSubPage::Comparer: return TRoute::None;
        }
    }
    if (qobject_cast<const THiddenRevealerPage*>(page))
        return TRoute::RevealFolder;
    if (qobject_cast<const TSeekerPage*>(page))
        return TRoute::SeekLocation;
    if (qobject_cast<const TSplitterJoinerPage*>(page))
        return TRoute::SplitOrJoin;
    return TRoute::None;
}

// The pages of the tool lists whose counters every drop refreshes (with the
// Folder Icon Changer's batch list). The Hidden Revealer's result list is not
// one of them.
bool holdsToolList(const TToolPage* page)
{
    return qobject_cast<const TAttributeChangerPage*>(page) || qobject_cast<const TDateTimeChangerPage*>(page)
        || qobject_cast<const TDuplicateFinderPage*>(page) || qobject_cast<const TFileShredderPage*>(page)
        || qobject_cast<const THashPage*>(page) || qobject_cast<const TProtectorPage*>(page)
        || qobject_cast<const TTakeOwnershipPage*>(page);
}

// The folder bit as the attribute word gives it: a path whose attributes
// cannot be read has every bit set and so counts as a folder.
bool folderBit(const std::string& path)
{
    return (korvala::getFileAttributes(path) & korvala::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

korvala::TFileKind kindOf(const std::string& path)
{
    korvala::TFileStatus status;
    if (korvala::pathStatus(path, true, status))
        return korvala::TFileKind::Missing;
    return status.kind;
}

bool existingFolder(const std::string& path)
{
    return kindOf(path) == korvala::TFileKind::Directory;
}

// An existing entry that is not a folder.
bool existingFile(const std::string& path)
{
    const korvala::TFileKind kind = kindOf(path);
    return kind != korvala::TFileKind::Missing && kind != korvala::TFileKind::Directory;
}

// The extension as the joiner looks at it: from the last period on, exact case.
bool isFirstPart(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string extension = path.substr(dot);
    return extension == "._1" || extension == ".001";
}

QString text(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// One item; false when the rest of the drop is to be ignored.
bool routeItem(TToolPage* page, TRoute route, const std::string& path)
{
    switch (route) {
    case TRoute::None:
        break;
    case TRoute::List:
        page->addListItem(path);
        break;
    case TRoute::ListNoFolder:
        if (!page->itemList()->containsPath(path) && !folderBit(path))
            page->addListItem(path);
        break;
    case TRoute::ListExistingFile:
        if (existingFile(path))
            page->addListItem(path);
        break;
    case TRoute::SingleFolderIcon:
        if (!existingFolder(path))
            return false;
        static_cast<TFolderIconChangerPage*>(page)->setSingleFolder(text(path));
        break;
    case TRoute::BatchFolderIcon:
        static_cast<TFolderIconChangerPage*>(page)->addBatchFolder(path);
        break;
    case TRoute::ChecksumFile:
        static_cast<THashPage*>(page)->setChecksumFile(text(path));
        break;
    case TRoute::RevealFolder:
        if (folderBit(path))
            static_cast<THiddenRevealerPage*>(page)->setFolderToScan(text(path));
        break;
    case TRoute::SeekLocation:
        if (folderBit(path))
            static_cast<TSeekerPage*>(page)->addSearchLocation(text(path));
        break;
    case TRoute::SplitOrJoin: {
        auto* splitJoin = static_cast<TSplitterJoinerPage*>(page);
        if (isFirstPart(path))
            splitJoin->setJoinFile(text(path));
        else
            splitJoin->setSplitFile(text(path));
        break;
    }
    }
    return true;
}

}  // namespace

std::vector<std::string> droppedPaths(const QMimeData& data)
{
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile() || !(url.host().isEmpty() || url.host() == QStringLiteral("localhost")))
            continue;
        // The encoded path decoded by hand keeps bytes that are not UTF-8.
        const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (!bytes.isEmpty())
            paths.push_back(bytes.toStdString());
    }
    return paths;
}

bool pageTakesDrops(const TToolPage* page)
{
    return routeOf(page) != TRoute::None;
}

bool routeDrop(TToolPage* active, const std::vector<TToolPage*>& pages, const std::vector<std::string>& paths)
{
    const TRoute route = routeOf(active);
    for (const std::string& path : paths)
        if (!routeItem(active, route, path))
            return false;
    for (TToolPage* page : pages) {
        if (auto* icons = qobject_cast<TFolderIconChangerPage*>(page))
            icons->refreshBatchList();
        else if (holdsToolList(page))
            page->refreshListCounter();
    }
    return true;
}

void routeStartPaths(TToolPage* active, const std::vector<TToolPage*>& pages, const std::vector<std::string>& paths)
{
    if (auto* icons = qobject_cast<TFolderIconChangerPage*>(active); icons != nullptr && paths.size() > 1)
        icons->selectBatchSubPage();
    routeDrop(active, pages, paths);
}

TWindowDropTarget::TWindowDropTarget(QWidget* window, std::function<bool()> takesDrops,
    std::function<void(const std::vector<std::string>& paths)> drop)
    : QObject(window), m_window(window), m_takesDrops(std::move(takesDrops)), m_drop(std::move(drop))
{
    window->setAcceptDrops(true);
    // On the application, so that the window sees drags before any control
    // of it that takes dropped text.
    qApp->installEventFilter(this);
}

bool TWindowDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || m_window == nullptr || widget->window() != m_window)
        return false;
    auto* drag = static_cast<QDropEvent*>(event);
    if (drag->mimeData() == nullptr || !drag->mimeData()->hasUrls())
        return false;
    const std::vector<std::string> paths = droppedPaths(*drag->mimeData());
    if (paths.empty() || !m_takesDrops()) {
        drag->ignore();
        return true;
    }
    drag->setDropAction(Qt::CopyAction);
    drag->accept();
    if (type == QEvent::Drop)
        m_drop(paths);
    return true;
}
