#pragma once

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeView>

#include <functional>
#include <initializer_list>

namespace merivane {

// A key of a list and the pop-up menu item it uses.
struct ListKey {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    int Item;
};

// The item the pressed key stands for; -1 when none. Only Ctrl, Alt and Shift count, so a
// key with Num Lock on is the same key.
inline int ItemForKey(const QKeyEvent& event, std::initializer_list<ListKey> keys) {
    const Qt::KeyboardModifiers mods =
        event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    for (const ListKey& key : keys) {
        if (key.Key == event.key() && key.Modifiers == mods) {
            return key.Item;
        }
    }
    return -1;
}

// A list in report view over `model`: whole rows, one at a time, read-only, its own pop-up
// menu, headers that sort when clicked (the owner sorts), and `keys` seeing its keys first.
inline QTreeView* MakeReportList(const QString& name, QAbstractItemModel* model, QObject* keys,
                                 QWidget* parent) {
    auto* list = new QTreeView(parent);
    list->setObjectName(name);
    list->setModel(model);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);  // large lists lay out without measuring each row
    list->setAlternatingRowColors(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAllColumnsShowFocus(true);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->installEventFilter(keys);
    QHeaderView* header = list->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setStretchLastSection(false);
    return list;
}

// A list's "Print List" button: it runs `print` (a member that the tab sets later; the
// button stays disabled until then).
inline QPushButton* MakePrintButton(const QString& name, const std::function<void()>& print,
                                    QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("Print List"), parent);
    button->setObjectName(name);
    button->setToolTip(QStringLiteral("Prints to the default printer"));
    button->setEnabled(false);
    QObject::connect(button, &QPushButton::clicked, parent, [&print] {
        if (print) {
            print();
        }
    });
    return button;
}

// The selected row of a one-row-at-a-time list; -1 when none.
inline int SelectedRowOf(const QTreeView& list) {
    const QModelIndexList rows = list.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

// Selects a row and makes it current; a row out of range selects none.
inline void SelectRowOf(QTreeView& list, int row) {
    QItemSelectionModel& selection = *list.selectionModel();
    if (row < 0 || row >= list.model()->rowCount()) {
        selection.clearSelection();
        selection.setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    selection.setCurrentIndex(list.model()->index(row, 0),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

}  // namespace merivane
