#pragma once
// The find: a one-line field and its count ("N of M") in the free space left of the buttons, and
// the FindFilter the list shows. Typing narrows the list; Return in the field asks to open a line;
// Escape clears and hides the field and brings every line back, the selection kept. Nothing else in
// the window moves: the field takes space that was empty.

#include <QObject>
#include <QPersistentModelIndex>

class ContactListModel;
class FindFilter;
class QAbstractItemView;
class QLabel;
class QLineEdit;
class QWidget;

class FindBar final : public QObject {
    Q_OBJECT
public:
    // Makes the field and the count on window and puts list on the filter of lines.
    FindBar(ContactListModel* lines, QAbstractItemView* list, QWidget* window);

    // Shows the field with the focus in it, its text selected.
    void open();
    // Clears and hides the field; the focus goes back to the list. The line selected before the
    // find comes back selected when the find left none selected (it was not among the matches).
    void close();

signals:
    // Return in the field.
    void openRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCount();

    const ContactListModel* m_lines;
    QAbstractItemView* m_list;
    FindFilter* m_filter;
    QLineEdit* m_txtFind;
    QLabel* m_lblFindCount;
    QPersistentModelIndex m_selectedBeforeFind;  // a line of m_lines, not of the filter
};
