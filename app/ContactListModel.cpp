#include "app/ContactListModel.h"

#include <QSet>

#include <algorithm>

int ContactListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return row.text;
        case FileRole: return row.file;
        default: return {};
    }
}

void ContactListModel::append(const QStringList& lines, const QStringList& files, const std::vector<CardFacts>& facts) {
    if (lines.isEmpty()) {
        return;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        m_rows.push_back(
            {lines[i], i < files.size() ? files[i] : QString(), at < facts.size() ? facts[at] : CardFacts{}});
    }
    endInsertRows();
}

void ContactListModel::clear() {
    if (m_rows.empty()) {
        return;
    }
    beginResetModel();
    m_rows = {};
    endResetModel();
}

int ContactListModel::removeFiles(const QStringList& files) {
    const QSet<QString> gone(files.begin(), files.end());
    const auto isGone = [&](const Row& row) {
        return gone.contains(row.file);
    };
    const auto removed = static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(), isGone));
    if (removed == 0) {
        return 0;
    }
    // One reset, not a removal per run of rows: a thousand scattered lines would each move the
    // rest of 100,000.
    beginResetModel();
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(), isGone), m_rows.end());
    endResetModel();
    return removed;
}

int ContactListModel::rowOf(const QString& file) const {
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].file == file) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

void ContactListModel::setText(int row, const QString& text) {
    m_rows[static_cast<std::size_t>(row)].text = text;
    emit dataChanged(index(row), index(row), {Qt::DisplayRole, Qt::EditRole});
}
