#include "app/TypedRows.h"

#include "app/AppTexts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TypedRows::TypedRows(const QString& name, const QString& objectPrefix, const QStringList& types, QWidget* parent)
    : QWidget(parent),
      m_name(name),
      m_objectPrefix(objectPrefix),
      m_types(types),
      m_rowsLayout(new QVBoxLayout),
      m_add(new QPushButton(kAddEntry.arg(name), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_rowsLayout);
    layout->addWidget(m_add, 0, Qt::AlignLeft);
    m_add->setObjectName(QStringLiteral("cmdAdd") + objectPrefix.mid(3));
    connect(m_add, &QPushButton::clicked, this, &TypedRows::addEntry);
}

void TypedRows::setEntries(const std::vector<TypedValue>& entries) {
    for (const Row& row : m_rows) {
        delete row.box;
    }
    m_rows.clear();
    for (const TypedValue& entry : entries) {
        appendRow(entry);
    }
    renameRows();
}

std::vector<TypedValue> TypedRows::entries() const {
    std::vector<TypedValue> out;
    for (const Row& row : m_rows) {
        out.push_back({row.type->currentText().trimmed().toLower().toStdU16String(), row.value->text().toStdU16String(),
                       row.origin});
    }
    return out;
}

void TypedRows::addEntry() {
    appendRow({m_types.isEmpty() ? std::u16string() : m_types.front().toStdU16String(), {}, -1});
    renameRows();
    m_rows.back().value->setFocus();
    emit edited();
}

void TypedRows::appendRow(const TypedValue& entry) {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    Row row{box, new QComboBox(box), new QLineEdit(box), new QPushButton(kRemoveEntry, box), entry.origin};
    row.type->setEditable(true);
    row.type->setInsertPolicy(QComboBox::NoInsert);
    row.type->addItems(m_types);
    row.type->setCurrentText(QString::fromStdU16String(entry.type));
    row.value->setText(QString::fromStdU16String(entry.value));
    layout->addWidget(row.type);
    layout->addWidget(row.value, 1);
    layout->addWidget(row.remove);
    m_rowsLayout->addWidget(box);
    connect(row.type, &QComboBox::currentTextChanged, this, &TypedRows::edited);
    connect(row.value, &QLineEdit::textEdited, this, &TypedRows::edited);
    connect(row.remove, &QPushButton::clicked, this, [this, box] { removeRow(box); });
    m_rows.push_back(row);
}

void TypedRows::removeRow(QWidget* box) {
    const auto found = std::find_if(m_rows.begin(), m_rows.end(), [box](const Row& row) { return row.box == box; });
    if (found == m_rows.end()) {
        return;
    }
    const std::size_t index = static_cast<std::size_t>(found - m_rows.begin());
    m_rows.erase(found);
    box->deleteLater();
    renameRows();
    // The focus goes on to the next entry, else the one before, else Add: never lost with the row.
    QWidget* next = m_add;
    if (!m_rows.empty()) {
        next = m_rows[std::min(index, m_rows.size() - 1)].value;
    }
    next->setFocus();
    emit edited();
}

void TypedRows::renameRows() {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const QString number = QString::number(i + 1);
        const QString name = m_name + QLatin1Char(' ') + number;
        m_rows[i].value->setObjectName(m_objectPrefix + number);
        m_rows[i].value->setAccessibleName(name);
        m_rows[i].type->setObjectName(m_objectPrefix + number + QStringLiteral("Type"));
        m_rows[i].type->setAccessibleName(kEntryType.arg(name));
        m_rows[i].type->lineEdit()->setAccessibleName(kEntryType.arg(name));
        m_rows[i].remove->setObjectName(m_objectPrefix + number + QStringLiteral("Remove"));
        m_rows[i].remove->setAccessibleName(kRemoveNamed.arg(name));
    }
}
