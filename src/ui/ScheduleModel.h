#pragma once

#include "selection/ScheduleRows.h"
#include "ui/SortedRowsModel.h"

#include <QStringList>

namespace merivane {

// The list `lvwSchedule` over the catalogue: a model, so that 25,000 files cost one row
// value each and sorting moves values, not widgets.
class ScheduleModel final : public SortedRowsModel<ScheduleRow> {
  public:
    static constexpr int kColumnCount = kScheduleColumnCount;
    static constexpr int kFirstHiddenColumn = kStartHiddenColumn;
    enum Column {
        Filename = kFilenameColumn,
        Type = kTypeColumn,
        Fav = kFavColumn,
        Starts = kStartsColumn,
        Ends = kEndsColumn,
        Days = kDaysColumn,
        Override = kOverrideColumn,
        OverrideDates = kOverrideDatesColumn,
        StartHidden = kStartHiddenColumn,
        EndHidden = kEndHiddenColumn,
        FullFilenameHidden = kFullFilenameHiddenColumn
    };

    static const QStringList& Headers() { return ScheduleHeaders(); }
    // The text of one column of a row, as the list shows it.
    static QString Text(const ScheduleRow& row, int column) { return ScheduleText(row, column); }

    using SortedRowsModel::SortedRowsModel;

    QVariant data(const QModelIndex& index, int role) const override;

    // The row of the file with that full name (without regard to case); -1 when none.
    int FindRow(const QString& fullName) const;

    // Sorts by the column's sequence of keys (the hidden day counts standing in for the
    // shown dates); columns above 7 do not sort.
    void SortBy(int column, Qt::SortOrder order);
    int SortColumn() const { return m_sortColumn; }
    Qt::SortOrder SortOrder() const { return m_order; }

  protected:
    bool Before(const ScheduleRow& a, const ScheduleRow& b) const override;
    const QStringList& HeaderTexts() const override { return Headers(); }

  private:
    int m_sortColumn = Ends;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};

}  // namespace merivane
