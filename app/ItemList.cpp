#include "app/ItemList.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Glyphs.h"

TItemList::TItemList(const QString& objectName, QWidget* parent, QAbstractItemView::SelectionMode mode)
    : QListWidget(parent)
{
    setObjectName(objectName);
    setSelectionMode(mode);
    setUniformItemSizes(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { emit contextMenuWanted(this, viewport()->mapToGlobal(pos)); });
    connect(model(), &QAbstractItemModel::rowsInserted, this,
        [this](const QModelIndex&, int first, int last) { countKeys(first, last, +1); });
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [this](const QModelIndex&, int first, int last) { countKeys(first, last, -1); });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { rebuildKeys(); });
    connect(model(), &QAbstractItemModel::dataChanged, this, [this] { rebuildKeys(); });
}

TItemList::~TItemList()
{
    // The base class empties the model after our members are gone; the key
    // counting must not see that.
    disconnect(model(), nullptr, this, nullptr);
}

QString TItemList::duplicateKey(const std::string& path)
{
    const QByteArray bytes = QByteArray::fromStdString(path);
    // Names that are not UTF-8 compare by their bytes: decoding would merge
    // different names into the same replacement characters.
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes)
        return QStringLiteral("\x01") + QString::fromLatin1(bytes);
    return text.toCaseFolded();
}

void TItemList::countKeys(int first, int last, int delta)
{
    for (int row = first; row <= last; ++row) {
        const QString key = duplicateKey(pathAt(row));
        int& n = m_keys[key];
        n += delta;
        if (n <= 0)
            m_keys.remove(key);
    }
}

void TItemList::rebuildKeys()
{
    m_keys.clear();
    countKeys(0, count() - 1, +1);
}

bool TItemList::containsPath(const std::string& path) const
{
    return m_keys.contains(duplicateKey(path));
}

bool TItemList::addPath(const std::string& path)
{
    if (containsPath(path))
        return false;
    appendPath(path);
    return true;
}

void TItemList::appendPath(const std::string& path)
{
    const QByteArray bytes = QByteArray::fromStdString(path);
    auto* item = new QListWidgetItem(QFile::decodeName(bytes));
    item->setData(PathRole, bytes);
    addItem(item);  // rowsInserted counts the key; the data is set by then
}

std::string TItemList::pathAt(int row) const
{
    const QListWidgetItem* entry = item(row);
    return entry ? entry->data(PathRole).toByteArray().toStdString() : std::string();
}

std::vector<std::string> TItemList::paths() const
{
    std::vector<std::string> result;
    result.reserve(static_cast<size_t>(count()));
    for (int row = 0; row < count(); ++row)
        result.push_back(pathAt(row));
    return result;
}

std::string TItemList::currentPath() const
{
    return currentRow() >= 0 ? pathAt(currentRow()) : std::string();
}

std::vector<int> TItemList::selectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TItemList::removeSelected()
{
    const std::vector<int> rows = selectedRows();
    // From the end, so that the remaining rows keep their numbers.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        delete takeItem(*it);
    UpdateCounter();
}

void TItemList::removeAll()
{
    clear();
    UpdateCounter();
}

void TItemList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QListWidget::mousePressEvent(event);
}

void TItemList::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void TItemList::UpdateCounter()
{
    if (m_counter)
        m_counter->setText(QStringLiteral("Total Items : %1").arg(count()));
}

void AddFilesToList(TItemList& list, QWidget* parent)
{
    // "*" rather than "*.*": here a name needs no dot, and the file dialog
    // would hide every name without one.
    const QStringList chosen = dialogs().openFiles(parent, QStringLiteral("Add File(s)"),
        QStringLiteral("All Files (*)"));
    for (const QString& file : chosen)
        list.addPath(QFile::encodeName(file).toStdString());
    list.UpdateCounter();
}

std::string SelectFolder(QWidget* parent, const std::string& initialFolder)
{
    QString start;
    if (!initialFolder.empty()) {
        const QString folder = QFile::decodeName(QByteArray::fromStdString(initialFolder));
        if (QDir(folder).exists())
            start = folder;
    }
    const QString chosen = dialogs().existingDirectory(parent, QStringLiteral("Select Directory"), start);
    if (chosen.isEmpty())
        return std::string();
    return QFile::encodeName(QDir::toNativeSeparators(chosen)).toStdString();
}

void AddFolderToList(TItemList& list, QWidget* parent)
{
    const std::string folder = SelectFolder(parent);
    if (folder.empty())
        return;
    list.appendPath(folder);
    list.UpdateCounter();
}

void UpdateCounter(TItemList& list)
{
    list.UpdateCounter();
}
