#include "ui/InfoTab.h"

#include "app/Program.h"
#include "apply/Effects.h"
#include "platform/Paths.h"
#include "schedule/NextChange.h"
#include "selection/Choice.h"
#include "settings/DateText.h"
#include "ui/WaitCursor.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace merivane {

namespace {
// The date, and the time when it is not midnight; "(none)" for no date at all.
QString DateOrNone(SerialDate date) {
    return date == 0 ? QStringLiteral("(none)") : GeneralDateText(date);
}

// The fixed build date of the program's about box.
constexpr int kBuildYear = 2004;
constexpr int kBuildMonth = 7;
constexpr int kBuildDay = 31;
}  // namespace

InfoTab::InfoTab(Program& program, QWidget* parent) : QFrame(parent), m_program(program) {
    setObjectName(QStringLiteral("fraTab(5)"));
    auto* layout = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    auto* logo = new QLabel(this);
    logo->setPixmap(QIcon(QStringLiteral(":/merivane/icons/com.brennock.Merivane-64.png")).pixmap(48, 48));
    head->addWidget(logo);
    auto* names = new QVBoxLayout;
    auto* name = new QLabel(QStringLiteral("Merivane"), this);
    name->setObjectName(QStringLiteral("lblPgmName"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    names->addWidget(name);
    auto* version = new QLabel(QStringLiteral("Version: %1.%2.%3")
                                   .arg(MERIVANE_VERSION_MAJOR)
                                   .arg(MERIVANE_VERSION_MINOR)
                                   .arg(MERIVANE_VERSION_PATCH, 4, 10, QChar(u'0')),
                               this);
    version->setObjectName(QStringLiteral("lblVersion"));
    names->addWidget(version);
    auto* build = new QLabel(
        QStringLiteral("Build: ") + MediumDateText(SerialFromDate(QDate(kBuildYear, kBuildMonth, kBuildDay))),
        this);
    build->setObjectName(QStringLiteral("lblBuild"));
    names->addWidget(build);
    head->addLayout(names);
    head->addStretch(1);
    layout->addLayout(head);

    auto* grid = new QGridLayout;
    const std::pair<const char*, const char*> rows[] = {
        {"Installed theme manager:", "lblThemeManager"},
        {"Next theme change at:", "lblNextThemeChange"},
        {"Last change was on:", "lblLastChangedDate"},
        {"Changed to:", "lblLastTheme"},
        {"Previous change on:", "lblPreviousChangeDate"},
        {"Changed to:", "lblPreviousChangeTheme"},
        {"Merivane was installed on:", "lblInstallDate"},
        {"Total theme changes made:", "lblTotalThemeChanges"},
    };
    int line = 0;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), this), line, 0);
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(value));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(label, line, 1);
        ++line;
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    auto* statistic = new QLabel(this);
    statistic->setObjectName(QStringLiteral("lblChangesPerDayMsg"));
    statistic->setWordWrap(true);
    layout->addWidget(statistic);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    m_changeNow = new QPushButton(QStringLiteral("Change the theme right now"), this);
    m_changeNow->setObjectName(QStringLiteral("cmdMakeThemeChangeNow"));
    m_runIt = new QPushButton(QStringLiteral("Run It"), this);
    m_runIt->setObjectName(QStringLiteral("cmdRunThemeMgr"));
    m_restore = new QPushButton(QStringLiteral("Restore Icon Positions"), this);
    m_restore->setObjectName(QStringLiteral("cmdRestoreIcons"));
    buttons->addWidget(m_changeNow);
    buttons->addWidget(m_runIt);
    buttons->addWidget(m_restore);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    QObject::connect(m_changeNow, &QPushButton::clicked, this, [this] { ChangeRightNow(); });
    QObject::connect(m_runIt, &QPushButton::clicked, this, [this] { RunThemeManager(); });
    QObject::connect(m_restore, &QPushButton::clicked, this, [this] { RestoreIcons(); });
}

