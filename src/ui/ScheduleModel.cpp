#include "ui/ScheduleModel.h"

#include <algorithm>
#include <array>

namespace merivane {

const QStringList& ScheduleModel::Headers() {
    return ScheduleHeaders();
}

QString ScheduleModel::Text(const ScheduleRow& row, int column) {
    return ScheduleText(row, column);
}

int ScheduleModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ScheduleModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ScheduleModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        if (role == Qt::ToolTipRole && index.column() != Filename) {
            return {};
        }
        return Text(Row(index.row()), role == Qt::ToolTipRole ? FullFilenameHidden : index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        if (index.column() == Days) {
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        }
        if (index.column() == Fav) {
            return QVariant::fromValue(Qt::Alignment(Qt::AlignHCenter | Qt::AlignVCenter));
        }
    }
    return {};
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCount) {
        return Headers().at(section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ScheduleModel::SetRows(std::vector<ScheduleRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [this](const ScheduleRow& a, const ScheduleRow& b) { return Before(a, b); });
    endResetModel();
}

bool ScheduleModel::Before(const ScheduleRow& a, const ScheduleRow& b) const {
    return ScheduleRowBefore(a, b, m_sortColumn, m_order);
}

void ScheduleModel::SortBy(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kFirstHiddenColumn) {
        return;
    }
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<QString> names;
    names.reserve(static_cast<size_t>(before.size()));
    for (const QModelIndex& index : before) {
        names.push_back(m_rows[static_cast<size_t>(index.row())].FullName);
    }
    m_sortColumn = column;
    m_order = order;
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [this](const ScheduleRow& a, const ScheduleRow& b) { return Before(a, b); });
    // The view's selection and current row follow their files.
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        int row = FindRow(names[static_cast<size_t>(i)].toLower());
        after.push_back(row < 0 ? QModelIndex() : index(row, before[i].column()));
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ScheduleModel::UpdateRow(int row, const ScheduleRow& value) {
    if (row < 0 || row >= rowCount()) {
        return -1;
    }
    m_rows[static_cast<size_t>(row)] = value;
    Q_EMIT dataChanged(index(row, 0), index(row, kColumnCount - 1));
    // Its place among the others, which are in order already.
    auto begin = m_rows.begin();
    auto self = begin + row;
    int target = row;
    if (self != begin && Before(value, *(self - 1))) {
        target = static_cast<int>(
            std::upper_bound(begin, self, value,
                             [this](const ScheduleRow& a, const ScheduleRow& b) { return Before(a, b); }) -
            begin);
    } else if (self + 1 != m_rows.end() && Before(*(self + 1), value)) {
        target = static_cast<int>(std::lower_bound(self + 1, m_rows.end(), value,
                                                   [this](const ScheduleRow& a, const ScheduleRow& b) {
                                                       return Before(a, b);
                                                   }) -
                                  begin) -
                 1;
    }
    if (target == row) {
        return row;
    }
    // Qt counts the destination before the move: one further down when moving down.
    beginMoveRows({}, row, row, {}, target > row ? target + 1 : target);
    ScheduleRow moved = std::move(m_rows[static_cast<size_t>(row)]);
    m_rows.erase(m_rows.begin() + row);
    m_rows.insert(m_rows.begin() + target, std::move(moved));
    endMoveRows();
    return target;
}

void ScheduleModel::RemoveRowAt(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

int ScheduleModel::FindRow(const QString& lowerName) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].FullName.compare(lowerName, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace merivane
