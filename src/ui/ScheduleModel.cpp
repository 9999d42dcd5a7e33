#include "ui/ScheduleModel.h"

#include "settings/DateText.h"

#include <algorithm>
#include <array>

namespace merivane {

namespace {
constexpr int kAnyDay = 999;

// The keys each header sorts by, in turn, the last one deciding.
const std::array<std::vector<int>, 8> kSortKeys = {{
    {ScheduleModel::Type, ScheduleModel::Filename},
    {ScheduleModel::Filename, ScheduleModel::Type},
    {ScheduleModel::Filename, ScheduleModel::Fav},
    {ScheduleModel::Filename, ScheduleModel::Days, ScheduleModel::StartHidden},
    {ScheduleModel::Filename, ScheduleModel::EndHidden},
    {ScheduleModel::Filename, ScheduleModel::Days},
    {ScheduleModel::Filename, ScheduleModel::Override},
    {ScheduleModel::Filename, ScheduleModel::OverrideDates},
}};

// The days column compares as its text does ("   0" first, " All" after every count).
int DaysKey(std::int16_t days) {
    if (days < 1) {
        return 0;
    }
    return days >= kAnyDay ? kAnyDay + 1 : days;
}

int OverrideKey(const ScheduleRow& row) {
    if (row.OverrideText.isEmpty()) {
        return 0;
    }
    return row.Priority == 1 ? 2 : 1;  // "Exclusive" before "Priority"
}

template <typename T>
int Compare(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareBy(const ScheduleRow& a, const ScheduleRow& b, int column) {
    switch (column) {
        case ScheduleModel::Filename:
            return a.Name.compare(b.Name, Qt::CaseInsensitive);
        case ScheduleModel::Type:
            return Compare(!a.IsTheme, !b.IsTheme);
        case ScheduleModel::Fav:
            return Compare(a.IsFavorite, b.IsFavorite);
        case ScheduleModel::Days:
            return Compare(DaysKey(a.DaysShown), DaysKey(b.DaysShown));
        case ScheduleModel::Override:
            return Compare(OverrideKey(a), OverrideKey(b));
        case ScheduleModel::OverrideDates:
            return a.OverrideText.compare(b.OverrideText, Qt::CaseInsensitive);
        case ScheduleModel::StartHidden:
            return Compare(static_cast<qint64>(WholeDays(a.StartDate)),
                           static_cast<qint64>(WholeDays(b.StartDate)));
        case ScheduleModel::EndHidden:
            return Compare(static_cast<qint64>(WholeDays(a.EndDate)),
                           static_cast<qint64>(WholeDays(b.EndDate)));
        default:
            return 0;
    }
}
}  // namespace

void ScheduleRow::Fill(const FileEntry& entry) {
    FullName = entry.FileName;
    IsTheme = entry.IsTheme;
    IsFavorite = entry.IsFavorite;
    StartDate = entry.StartDate;
    EndDate = entry.EndDate;
    DaysShown = entry.DaysShown;
    Priority = entry.Priority;
    OverrideText = entry.OverrideText;
}

const QStringList& ScheduleModel::Headers() {
    static const QStringList headers = {QStringLiteral("Filename"),
                                        QStringLiteral("Type"),
                                        QStringLiteral("Fav"),
                                        QStringLiteral("Starts"),
                                        QStringLiteral("Ends"),
                                        QStringLiteral("Days"),
                                        QStringLiteral("Override"),
                                        QStringLiteral("Override Date(s)"),
                                        QStringLiteral("StartHidden"),
                                        QStringLiteral("EndHidden"),
                                        QStringLiteral("FullFilenameHidden")};
    return headers;
}

QString ScheduleModel::Text(const ScheduleRow& row, int column) {
    const bool never = row.DaysShown < 1;
    const bool any = row.DaysShown >= kAnyDay;
    switch (column) {
        case Filename:
            return row.Name;
        case Type:
            return row.IsTheme ? QStringLiteral("Theme") : QStringLiteral("Wallpaper");
        case Fav:
            return row.IsFavorite ? QStringLiteral("Y") : QString();
        case Starts:
        case Ends:
            if (never) {
                return QStringLiteral("Never");
            }
            if (any) {
                return QStringLiteral("Any day");
            }
            return MediumDateText(column == Starts ? row.StartDate : row.EndDate);
        case Days:
            if (never) {
                return QStringLiteral("   0");
            }
            if (any) {
                return QStringLiteral(" All");
            }
            return QString::number(row.DaysShown).rightJustified(4, u' ');
        case Override:
            if (row.OverrideText.isEmpty()) {
                return QString();
            }
            return row.Priority == 1 ? QStringLiteral("Priority") : QStringLiteral("Exclusive");
        case OverrideDates:
            return row.OverrideText;
        case StartHidden:
            return QString::number(static_cast<qint64>(WholeDays(row.StartDate)));
        case EndHidden:
            return QString::number(static_cast<qint64>(WholeDays(row.EndDate)));
        case FullFilenameHidden:
            return row.FullName;
        default:
            return QString();
    }
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
    const std::vector<int>& keys = kSortKeys[static_cast<size_t>(m_sortColumn)];
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        int order = CompareBy(a, b, *key);
        if (order != 0) {
            return m_order == Qt::AscendingOrder ? order < 0 : order > 0;
        }
    }
    return false;
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