QLabel* InfoTab::Value(const char* name) {
    return findChild<QLabel*>(QString::fromLatin1(name));
}

int InfoTab::DayCount(double today, double installDate) {
    const double days = std::floor(std::floor(today) - installDate) + 1;
    return days < 1 ? 1 : static_cast<int>(days);
}

QString InfoTab::StatisticLine(int changes, int days) {
    if (changes < days && changes == 0) {
        return QStringLiteral("To get statistics, you need to make at least one theme change.");
    }
    if (changes < days) {
        return QStringLiteral("So, that means the program makes a theme change once every %1 days!")
            .arg(static_cast<double>(days) / changes, 0, 'f', 2);
    }
    return QStringLiteral("In other words, that's %1 theme changes per day!")
        .arg(static_cast<double>(changes) / days, 0, 'f', 2);
}

void InfoTab::Fill() {
    const Program& p = m_program;
    const QString& type = p.ThemeFileType;
    Value("lblThemeManager")->setText(type.mid(type.lastIndexOf(u'\\') + 1));
    Value("lblThemeManager")->setToolTip(p.ThemeOpenCommand);
    Value("lblNextThemeChange")
        ->setText(p.Setup.TypeOfScheduling == 0 ? QStringLiteral("(none)")
                                                : GeneralDateText(CalcNextChangeTime(p)));
    Value("lblLastChangedDate")->setText(DateOrNone(p.LastChange.ChangeDate));
    Value("lblLastChangedDate")->setToolTip(QStringLiteral("Reason: ") + p.LastChange.Reason);
    Value("lblLastTheme")->setText(FileNameOf(p.LastChange.FileName));
    Value("lblLastTheme")->setToolTip(p.LastChange.FileName);
    Value("lblPreviousChangeDate")->setText(DateOrNone(p.PreviousChange.ChangeDate));
    Value("lblPreviousChangeDate")->setToolTip(QStringLiteral("Reason: ") + p.PreviousChange.Reason);
    Value("lblPreviousChangeTheme")->setText(FileNameOf(p.PreviousChange.FileName));
    Value("lblPreviousChangeTheme")->setToolTip(p.PreviousChange.FileName);
    const int days = DayCount(p.Sys.Time.Now(), p.InstallDate);
    QString installed = GeneralDateText(p.InstallDate);
    if (days > 3) {
        installed += QStringLiteral("   (%1 days)").arg(days);
    }
    Value("lblInstallDate")->setText(installed);
    Value("lblTotalThemeChanges")->setText(QString::number(p.TotalThemeChanges));
    Value("lblChangesPerDayMsg")->setText(StatisticLine(p.TotalThemeChanges, days));
    const QString& opener = p.ThemeOpenCommand;
    m_runIt->setEnabled(!opener.isEmpty() && opener != QLatin1String("(none)"));
    m_restore->setVisible(p.Setup.KeepIconPositions);
}

void InfoTab::ChangeNow() {
    WaitCursor wait;
    CheckAndChange(m_program, true);
    m_program.ShowStatus(QStringLiteral("Changed to: ") + FileNameOf(m_program.LastChange.FileName));
}

void InfoTab::ChangeRightNow() {
    WaitCursor wait;
    m_changeNow->setEnabled(false);
    m_program.ShowStatus(QStringLiteral("Changing the theme.  Please wait..."));
    if (FocusStrip) {
        FocusStrip();
    }
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ChangeNow();
    Fill();
    m_changeNow->setEnabled(true);
}

void InfoTab::RunThemeManager() {
    WaitCursor wait;
    m_runIt->setEnabled(false);
    if (FocusStrip) {
        FocusStrip();
    }
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_program.Sys.Procs.StartDetached(m_program.ThemeOpenCommand, WindowStyle::Normal);
    m_runIt->setEnabled(true);
}

void InfoTab::RestoreIcons() {
    m_restore->setEnabled(false);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    RestoreIconPositionsFromFile(m_program);
    m_restore->setEnabled(true);
}

}  // namespace merivane
