#pragma once

#include "selection/ScheduleRows.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace merivane {

// The list `lvwSchedule` over the catalogue: a model, so that 25,000 files cost one row
// value each and sorting moves values, not widgets.
class ScheduleModel final : public QAbstractTableModel {
  public:
    static constexpr int kColumnCount = 11;
    static constexpr int kFirstHiddenColumn = 8;
    enum Column {
        Filename,
        Type,
        Fav,
        Starts,
        Ends,
        Days,
        Override,
        OverrideDates,
        StartHidden,
        EndHidden,
        FullFilenameHidden
    };

    static const QStringList& Headers();
    // The text of one column of a row, as the list shows it.
    static QString Text(const ScheduleRow& row, int column);

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void SetRows(std::vector<ScheduleRow> rows);
    const ScheduleRow& Row(int row) const { return m_rows[static_cast<size_t>(row)]; }
    // Replaces a row and moves it to its place in the current order; its new row number.
    int UpdateRow(int row, const ScheduleRow& value);
    void RemoveRowAt(int row);
    // The row whose full name, lower-cased, is `lowerName`; -1 when none.
    int FindRow(const QString& lowerName) const;

    // Sorts by the column's sequence of keys (the hidden day counts standing in for the
    // shown dates); columns above 7 do not sort.
    void SortBy(int column, Qt::SortOrder order);
    int SortColumn() const { return m_sortColumn; }
    Qt::SortOrder SortOrder() const { return m_order; }

  private:
    bool Before(const ScheduleRow& a, const ScheduleRow& b) const;

    std::vector<ScheduleRow> m_rows;
    int m_sortColumn = Ends;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};

}  // namespace merivane
