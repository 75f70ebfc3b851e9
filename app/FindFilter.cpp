#include "app/FindFilter.h"

#include "app/ContactListModel.h"
#include "app/FindFold.h"

#include <utility>

FindFilter::FindFilter(ContactListModel* lines, QObject* parent) : QSortFilterProxyModel(parent), m_lines(lines) {
    setSourceModel(lines);
}

void FindFilter::setTyped(const QString& typed) {
    QString needle = foldedForFind(typed);
    if (needle == m_needle) {
        return;
    }
    m_needle = std::move(needle);
    // One layout change, not invalidateFilter's removal or insertion of every run of rows: with
    // 100,000 lines the view and the selection would take each run on its own, for seconds.
    invalidate();
}

bool FindFilter::filterAcceptsRow(int sourceRow, const QModelIndex& /*sourceParent*/) const {
    if (m_needle.isEmpty()) {
        return true;
    }
    foldForFind(m_lines->text(sourceRow), m_folded);
    return m_folded.contains(m_needle);
}
