#include "app/ContactListModel.h"

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

void ContactListModel::append(const QStringList& lines, const QStringList& files) {
    if (lines.isEmpty()) {
        return;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        m_rows.push_back({lines[i], i < files.size() ? files[i] : QString()});
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
