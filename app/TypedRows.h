#pragma once
// The editor's list of emails or of phones: one row per entry, its type (an editable list of the
// usual ones) beside its value and a button that removes it, and a button below that adds one.
// Each control is named for a screen reader after the list and the entry's number ("Email 2",
// "Email 2 type"). The entries keep the origin they were read with (contacts/ContactFields.h), so
// the editor rewrites the line each came from.

#include "contacts/ContactFields.h"

#include <QStringList>
#include <QWidget>

#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

class TypedRows final : public QWidget {
    Q_OBJECT
public:
    // name: what an entry is called ("Email"); objectPrefix: the controls' objectName start
    // ("txtEmail"); types: the choices offered.
    TypedRows(const QString& name, const QString& objectPrefix, const QStringList& types, QWidget* parent = nullptr);

    void setEntries(const std::vector<TypedValue>& entries);
    std::vector<TypedValue> entries() const;
    // Adds an empty entry and puts the focus in its value.
    void addEntry();

signals:
    void edited();

private:
    struct Row {
        QWidget* box;
        QComboBox* type;
        QLineEdit* value;
        QPushButton* remove;
        int origin;
    };
    void appendRow(const TypedValue& entry);
    void removeRow(QWidget* box);
    void renameRows();

    QString m_name;
    QString m_objectPrefix;
    QStringList m_types;
    QVBoxLayout* m_rowsLayout;
    QPushButton* m_add;
    std::vector<Row> m_rows;
};
