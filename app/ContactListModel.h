#pragma once
// The main window's list: one line of text per contact, and beside it the contact's file name, so
// that Open, Copy and Save fetch the contact the line names even when its file name holds "]".

#include "contacts/CardDigest.h"

#include <QAbstractListModel>
#include <QString>
#include <QStringList>

#include <vector>

class ContactListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    // data(FileRole) answers the line's file name.
    static constexpr int FileRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Appends the lines in one insertion; files[i] and facts[i] belong to lines[i] (an empty file,
    // no facts, when a list is shorter).
    void append(const QStringList& lines, const QStringList& files, const std::vector<CardFacts>& facts = {});
    void clear();
    // Removes every row whose file is among files, in one change; answers how many went.
    int removeFiles(const QStringList& files);
    const QString& file(int row) const { return m_rows[static_cast<std::size_t>(row)].file; }
    // What the row keeps of its card, for a delete and for Select Duplicates.
    const CardFacts& facts(int row) const { return m_rows[static_cast<std::size_t>(row)].facts; }
    // The first row whose file is file; -1 when none is.
    int rowOf(const QString& file) const;
    // Gives the row (0 <= row < rowCount()) new text; the selection stays on it.
    void setText(int row, const QString& text);
    // The text of a row (0 <= row < rowCount()), without a QVariant: the find reads every row on
    // each keystroke.
    const QString& text(int row) const { return m_rows[static_cast<std::size_t>(row)].text; }

private:
    struct Row {
        QString text;
        QString file;
        CardFacts facts;
    };
    std::vector<Row> m_rows;
};
