#pragma once
// The main window's twelve actions, each on the desktop's standard key, and the list's context
// menu that holds them in this order: Open (Return), Edit (Ctrl+E), New Contact (Ctrl+N), Copy,
// Save As, Paste, Import, Find, Refresh, then Delete (Delete), Undo Delete (Ctrl+Z) and Select
// Duplicates. The menu opens on a right click, the Menu key and Shift+F10 over the list. Every key
// but Return and Delete works wherever the focus is in the window; inside a text field Copy, Paste
// and Undo stay the field's own.
//
// The actions only say what was asked: the window decides whether it can be done now.

#include <QObject>

class QAbstractItemView;
class QAction;
class QMenu;
class QPoint;
class QWidget;

class ListActions final : public QObject {
    Q_OBJECT
public:
    ListActions(QWidget* window, QAbstractItemView* list);

    // Enables what can be done: nothing that starts an operation while one runs, nothing that needs
    // a line without a selected one (Open: the current line selected; the others: any line),
    // no Undo Delete with nothing deleted to bring back.
    struct State {
        bool busy = false;
        bool currentSelected = false;
        bool anySelected = false;
        bool undoable = false;
    };
    void update(const State& state);

    QAction* open() const { return m_open; }
    QAction* edit() const { return m_edit; }
    QAction* newContact() const { return m_new; }
    QAction* copy() const { return m_copy; }
    QAction* save() const { return m_save; }
    QAction* paste() const { return m_paste; }
    QAction* import() const { return m_import; }
    QAction* find() const { return m_find; }
    QAction* refresh() const { return m_refresh; }
    QAction* remove() const { return m_delete; }
    QAction* undo() const { return m_undo; }
    QAction* selectDuplicates() const { return m_duplicates; }

private:
    QAction* makeAction(QWidget* window, const char* name, const QString& text);
    // Pops the menu up at pos in the list's viewport, or below the current line for a key.
    void popUp(const QPoint& pos);
    void popUpAtCurrentLine();

    QAbstractItemView* m_list;
    QMenu* m_menu;
    QAction* m_open;
    QAction* m_edit;
    QAction* m_new;
    QAction* m_copy;
    QAction* m_save;
    QAction* m_paste;
    QAction* m_import;
    QAction* m_find;
    QAction* m_refresh;
    QAction* m_delete;
    QAction* m_undo;
    QAction* m_duplicates;
};
