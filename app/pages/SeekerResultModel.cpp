#include "app/pages/SeekerResultModel.h"

#include <algorithm>
#include <numeric>

#include <QByteArray>
#include <QFile>

#include "platform/FileAttributes.h"
#include "search/SeekerRow.h"
#include "platform/TextFold.h"

namespace {

const char* const kHeaders[TSeekerResultModel::ColumnCount] = {
    "Name", "Size (KB)", "Attribute", "Date Modified", "Location"};

QString fromBytes(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A byte string whose plain byte order is the order of the text without regard
// to case: the folded code points in UTF-8 (whose byte order is code point
// order). Undecodable bytes come back as themselves.
std::string foldKey(const std::string& text)
{
    std::string key;
    if (korvala::isAsciiText(text)) {
        key = text;
        for (char& c : key)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return key;
    }
    key.reserve(text.size());
    for (char32_t c : korvala::foldedCodePoints(text)) {
        if (c >= 0xDC80 && c <= 0xDCFF)
            key += static_cast<char>(c - 0xDC00);
        else
            appendUtf8(key, c);
    }
    return key;
}

// The five attribute letters packed into one number that orders as their text.
uint64_t attributeKey(uint32_t attributes)
{
    const std::string letters = korvala::formatAttributeLetters(attributes);
    uint64_t key = 0;
    for (char c : letters)
        key = (key << 8) | static_cast<unsigned char>(c);
    return key;
}

// The folded order of two texts (negative, zero, positive).
int compareFolded(const std::string& a, const std::string& b)
{
    if (korvala::isAsciiText(a) && korvala::isAsciiText(b)) {
        const size_t n = std::min(a.size(), b.size());
        for (size_t i = 0; i < n; ++i) {
            unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
            if (x >= 'A' && x <= 'Z')
                x = static_cast<unsigned char>(x - 'A' + 'a');
            if (y >= 'A' && y <= 'Z')
                y = static_cast<unsigned char>(y - 'A' + 'a');
            if (x != y)
                return x < y ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    return foldKey(a).compare(foldKey(b));
}

// The first 16 bytes of a text's fold key as two numbers that order as those
// bytes do (missing bytes count as 0, so a shorter prefix comes first).
struct TextPrefix {
    uint64_t high = 0;
    uint64_t low = 0;
    uint32_t row = 0;  // present grid row
};

TextPrefix prefixOf(const std::string& text, uint32_t row)
{
    unsigned char bytes[16] = {};
    if (korvala::isAsciiText(text)) {
        const size_t n = std::min<size_t>(text.size(), 16);
        for (size_t i = 0; i < n; ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            bytes[i] = (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
        }
    } else {
        const std::string key = foldKey(text);
        const size_t n = std::min<size_t>(key.size(), 16);
        for (size_t i = 0; i < n; ++i)
            bytes[i] = static_cast<unsigned char>(key[i]);
    }
    TextPrefix p;
    for (int i = 0; i < 8; ++i) {
        p.high = (p.high << 8) | bytes[i];
        p.low = (p.low << 8) | bytes[8 + i];
    }
    p.row = row;
    return p;
}

// The order of texts[i] (ascending or descending), ties in present order.
// Most comparisons are settled by the 16-byte prefixes held side by side;
// only texts with equal prefixes are compared in full.
std::vector<uint32_t> orderByText(const std::vector<const std::string*>& texts, Qt::SortOrder order)
{
    std::vector<TextPrefix> keys(texts.size());
    for (uint32_t i = 0; i < texts.size(); ++i)
        keys[i] = prefixOf(*texts[i], i);
    const bool ascending = order == Qt::AscendingOrder;
    std::sort(keys.begin(), keys.end(), [&](const TextPrefix& a, const TextPrefix& b) {
        int c = 0;
        if (a.high != b.high)
            c = a.high < b.high ? -1 : 1;
        else if (a.low != b.low)
            c = a.low < b.low ? -1 : 1;
        else
            c = compareFolded(*texts[a.row], *texts[b.row]);
        if (c != 0)
            return ascending ? c < 0 : c > 0;
        return a.row < b.row;
    });
    std::vector<uint32_t> index(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        index[i] = keys[i].row;
    return index;
}

// Numeric keys sort faster as (key, row) pairs in one contiguous array.
template <typename Key>
std::vector<uint32_t> orderByNumbers(const std::vector<Key>& keys, Qt::SortOrder order)
{
    std::vector<std::pair<Key, uint32_t>> pairs(keys.size());
    for (uint32_t i = 0; i < keys.size(); ++i)
        pairs[i] = {keys[i], i};
    if (order == Qt::AscendingOrder)
        std::sort(pairs.begin(), pairs.end());
    else
        std::sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
            return b.first < a.first || (!(a.first < b.first) && a.second < b.second);
        });
    std::vector<uint32_t> index(keys.size());
    for (size_t i = 0; i < pairs.size(); ++i)
        index[i] = pairs[i].second;
    return index;
}

}  // namespace

TSeekerResultModel::TSeekerResultModel(QObject* parent) : QAbstractTableModel(parent) {}

TSeekerResultModel::SortKind TSeekerResultModel::sortKindOf(int column)
{
    switch (column) {
    case clSize: return SortKind::Number;
    case clMod: return SortKind::Date;
    default: return SortKind::Text;
    }
}

int TSeekerResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int TSeekerResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TSeekerResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return cellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && index.column() == clSize)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TSeekerResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromLatin1(kHeaders[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString TSeekerResultModel::cellText(int row, int column) const
{
    const Row& r = rowAt(row);
    switch (column) {
    case clFilename: return fromBytes(r.name);
    case clSize: return QString::fromStdString(korvala::formatSizeKilobytes(r.attributes, r.size));
    case clAttr: return QString::fromStdString(korvala::formatAttributeLetters(r.attributes));
    case clMod: return QString::fromStdString(korvala::formatGridDateTime(r.modified));
    case clLoc: return fromBytes(m_locations[r.location]);
    default: return {};
    }
}

const std::string& TSeekerResultModel::nameAt(int row) const
{
    return rowAt(row).name;
}

const std::string& TSeekerResultModel::locationAt(int row) const
{
    return m_locations[rowAt(row).location];
}

void TSeekerResultModel::appendBatch(const std::vector<korvala::TFileDetails>& batch)
{
    if (batch.empty())
        return;
    const int first = static_cast<int>(m_order.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(batch.size()) - 1);
    for (const korvala::TFileDetails& d : batch) {
        if (m_locations.empty() || m_locations.back() != d.Location)
            m_locations.push_back(d.Location);
        Row row;
        row.name = d.Name;
        row.location = static_cast<uint32_t>(m_locations.size() - 1);
        row.attributes = d.Attributes;
        row.size = d.Size;
        row.modified = d.ModifiedTime;
        m_order.push_back(static_cast<uint32_t>(m_rows.size()));
        m_rows.push_back(std::move(row));
    }
    endInsertRows();
}

void TSeekerResultModel::clear()
{
    if (m_rows.empty() && m_locations.empty())
        return;
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_order.clear();
    m_order.shrink_to_fit();
    m_locations.clear();
    m_locations.shrink_to_fit();
    endResetModel();
}

void TSeekerResultModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount || m_order.size() < 2)
        return;
    // Keys in present grid order, so that equal keys keep their order.
    const size_t n = m_order.size();
    std::vector<uint32_t> moves;
    switch (column) {
    case clSize: {
        // Folders ("Folder") before every file; files by their byte size, which
        // orders them as their kilobyte figures do.
        std::vector<int64_t> keys(n);
        for (size_t i = 0; i < n; ++i) {
            const Row& r = m_rows[m_order[i]];
            keys[i] = (r.attributes & korvala::FILE_ATTRIBUTE_DIRECTORY) ? -1 : r.size;
        }
        moves = orderByNumbers(keys, order);
        break;
    }
    case clMod: {
        std::vector<double> keys(n);
        for (size_t i = 0; i < n; ++i)
            keys[i] = m_rows[m_order[i]].modified;
        moves = orderByNumbers(keys, order);
        break;
    }
    case clAttr: {
        std::vector<uint64_t> keys(n);
        for (size_t i = 0; i < n; ++i)
            keys[i] = attributeKey(m_rows[m_order[i]].attributes);
        moves = orderByNumbers(keys, order);
        break;
    }
    case clLoc: {
        // Rank the folders once; each row then sorts by its folder's rank.
        std::vector<const std::string*> folders(m_locations.size());
        for (size_t i = 0; i < m_locations.size(); ++i)
            folders[i] = &m_locations[i];
        const std::vector<uint32_t> folderOrder = orderByText(folders, Qt::AscendingOrder);
        std::vector<uint32_t> rank(m_locations.size());
        uint32_t current = 0;
        for (size_t i = 0; i < folderOrder.size(); ++i) {
            if (i > 0 && compareFolded(m_locations[folderOrder[i]], m_locations[folderOrder[i - 1]]) != 0)
                ++current;
            rank[folderOrder[i]] = current;
        }
        std::vector<uint32_t> keys(n);
        for (size_t i = 0; i < n; ++i)
            keys[i] = rank[m_rows[m_order[i]].location];
        moves = orderByNumbers(keys, order);
        break;
    }
    default: {
        std::vector<const std::string*> names(n);
        for (size_t i = 0; i < n; ++i)
            names[i] = &m_rows[m_order[i]].name;
        moves = orderByText(names, order);
        break;
    }
    }
    applyOrder(moves);
}

void TSeekerResultModel::applyOrder(const std::vector<uint32_t>& moves)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<uint32_t> order(moves.size());
    for (size_t i = 0; i < moves.size(); ++i)
        order[i] = m_order[moves[i]];
    m_order.swap(order);

    const QModelIndexList from = persistentIndexList();
    if (!from.isEmpty()) {
        std::vector<uint32_t> newRowOf(moves.size());
        for (uint32_t i = 0; i < moves.size(); ++i)
            newRowOf[moves[i]] = i;
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& index : from)
            to.append(index.isValid() ? createIndex(static_cast<int>(newRowOf[static_cast<size_t>(index.row())]),
                                            index.column())
                                      : QModelIndex());
        changePersistentIndexList(from, to);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
