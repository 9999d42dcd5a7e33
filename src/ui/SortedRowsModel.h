#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace merivane {

// A list of row values kept in the order its subclass's Before() gives, with one column per
// header text: the model behind a report-view list, where sorting and redrawing move
// values, never widgets.
template <typename Value>
class SortedRowsModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(HeaderTexts().size());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < HeaderTexts().size()) {
            return HeaderTexts().at(section);
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    const Value& Row(int row) const { return m_rows[static_cast<size_t>(row)]; }
    const std::vector<Value>& Rows() const { return m_rows; }

    // All rows anew, in order.
    void SetRows(std::vector<Value> rows) {
        beginResetModel();
        m_rows = std::move(rows);
        std::stable_sort(m_rows.begin(), m_rows.end(), Less());
        endResetModel();
    }

    // Replaces row `row` (adds one when it is -1) and moves it to its place among the
    // others, which are in order already; its row number then.
    int PutRow(int row, const Value& value) {
        if (row < 0 || row >= rowCount()) {
            beginInsertRows({}, rowCount(), rowCount());
            m_rows.push_back(value);
            endInsertRows();
            row = rowCount() - 1;
        } else {
            m_rows[static_cast<size_t>(row)] = value;
            Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
        }
        const auto self = m_rows.begin() + row;
        int target = row;
        if (self != m_rows.begin() && Before(value, *(self - 1))) {
            target = static_cast<int>(std::upper_bound(m_rows.begin(), self, value, Less()) - m_rows.begin());
        } else if (self + 1 != m_rows.end() && Before(*(self + 1), value)) {
            target =
                static_cast<int>(std::lower_bound(self + 1, m_rows.end(), value, Less()) - m_rows.begin()) -
                1;
        }
        if (target != row) {
            // Qt counts the destination before the move: one further down when moving down.
            beginMoveRows({}, row, row, {}, target > row ? target + 1 : target);
            Value moved = std::move(m_rows[static_cast<size_t>(row)]);
            m_rows.erase(m_rows.begin() + row);
            m_rows.insert(m_rows.begin() + target, std::move(moved));
            endMoveRows();
        }
        return target;
    }

    void RemoveRowAt(int row) {
        if (row < 0 || row >= rowCount()) {
            return;
        }
        beginRemoveRows({}, row, row);
        m_rows.erase(m_rows.begin() + row);
        endRemoveRows();
    }

  protected:
    virtual bool Before(const Value& a, const Value& b) const = 0;
    virtual const QStringList& HeaderTexts() const = 0;

    // Sorts again after the order changed; the view's selection and current row stay on
    // their rows.
    void Resort() {
        Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<size_t> order(m_rows.size());
        for (size_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        std::stable_sort(order.begin(), order.end(),
                         [this](size_t a, size_t b) { return Before(m_rows[a], m_rows[b]); });
        std::vector<Value> sorted;
        sorted.reserve(m_rows.size());
        std::vector<int> placeOf(m_rows.size());
        for (size_t i = 0; i < order.size(); ++i) {
            sorted.push_back(std::move(m_rows[order[i]]));
            placeOf[order[i]] = static_cast<int>(i);
        }
        m_rows = std::move(sorted);
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& old : before) {
            after.push_back(old.isValid() ? index(placeOf[static_cast<size_t>(old.row())], old.column())
                                          : QModelIndex());
        }
        changePersistentIndexList(before, after);
        Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

  private:
    auto Less() const {
        return [this](const Value& a, const Value& b) { return Before(a, b); };
    }

    std::vector<Value> m_rows;
};

}  // namespace merivane
