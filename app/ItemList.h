#pragma once
// The item list shared by most tools: an ordered list of file and folder paths
// with its counter label. Entries are paths as bytes; the list shows them
// decoded and keeps the original bytes, so names that are not valid UTF-8
// survive. Two entries are the same path when they are equal without regard
// to letter case (no normalisation: "a/" and "a" differ).

#include <string>
#include <vector>

#include <QHash>
#include <QListWidget>
#include <QString>

class QLabel;
class QPushButton;

class TItemList : public QListWidget {
    Q_OBJECT

public:
    // The item data role that holds an entry's path bytes (QByteArray).
    static constexpr int PathRole = Qt::UserRole + 1;

    explicit TItemList(const QString& objectName, QWidget* parent = nullptr,
        QAbstractItemView::SelectionMode mode = QAbstractItemView::ExtendedSelection);
    ~TItemList() override;

    // The counter label that UpdateCounter rewrites ("Total Items : N").
    void setCounter(QLabel* counter) { m_counter = counter; }
    QLabel* counter() const { return m_counter; }

    // True when an entry equals path without regard to letter case.
    bool containsPath(const std::string& path) const;
    // Appends path unless the list holds it already; true when appended.
    // The counter is not touched: callers refresh it once after a batch.
    bool addPath(const std::string& path);
    // Appends path without the duplicate test (the "Add Folder" buttons).
    void appendPath(const std::string& path);

    std::string pathAt(int row) const;
    std::vector<std::string> paths() const;
    // The current entry's path, empty when there is none.
    std::string currentPath() const;
    // Rows of the selected entries, ascending.
    std::vector<int> selectedRows() const;

    // Deletes the selected entries (when any) and refreshes the counter.
    void removeSelected();
    // Empties the list and refreshes the counter.
    void removeAll();
    // Counter text := "Total Items : " + number of entries.
    void UpdateCounter();

    // The key under which the duplicate test compares a path.
    static QString duplicateKey(const std::string& path);

signals:
    // The context menu was asked for at globalPos (the window's ListPop decides).
    void contextMenuWanted(TItemList* list, const QPoint& globalPos);

protected:
    // A right press or release leaves the selection and the current entry as
    // they are: the context menu acts on what was selected before.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void countKeys(int first, int last, int delta);
    void rebuildKeys();

    QLabel* m_counter = nullptr;
    // How many entries have each duplicate key; kept in step with the model,
    // whoever changes it, so the duplicate test does not scan the list.
    QHash<QString, int> m_keys;
};

// The shared "Add File(s)" dialog: appends each chosen file that the list does
// not hold yet, in the dialog's order, then refreshes the counter (also when
// the dialog was cancelled).
void AddFilesToList(TItemList& list, QWidget* parent);
// The folder chooser titled "Select Directory"; empty when cancelled.
std::string SelectFolder(QWidget* parent, const std::string& initialFolder = std::string());
// "Add Folder": appends the chosen folder without the duplicate test and
// refreshes the counter; cancelling changes nothing.
void AddFolderToList(TItemList& list, QWidget* parent);
// Counter text of a list.
void UpdateCounter(TItemList& list);
