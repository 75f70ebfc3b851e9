#pragma once
// The lines selected in the main window's list, as rows of the lines themselves (ContactListModel),
// whatever proxies (the find's filter, a sort) stand between them and the view. Only lines the
// view shows can be selected: a line a find hides is never among them.

#include <vector>

class QAbstractItemView;

// The selected lines' rows in the lines' own order.
std::vector<int> selectedSourceRows(const QAbstractItemView* list);

// Selects exactly those of rows the view shows, in one change, the first of them made current and
// scrolled to; answers how many that is. With none shown the selection stays as it was.
int selectSourceRows(QAbstractItemView* list, const std::vector<int>& rows);
