#include "app/ListSelection.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QItemSelectionModel>

#include <algorithm>

namespace {

// The proxies from the view's model down to the lines, in that order.
std::vector<const QAbstractProxyModel*> proxiesOf(const QAbstractItemView* list) {
    std::vector<const QAbstractProxyModel*> chain;
    for (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(list->model()); proxy != nullptr;
         proxy = qobject_cast<const QAbstractProxyModel*>(proxy->sourceModel())) {
        chain.push_back(proxy);
    }
    return chain;
}

QModelIndex toSource(QModelIndex index, const std::vector<const QAbstractProxyModel*>& chain) {
    for (const QAbstractProxyModel* proxy : chain) {
        index = proxy->mapToSource(index);
    }
    return index;
}

QModelIndex fromSource(QModelIndex index, const std::vector<const QAbstractProxyModel*>& chain) {
    for (auto proxy = chain.rbegin(); proxy != chain.rend(); ++proxy) {
        index = (*proxy)->mapFromSource(index);
    }
    return index;
}

const QAbstractItemModel* linesOf(const QAbstractItemView* list, const std::vector<const QAbstractProxyModel*>& chain) {
    return chain.empty() ? list->model() : chain.back()->sourceModel();
}

}  // namespace

std::vector<int> selectedSourceRows(const QAbstractItemView* list) {
    std::vector<int> rows;
    const QItemSelectionModel* selection = list->selectionModel();
    if (selection == nullptr) {
        return rows;
    }
    const std::vector<const QAbstractProxyModel*> chain = proxiesOf(list);
    for (const QItemSelectionRange& range : selection->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            const QModelIndex source = toSource(list->model()->index(row, 0), chain);
            if (source.isValid()) {
                rows.push_back(source.row());
            }
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int selectSourceRows(QAbstractItemView* list, const std::vector<int>& rows) {
    const std::vector<const QAbstractProxyModel*> chain = proxiesOf(list);
    const QAbstractItemModel* lines = linesOf(list, chain);
    std::vector<int> shown;
    for (const int row : rows) {
        const QModelIndex viewIndex = fromSource(lines->index(row, 0), chain);
        if (viewIndex.isValid()) {
            shown.push_back(viewIndex.row());
        }
    }
    if (shown.empty()) {
        return 0;  // the selection the user had stays
    }
    std::sort(shown.begin(), shown.end());
    // Runs of neighbouring rows as one range each: 50,000 copies in a row are one range, not 50,000.
    QItemSelection selection;
    for (std::size_t i = 0; i < shown.size();) {
        std::size_t end = i + 1;
        while (end < shown.size() && shown[end] == shown[end - 1] + 1) {
            ++end;
        }
        selection.select(list->model()->index(shown[i], 0), list->model()->index(shown[end - 1], 0));
        i = end;
    }
    QItemSelectionModel* model = list->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect);
    const QModelIndex first = list->model()->index(shown.front(), 0);
    model->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    list->scrollTo(first);
    return static_cast<int>(shown.size());
}
