#include "ui/FilesTab.h"

#include "app/Program.h"
#include "apply/ApplyDriver.h"
#include "apply/Effects.h"
#include "apply/ThemeValues.h"
#include "apply/WallpaperTheme.h"
#include "calendar/Matching.h"
#include "calendar/Overrides.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "selection/Candidates.h"
#include "selection/Catalogue.h"
#include "ui/ListViews.h"
#include "ui/WaitCursor.h"
#include "ui/frmOverride.h"

#include <QAction>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace merivane {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

struct MenuItemSpec {
    int Index;
    const char* Caption;
    QKeySequence Shortcut;
};
}  // namespace

FilesTab::FilesTab(Program& program, QWidget* parent) : QFrame(parent), m_program(program) {
    setObjectName(QStringLiteral("fraTab(1)"));
    auto* layout = new QVBoxLayout(this);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblScheduleCount"));
    m_count->setToolTip(
        QStringLiteral("This file listing can be changed by clicking the SETTINGS tab and changing "
                       "the Themes and Wallpaper folders."));
    layout->addWidget(m_count);

    m_list = MakeReportList(QStringLiteral("lvwSchedule"), &m_model, this, this);
    QHeaderView* header = m_list->header();
    header->setSortIndicator(m_model.SortColumn(), m_model.SortOrder());
    header->setSectionResizeMode(QHeaderView::Interactive);
    const QFontMetrics metrics(font());
    const int dateWidth = metrics.horizontalAdvance(QStringLiteral("00-Mmm-00")) + 20;
    const std::array<int, 8> widths = {
        metrics.horizontalAdvance(QStringLiteral("Christmas Classic/Christmas Snow.theme")),
        metrics.horizontalAdvance(QStringLiteral("Wallpaper")) + 20,
        metrics.horizontalAdvance(QStringLiteral("Fav")) + 24,
        dateWidth,
        dateWidth,
        metrics.horizontalAdvance(QStringLiteral("Days")) + 28,
        metrics.horizontalAdvance(QStringLiteral("Exclusive")) + 20,
        metrics.horizontalAdvance(QStringLiteral("Override Date(s)")) + 20};
    for (int column = 0; column < static_cast<int>(widths.size()); ++column) {
        header->resizeSection(column, widths[static_cast<size_t>(column)]);
    }
    for (int column = ScheduleModel::kFirstHiddenColumn; column < ScheduleModel::kColumnCount; ++column) {
        m_list->setColumnHidden(column, true);
    }
    QObject::connect(header, &QHeaderView::sectionClicked, this,
                     [this](int column) { SortByColumn(column); });
    // The header's own indicator follows only the order that SortByColumn sets.
    QObject::connect(header, &QHeaderView::sortIndicatorChanged, this, [this, header](int, Qt::SortOrder) {
        const QSignalBlocker block(header);
        header->setSortIndicator(m_model.SortColumn(), m_model.SortOrder());
    });
    QObject::connect(m_list, &QTreeView::customContextMenuRequested, this,
                     [this](const QPoint& pos) { ShowSchedulePopup(m_list->viewport()->mapToGlobal(pos)); });
    QObject::connect(m_list, &QTreeView::doubleClicked, this,
                     [this](const QModelIndex&) { ShowOverrideDialog(); });
    layout->addWidget(m_list, 1);

    m_dateWrong = new QLabel(
        QStringLiteral(
            "Are some dates wrong?   You can fix them by right clicking a filename above, then do one "
            "of two things:  1) Rename the file so that it contains the holiday name, or 2) Override "
            "the date info "),
        this);
    m_dateWrong->setObjectName(QStringLiteral("lblDateWrong"));
    m_dateWrong->setToolTip(QStringLiteral("To hide this message, double click this box."));
    m_dateWrong->setWordWrap(true);
    m_dateWrong->setFrameShape(QFrame::StyledPanel);
    m_dateWrong->installEventFilter(this);
    layout->addWidget(m_dateWrong);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_print = MakePrintButton(QStringLiteral("cmdPrintSchedule"), m_printHandler, this);
    buttons->addWidget(m_print);
    layout->addLayout(buttons);

    m_popup = new QMenu(QStringLiteral("Theme Options"), this);
    m_popup->setObjectName(QStringLiteral("mnuSchedulePopup"));
    const MenuItemSpec items[] = {
        {kOverride, "&Override Date Info", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {kRename, "&Rename FIle", QKeySequence(Qt::CTRL | Qt::Key_R)},
        {kFavorite, "&Favorite Mark/Unmark", {}},
        {3, "-", {}},
        {kApply, "&Apply to Desktop", QKeySequence(Qt::CTRL | Qt::Key_A)},
        {kViewEdit, "&View/Edit Theme", QKeySequence(Qt::CTRL | Qt::Key_V)},
        {kPrintInfo, "&Print Theme Info", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {7, "-", {}},
        {kExplore, "E&xplore Folder", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {kDelete, "&Delete Theme/Wallpaper", QKeySequence(Qt::Key_Delete)},
        {kEditText, "Edit Theme &Text", QKeySequence(Qt::CTRL | Qt::Key_T)},
        {kRefresh, "Re&fresh List", QKeySequence(Qt::Key_F5)},
    };
    for (const MenuItemSpec& item : items) {
        QAction* action = QString::fromLatin1(item.Caption) == QLatin1String("-")
                              ? m_popup->addSeparator()
                              : m_popup->addAction(QString::fromLatin1(item.Caption));
        action->setObjectName(QStringLiteral("mnuSchedulePopup(%1)").arg(item.Index));
        if (!item.Shortcut.isEmpty()) {
            action->setShortcut(item.Shortcut);
            // The list handles the keys itself (only while the item can be used); the
            // menu shows them.
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        const int index = item.Index;
        QObject::connect(action, &QAction::triggered, this, [this, index] { MenuCommand(index); });
        m_items[index] = action;
    }
    m_items[kPrintInfo]->setVisible(false);
    m_popup->setDefaultAction(m_items[kOverride]);

    OpenOverrideDialog = [this] { ShowOverrideDialog(); };
}

QAction* FilesTab::Action(int index) const {
    auto it = m_items.find(index);
    return it == m_items.end() ? nullptr : it->second;
}

void FilesTab::SetPrintHandler(std::function<void()> print) {
    m_printHandler = std::move(print);
    m_print->setEnabled(static_cast<bool>(m_printHandler));
}

void FilesTab::SetFavoriteCaption(const QString& caption) {
    m_items[kFavorite]->setText(caption);
}

int FilesTab::SelectedRow() const {
    return SelectedRowOf(*m_list);
}

void FilesTab::SelectRow(int row) {
    SelectRowOf(*m_list, row);
}

void FilesTab::ScrollToSelected() {
    const int row = SelectedRow();
    if (row >= 0) {
        m_list->scrollTo(m_model.index(row, 0));
    }
}

void FilesTab::LoadScheduleFrame(const QString& filenameToSelect) {
    WaitCursor wait;
    BuildCatalogue(m_program, true);
    QString select = filenameToSelect.trimmed();
    if (select.isEmpty()) {
        const int row = SelectedRow();
        if (row >= 0) {
            select = m_model.Row(row).FullName;
        }
    }
    m_model.SetRows(ScheduleRowsOf(m_program.Catalogue, m_program.Setup));
    SelectRow(select.isEmpty() ? -1 : m_model.FindRow(select));
    if (m_program.Setup.KeepRowVisible) {
        ScrollToSelected();
    }
    const auto count = m_program.Catalogue.size();
    if (count == 0) {
        m_count->setText(QStringLiteral("No files.  Please set up the Themes/Wallpaper folders."));
    } else if (count == 1) {
        m_count->setText(QStringLiteral("1 file found.  You need to use more themes/wallpapers."));
    } else {
        m_count->setText(QStringLiteral("These %1 files shown below will be used:").arg(count));
    }
}

void FilesTab::FillScheduleRow(int themePos, int row) {
    if (themePos < 0 || themePos >= static_cast<int>(m_program.Catalogue.size()) || row < 0 ||
        row >= m_model.rowCount()) {
        return;
    }
    ScheduleRow value = m_model.Row(row);
    value.Fill(m_program.Catalogue[static_cast<size_t>(themePos)]);
    const int now = m_model.PutRow(row, value);
    SelectRow(now);
}

void FilesTab::UpdateScheduleFrame(int themePos) {
    FillScheduleRow(themePos, SelectedRow());
    if (m_program.Setup.KeepRowVisible) {
        ScrollToSelected();
    }
}

void FilesTab::SortByColumn(int column) {
    if (column < 0 || column >= ScheduleModel::kFirstHiddenColumn) {
        return;
    }
    WaitCursor wait;
    Qt::SortOrder order = Qt::AscendingOrder;
    if (column == m_model.SortColumn()) {
        order = m_model.SortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
    m_model.SortBy(column, order);
    {
        const QSignalBlocker block(m_list->header());
        m_list->header()->setSortIndicator(column, order);
    }
    if (m_program.Setup.KeepRowVisible) {
        ScrollToSelected();
    }
    m_program.ShowStatus(QStringLiteral("Files/Themes list is sorted by the \"%1\" column (%2).")
                             .arg(ScheduleModel::Headers().at(column), order == Qt::AscendingOrder
                                                                           ? QStringLiteral("ascending")
                                                                           : QStringLiteral("descending")));
}

void FilesTab::ApplyExpertMode(bool expert) {
    m_items[kDelete]->setVisible(expert);
    m_items[kEditText]->setVisible(expert);
    m_dateWrong->setVisible(!expert);
}

void FilesTab::ShowSchedulePopup(const QPoint& globalPos) {
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    const QString type = ScheduleModel::Text(m_model.Row(row), ScheduleModel::Type);
    m_program.ShowStatus(QStringLiteral("Make a selection"));
    m_items[kRename]->setText(QStringLiteral("&Rename ") + type);
    m_items[kViewEdit]->setText(QStringLiteral("&View/Edit ") + type);
    m_items[kPrintInfo]->setText(QStringLiteral("&Print ") + type);
    m_items[kDelete]->setText(QStringLiteral("&Delete ") + type);
    const QString& opener = m_program.ThemeOpenCommand;
    m_items[kViewEdit]->setEnabled(!opener.isEmpty() && opener != QLatin1String("(none)"));
    m_popup->popup(globalPos, m_items[kOverride]);
}

void FilesTab::UseItem(int index) {
    QAction* action = Action(index);
    if (action != nullptr && action->isVisible() && action->isEnabled()) {
        MenuCommand(index);
    }
}

bool FilesTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_dateWrong && event->type() == QEvent::MouseButtonDblClick) {
        m_dateWrong->hide();
        return true;
    }
    if (watched != m_list || event->type() != QEvent::KeyPress) {
        return QFrame::eventFilter(watched, event);
    }
    const int item =
        ItemForKey(*static_cast<QKeyEvent*>(event), {{Qt::Key_Space, Qt::NoModifier, kFavorite},
                                                     {Qt::Key_Delete, Qt::NoModifier, kDelete},
                                                     {Qt::Key_F5, Qt::NoModifier, kRefresh},
                                                     {Qt::Key_A, Qt::ControlModifier, kApply},
                                                     {Qt::Key_O, Qt::ControlModifier, kOverride},
                                                     {Qt::Key_R, Qt::ControlModifier, kRename},
                                                     {Qt::Key_T, Qt::ControlModifier, kEditText},
                                                     {Qt::Key_V, Qt::ControlModifier, kViewEdit},
                                                     {Qt::Key_X, Qt::ControlModifier, kExplore}});
    if (item < 0) {
        return QFrame::eventFilter(watched, event);
    }
    if (SelectedRow() >= 0 || item == kRefresh) {
        if (item == kViewEdit) {
            // The item's state is set when the menu opens; the key sees the same rule.
            const QString& opener = m_program.ThemeOpenCommand;
            m_items[kViewEdit]->setEnabled(!opener.isEmpty() && opener != QLatin1String("(none)"));
        }
        UseItem(item);
    }
    return true;
}

void FilesTab::MenuCommand(int index) {
    if (index == kRefresh) {
        RefreshFileList();
        return;
    }
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    m_program.ShowStatus(QString());
    const QString full = m_model.Row(row).FullName;
    const bool isTheme = m_model.Row(row).IsTheme;
    ChangeRecord record;
    if (isTheme) {
        record.FileName = full;
        record.IsTheme = true;
    } else {
        record.FileName = WallpaperThemePath(m_program);
        if (index == kViewEdit || index == kPrintInfo || index == kExplore) {
            WaitCursor wait;
            ChangeRecord picture;
            picture.FileName = full;
            PrepareWallpaperTheme(m_program, picture);
        }
    }
    switch (index) {
        case kOverride:
            if (OpenOverrideDialog) {
                OpenOverrideDialog();
            }
            break;
        case kRename:
            RenameFile(full);
            break;
        case kFavorite:
            ToggleFavorite(full);
            SaveFavorites(m_program);
            m_program.ShowStatus(
                QStringLiteral("There are %1 favorite(s) selected.").arg(m_program.FavoriteCount));
            break;
        case kApply:
            if (!isTheme) {
                // A picture is applied as a change applies it: through its own working copy,
                // recorded under its own name.
                record.FileName = full;
            }
            record.Reason = QStringLiteral("Manual selection");
            ApplySelected(record);
            break;
        case kViewEdit:
            if (!m_program.Sys.Procs.StartDetached(
                    m_program.ThemeOpenCommand + QStringLiteral("  ") + QuoteWindowsArgument(record.FileName),
                    WindowStyle::Normal)) {
                m_program.ShowStatus(QStringLiteral("The theme program could not be started."));
            }
            break;
        case kExplore: {
            const QString theme = HostPath(m_program.Sys.Home, record.FileName);
            QString wallpaper = ProfileFile::ReadString(theme, QStringLiteral("Control Panel\\Desktop"),
                                                        QStringLiteral("Wallpaper"), QString(), 256);
            wallpaper = ExpandThemePath(wallpaper, FolderOf(record.FileName), m_program.WindowsDir,
                                        m_program.SystemDir)
                            .trimmed();
            if (wallpaper.isEmpty()) {
                wallpaper = record.FileName;
            }
            if (!m_program.Sys.Procs.StartDetached(
                    QStringLiteral("Explorer ") + QuoteWindowsArgument(FolderOf(wallpaper)),
                    WindowStyle::Normal)) {
                m_program.ShowStatus(QStringLiteral("The file manager could not be started."));
            }
            break;
        }
        case kDelete:
            DeleteFile(full, isTheme);
            break;
        case kEditText:
            if (!m_program.Sys.Procs.StartDetached(m_program.TextViewerCommand + QStringLiteral("  ") +
                                                       QuoteWindowsArgument(record.FileName),
                                                   WindowStyle::Normal)) {
                m_program.ShowStatus(QStringLiteral("The text editor could not be started."));
            }
            break;
        default:
            break;
    }
}

void FilesTab::ApplySelected(const ChangeRecord& record) {
    WaitCursor wait;
    m_program.ShowStatus(QStringLiteral("Changing theme.  Please wait..."));
    const ApplyResult result = ApplyChange(m_program, record, true);
    if (result.Applied || result.Why.isEmpty()) {
        m_program.ShowStatus(QStringLiteral("Changed to: ") + FileNameOf(record.FileName));
    } else {
        // A change that did not come about must not read as done.
        m_program.ShowStatus(QStringLiteral("Not changed: ") + result.Why);
    }
}

void FilesTab::ToggleFavorite(const QString& fullName) {
    const int entry = FindCatalogueEntry(m_program, fullName, Qt::CaseSensitive);
    if (entry < 0) {
        return;
    }
    FileEntry& file = m_program.Catalogue[static_cast<size_t>(entry)];
    file.IsFavorite = !file.IsFavorite;
    const int row = SelectedRow();
    if (row >= 0) {
        ScheduleRow value = m_model.Row(row);
        value.IsFavorite = file.IsFavorite;
        SelectRow(m_model.PutRow(row, value));
    }
}

void FilesTab::RenameFile(const QString& fullName) {
    const QString folder = FolderOf(fullName);
    const QString extension = ExtensionOf(fullName).toLower();
    const QString name = FileNameOf(fullName);
    const QString base = name.left(name.length() - extension.length());
    const QString prompt = QStringLiteral("Enter new filename for:") + kCrLf + QString(10, u' ') + base +
                           extension + kCrLf + kCrLf +
                           QStringLiteral("(Do NOT add the file suffix, like .theme or .jpg)");
    const std::optional<QString> typed =
        m_program.Sys.Ui.InputBox(prompt, QStringLiteral("Rename File"), base);
    const QString answer = typed ? typed->trimmed() : QString();
    if (answer.isEmpty() || answer.compare(base, Qt::CaseInsensitive) == 0) {
        m_program.ShowStatus(QStringLiteral("File rename was cancelled."));
        return;
    }
    const QString newFull = folder + answer + extension;
    const QString from = HostPath(m_program.Sys.Home, folder + base + extension);
    const QString to = HostPath(m_program.Sys.Home, newFull);
    // A name with a folder separator in it would move the file elsewhere; an existing
    // file of the new name is never replaced.
    QString error;
    if (answer.contains(u'/') || answer.contains(u'\\')) {
        error = QStringLiteral("a file name cannot hold a folder separator");
    } else if (QFileInfo::exists(to)) {
        error = QStringLiteral("a file of that name exists already");
    } else {
        QFile file(from);
        if (!file.rename(to)) {
            error = file.errorString();
        }
    }
    if (!error.isEmpty()) {
        m_program.ShowStatus(QStringLiteral("Rename error: ") + error);
        return;
    }
    m_program.ShowStatus(QStringLiteral("Refreshing display. Please wait.."));
    const int row = SelectedRow();
    if (row >= 0) {
        ScheduleRow value = m_model.Row(row);
        const QString shown = value.Name;
        const int cut = LastSeparator(shown);
        value.Name = (cut >= 0 ? shown.left(cut + 1) : QString()) + answer + extension;
        value.FullName = newFull;
        SelectRow(m_model.PutRow(row, value));
    }
    MoveOverride(m_program.AppPath, base + extension, answer + extension);
    const int entry = FindCatalogueEntry(m_program, fullName, Qt::CaseInsensitive);
    if (entry >= 0) {
        FileEntry& file = m_program.Catalogue[static_cast<size_t>(entry)];
        file.FileName = newFull;
        ComputeFileWindow(m_program, file);
        UpdateScheduleFrame(entry);
    }
    m_program.ShowStatus(QStringLiteral("File was renamed."));
}

void FilesTab::DeleteFile(const QString& fullName, bool isTheme) {
    const QString kind = isTheme ? QStringLiteral("Theme") : QStringLiteral("Wallpaper");
    QString warning;
    if (isTheme) {
        warning = QStringLiteral("WARNING:  Deleting a theme involves deleting ALL of the files") + kCrLf +
                  QStringLiteral("(icons, mouse pointers, wallpapers, etc.) that are linked to the") + kCrLf +
                  QStringLiteral("theme.  If these files are also used in another theme, that theme") +
                  kCrLf +
                  QStringLiteral("will not display correctly.  This theme delete CAN NOT BE UNDONE.") +
                  kCrLf + kCrLf;
    }
    const MessageResult answer = m_program.Sys.Ui.MessageBox(
        warning + QStringLiteral("ARE YOU SURE YOU WANT TO DELETE:") + kCrLf + QString(5, u' ') + fullName,
        QStringLiteral("Confirm ") + kind + QStringLiteral(" Delete"), MessageIcon::Question,
        MessageButtons::YesNo, MessageResult::No);
    if (answer != MessageResult::Yes) {
        return;
    }
    auto failed = [this](const QString& why) {
        m_program.Sys.Ui.MessageBox(QStringLiteral("Reason: ") + why, QStringLiteral("Delete failed"),
                                    MessageIcon::Exclamation);
    };
    if (isTheme) {
        const QString why = DeleteLinkedFiles(m_program, fullName);
        if (!why.isEmpty()) {
            failed(why);
            return;
        }
    }
    QFile file(HostPath(m_program.Sys.Home, fullName));
    if (!file.remove()) {
        failed(file.errorString());
        return;
    }
    const int entry = FindCatalogueEntry(m_program, fullName, Qt::CaseInsensitive);
    if (entry >= 0) {
        auto& catalogue = m_program.Catalogue;
        catalogue[static_cast<size_t>(entry)] = catalogue.back();
        catalogue.pop_back();
    }
    const int row = m_model.FindRow(fullName);
    m_model.RemoveRowAt(row);
    m_list->selectionModel()->clearSelection();
}

void FilesTab::RefreshFileList() {
    m_program.ShowStatus(QStringLiteral("Reloading files/themes.  Please wait..."));
    m_program.ResetCatalogue();
    LoadScheduleFrame(QString());
    m_program.ShowStatus(QStringLiteral("Files/Themes list was refreshed."));
}

void FilesTab::ShowOverrideDialog() {
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    const ScheduleRow& value = m_model.Row(row);
    frmOverride dialog(m_program, value.FullName, ScheduleModel::Text(value, ScheduleModel::Ends),
                       ScheduleModel::Text(value, ScheduleModel::Days).trimmed(), window());
    dialog.Redraw = [this](int themePos) { UpdateScheduleFrame(themePos); };
    dialog.exec();
}

}  // namespace merivane
