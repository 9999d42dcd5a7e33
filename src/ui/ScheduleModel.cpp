#include "ui/ScheduleModel.h"

namespace merivane {

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

bool ScheduleModel::Before(const ScheduleRow& a, const ScheduleRow& b) const {
    return ScheduleRowBefore(a, b, m_sortColumn, m_order);
}

void ScheduleModel::SortBy(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kFirstHiddenColumn) {
        return;
    }
    m_sortColumn = column;
    m_order = order;
    Resort();
}

int ScheduleModel::FindRow(const QString& fullName) const {
    const auto& rows = Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].FullName.compare(fullName, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace merivane
