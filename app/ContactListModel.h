#pragma once
// The main window's list: one line of text per contact, and beside it the contact's file name, so
// that Open, Copy and Save fetch the contact the line names even when its file name holds "]".

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

    // Appends the lines in one insertion; files[i] belongs to lines[i] (an empty file when the list
    // is shorter).
    void append(const QStringList& lines, const QStringList& files);
    void clear();
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
    };
    std::vector<Row> m_rows;
};
