#include "app/pages/SeekerResultModel.h"

#include <QByteArray>
#include <QFile>

#include "platform/FileAttributes.h"
#include "search/SeekerRow.h"

namespace {

QString fromBytes(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// The five attribute letters packed into one number that orders as their
// text does without regard to case, like every other text column: the letters
// folded to lower case, so "_" (absent) sorts before a letter.
double attributeKey(uint32_t attributes)
{
    uint64_t key = 0;
    for (char c : korvala::formatAttributeLetters(attributes)) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        key = (key << 8) | static_cast<unsigned char>(c);
    }
    return static_cast<double>(key);
}

}  // namespace

TSeekerResultModel::TSeekerResultModel(QObject* parent)
    : TRowTableModel<TSeekerGridRow>(
          {
              {.header = QStringLiteral("Name"),
                  .text = [](const TSeekerGridRow& r) { return fromBytes(r.name); },
                  .textKey = [](const TSeekerGridRow& r) -> const std::string& { return r.name; }},
              {.header = QStringLiteral("Size (KB)"),
                  .kind = TSortKind::Number,
                  .alignment = Qt::AlignRight | Qt::AlignVCenter,
                  .text = [](const TSeekerGridRow& r) {
                      return QString::fromStdString(korvala::formatSizeKilobytes(r.attributes, r.size));
                  },
                  // Folders ("Folder") before every file; files by their byte
                  // size, which orders them as their kilobyte figures do.
                  .numberKey = [](const TSeekerGridRow& r) {
                      return (r.attributes & korvala::FILE_ATTRIBUTE_DIRECTORY) ? -1.0 : static_cast<double>(r.size);
                  }},
              {.header = QStringLiteral("Attribute"),
                  .text = [](const TSeekerGridRow& r) {
                      return QString::fromStdString(korvala::formatAttributeLetters(r.attributes));
                  },
                  .numberKey = [](const TSeekerGridRow& r) { return attributeKey(r.attributes); }},
              {.header = QStringLiteral("Date Modified"),
                  .kind = TSortKind::Date,
                  .text = [](const TSeekerGridRow& r) {
                      return QString::fromStdString(korvala::formatGridDateTime(r.modified));
                  },
                  .numberKey = [](const TSeekerGridRow& r) { return r.modified; }},
              {.header = QStringLiteral("Location"),
                  .text = [this](const TSeekerGridRow& r) { return fromBytes(m_locations[r.location]); },
                  .groupKey = [](const TSeekerGridRow& r) { return r.location; },
                  .groups = [this]() -> const std::vector<std::string>& { return m_locations; }},
          },
          parent)
{
}

TSeekerResultModel::SortKind TSeekerResultModel::sortKindOf(int column)
{
    // The kinds the column descriptors above give, for callers without a model.
    static const TSortKind kinds[ColumnCount] = {
        TSortKind::Text, TSortKind::Number, TSortKind::Text, TSortKind::Date, TSortKind::Text};
    return column >= 0 && column < ColumnCount ? kinds[column] : TSortKind::Text;
}

void TSeekerResultModel::appendBatch(const std::vector<korvala::TFileDetails>& batch)
{
    std::vector<TSeekerGridRow> rows;
    rows.reserve(batch.size());
    for (const korvala::TFileDetails& d : batch) {
        if (m_locations.empty() || m_locations.back() != d.Location)
            m_locations.push_back(d.Location);
        rows.push_back({d.Name, static_cast<uint32_t>(m_locations.size() - 1), d.Attributes, d.Size, d.ModifiedTime});
    }
    appendRows(std::move(rows));
}

void TSeekerResultModel::clear()
{
    if (empty() && m_locations.empty())
        return;
    clearRows([this] {
        m_locations.clear();
        m_locations.shrink_to_fit();
    });
}
