#pragma once
// The find's view of the contact list: only the lines that hold what was typed, case and accents
// aside (see FindFold.h). A proxy model, not hidden rows: a screen reader walks the model, so rows
// that are only hidden in the view would still be read out. Lines that arrive while a find is set
// (a listing, a Refresh) are filtered as they come.

#include <QSortFilterProxyModel>
#include <QString>

class ContactListModel;

class FindFilter final : public QSortFilterProxyModel {
    Q_OBJECT
public:
    FindFilter(ContactListModel* lines, QObject* parent);

    // Shows the lines holding typed; every line when typed is empty.
    void setTyped(const QString& typed);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    const ContactListModel* m_lines;
    QString m_needle;          // typed, folded
    mutable QString m_folded;  // one line folded; reused so a filtering pass allocates once
};
