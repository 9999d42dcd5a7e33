#include "app/Ctl.h"

#include "app/Main.h"
#include "app/Preview.h"
#include "app/ReadOnlyProgram.h"
#include "app/Sample.h"
#include "calendar/DateRules.h"
#include "calendar/EventTable.h"
#include "calendar/Matching.h"
#include "platform/ReadOnlyRegistryStore.h"
#include "platform/TextFile.h"
#include "platform/WorkFiles.h"
#include "print/Listing.h"
#include "schedule/Autostart.h"
#include "schedule/NextChange.h"
#include "selection/Catalogue.h"
#include "selection/Choice.h"
#include "selection/ScheduleRows.h"
#include "settings/DateText.h"
#include "settings/RegFile.h"
#include "settings/RegOp.h"
#include "settings/Settings.h"

#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>

namespace merivane {

namespace {

constexpr int kCtlOk = 0;
constexpr int kCtlFailed = 1;
constexpr int kCtlUsage = 2;

int RegExport(Platform& platform, const QStringList& args) {
    if (args.size() > 1) {
        platform.Con.Err(CtlUsage());
        return kCtlUsage;
    }
    QString error;
    auto text = ExportRegistry(platform.Store, args.value(0), &error);
    if (!text) {
        platform.Con.Err(QStringLiteral("merivanectl: %1\n").arg(error));
        return kCtlFailed;
    }
    platform.Con.Out(*text);
    return kCtlOk;
}

int RegImport(Platform& platform, const QStringList& args) {
    if (args.size() != 1) {
        platform.Con.Err(CtlUsage());
        return kCtlUsage;
    }
    QFile file(args[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        platform.Con.Err(QStringLiteral("merivanectl: cannot read %1: %2\n")
                             .arg(CutForMessage(args[0]), file.errorString()));
        return kCtlFailed;
    }
    // Settings made ready before the first start must survive it: the first run's
    // defaults are written now, under what is imported.
    {
        Program program(platform);
        SetStartupGlobals(program);
        LoadSettings(program);
    }
    QString error;
    if (!ImportRegistry(platform.Store, DecodeText(file.readAll()), &error)) {
        platform.Con.Err(QStringLiteral("merivanectl: %1: %2\n").arg(CutForMessage(args[0]), error));
        return kCtlFailed;
    }
    return kCtlOk;
}

QString IsoDate(SerialDate day) {
    return DateOfSerial(day).toString(Qt::ISODate);
}

// One line of the year schedule; the window counts only when it is a real one.
QString ScheduleLine(const EventRecord& event, const std::optional<EventWindow>& window) {
    QStringList fields{event.Name};
    if (window && window->DaysShown >= 1 && window->DaysShown < kAnyDay) {
        fields << IsoDate(window->EndDate - window->DaysShown + 1) << IsoDate(window->EndDate)
               << QString::number(window->DaysShown);
    } else {
        fields << QStringLiteral("UNDEFINED") << QStringLiteral("UNDEFINED") << QStringLiteral("0");
    }
    fields << (event.RuleType == u' ' ? QString() : QString(event.RuleType)) << QString::number(event.Month)
           << QString::number(event.DayOrWeek) << QString::number(event.DaysShown) << event.Keywords;
    return fields.join(u'\t') + u'\n';
}

// A Setup value as a Boolean, read without the first-run side effects of loading all settings.
bool SetupFlag(Platform& platform, const QString& name, bool fallback) {
    RegOp setup(platform);
    setup.SetKey(kAppKey + QStringLiteral("\\Setup"));
    Variant value = setup.Value(name);
    return value.IsEmpty() ? fallback : value.ToBoolean().value_or(fallback);
}

int Events(Platform& platform, const QStringList& args) {
    const int currentYear = DateOfSerial(platform.Time.Now()).year();
    int year = currentYear;
    QString tableFile = EventTableToRead(platform.Home.Home, platform.Home);
    const QString defaultTable = tableFile;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--year") && i + 1 < args.size()) {
            bool ok = false;
            year = args[++i].toInt(&ok);
            if (!ok || year < 100 || year > 9999) {
                platform.Con.Err(QStringLiteral("merivanectl: --year takes a year such as 2027, not %1\n")
                                     .arg(CutForMessage(args[i])));
                return kCtlUsage;
            }
        } else if (args[i] == QLatin1String("--table") && i + 1 < args.size()) {
            tableFile = args[++i];
        } else {
            platform.Con.Err(CtlUsage());
            return kCtlUsage;
        }
    }
    auto text = ReadTextFile(tableFile);
    if (!text) {
        if (tableFile != defaultTable) {
            platform.Con.Err(QStringLiteral("merivanectl: cannot read %1\n").arg(CutForMessage(tableFile)));
            return kCtlFailed;
        }
        text = QString();  // no table yet: no events
    }
    RegOp setup(platform);
    setup.SetKey(kAppKey + QStringLiteral("\\Setup"));
    RuleContext context{currentYear,
                        setup.Value(QStringLiteral("SouthernHemisphere")).ToBoolean().value_or(false)};

    QString out = QStringLiteral("name\tstarts\tends\tdays\ttype\tmonth\tday\tshown\tkeywords\n");
    const QString yearText = QString::number(year);
    for (const EventRecord& event : ParseEventTable(*text)) {
        out += ScheduleLine(event, EventDateForYear(event, yearText, context));
    }
    platform.Con.Out(out);
    return kCtlOk;
}

QString WindowText(const EventWindow& w) {
    if (w.DaysShown >= kAnyDay) {
        return QStringLiteral("any\tany\t%1").arg(w.DaysShown);
    }
    if (w.DaysShown <= 0) {
        return QStringLiteral("never\tnever\t%1").arg(w.DaysShown);
    }
    return IsoDate(w.EndDate - w.DaysShown + 1) + u'\t' + IsoDate(w.EndDate) + u'\t' +
           QString::number(w.DaysShown);
}

// Drawing text needs a GUI application (none when one is there already); a file drawn
// into needs no display.
std::unique_ptr<QGuiApplication> GuiForDrawing() {
    if (QCoreApplication::instance() != nullptr) {
        return nullptr;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "merivanectl";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// "preview": what Merivane would show on each day, as text or as a sheet of pictures.
int Preview(Platform& platform, const QStringList& args) {
    const int currentYear = DateOfSerial(platform.Time.Now()).year();
    std::optional<SerialDate> from = SerialFromYmd(currentYear, 1, 1);
    int days = QDate(currentYear, 1, 1).daysInYear();
    QString out;
    bool yearGiven = false;
    bool rangeGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--year") && i + 1 < args.size()) {
            const int year = args[++i].toInt(&ok);
            ok = ok && year >= 100 && year <= 9999;
            if (ok) {
                from = SerialFromYmd(year, 1, 1);
                days = QDate(year, 1, 1).daysInYear();
                yearGiven = true;
            }
        } else if (args[i] == QLatin1String("--from") && i + 1 < args.size()) {
            from = ParseUserDate(args[++i], currentYear);
            ok = from.has_value();
            rangeGiven = true;
        } else if (args[i] == QLatin1String("--days") && i + 1 < args.size()) {
            days = args[++i].toInt(&ok);
            ok = ok && days >= 1 && days <= 3660;
            rangeGiven = true;
        } else if (args[i] == QLatin1String("--out") && i + 1 < args.size()) {
            out = args[++i];
        } else {
            ok = false;
        }
        if (!ok) {
            platform.Con.Err(
                QStringLiteral("merivanectl: %1 is not understood here\n").arg(CutForMessage(args[i])));
            platform.Con.Err(CtlUsage());
            return kCtlUsage;
        }
    }
    if (yearGiven && rangeGiven) {
        platform.Con.Err(QStringLiteral("merivanectl: --year or --from and --days, not both\n"));
        return kCtlUsage;
    }
    const std::vector<PreviewChange> changes = PreviewChanges(platform, *from, days);
    const QString lower = out.toLower();
    if (lower.endsWith(QStringLiteral(".png")) || lower.endsWith(QStringLiteral(".pdf"))) {
        const auto application = GuiForDrawing();
        QString error;
        if (!WritePreviewSheet(changes, platform.Home, out, &error)) {
            platform.Con.Err(QStringLiteral("merivanectl: %1\n").arg(error));
            return kCtlFailed;
        }
        return kCtlOk;
    }
    const QString text = PreviewText(changes);
    if (out.isEmpty()) {
        platform.Con.Out(text);
        return kCtlOk;
    }
    QString error;
    if (!WriteFileAtomically(out, text.toUtf8(), &error)) {
        platform.Con.Err(QStringLiteral("merivanectl: cannot write %1: %2\n").arg(CutForMessage(out), error));
        return kCtlFailed;
    }
    return kCtlOk;
}

// "print files|events": a listing as the setup window prints it, to a PDF file.
int Print(Platform& platform, const QStringList& args) {
    const QString what = args.value(0);
    if (what != QLatin1String("files") && what != QLatin1String("events")) {
        platform.Con.Err(CtlUsage());
        return kCtlUsage;
    }
    const int currentYear = DateOfSerial(platform.Time.Now()).year();
    int year = currentYear;
    bool landscape = false;
    QString pdf;
    for (int i = 1; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--year") && i + 1 < args.size()) {
            year = args[++i].toInt(&ok);
            ok = ok && year >= currentYear - 10 && year <= currentYear + 25;
        } else if (args[i] == QLatin1String("--copies") && i + 1 < args.size()) {
            // A PDF file has no copies; the number is checked as the print dialog checks it.
            const int copies = args[++i].toInt(&ok);
            ok = ok && copies > 0 && copies < 100;
        } else if (args[i] == QLatin1String("--landscape")) {
            landscape = true;
        } else if (args[i] == QLatin1String("--pdf") && i + 1 < args.size()) {
            pdf = args[++i];
        } else {
            ok = false;
        }
        if (!ok) {
            platform.Con.Err(
                QStringLiteral("merivanectl: %1 is not understood here (years run from %2 to %3, "
                               "copies from 1 to 99)\n")
                    .arg(CutForMessage(args[i]))
                    .arg(currentYear - 10)
                    .arg(currentYear + 25));
            return kCtlUsage;
        }
    }
    if (pdf.isEmpty()) {
        platform.Con.Err(QStringLiteral("merivanectl: print needs --pdf FILE\n"));
        return kCtlUsage;
    }
    const auto application = GuiForDrawing();
    ReadOnlyProgram reader(platform);
    Program& program = reader.Get();
    Listing listing;
    if (what == QLatin1String("files")) {
        BuildCatalogue(program, false);
        std::vector<ScheduleRow> rows = ScheduleRowsOf(program.Catalogue, program.Setup);
        // In the order the window first shows them: by the last day.
        std::stable_sort(rows.begin(), rows.end(), [](const ScheduleRow& a, const ScheduleRow& b) {
            return ScheduleRowBefore(a, b, kEndsColumn, Qt::AscendingOrder);
        });
        listing = FilesListing(rows, !landscape);
    } else {
        std::vector<EventRowText> rows = EventRowsOfYear(program, year);
        std::stable_sort(rows.begin(), rows.end(), [](const EventRowText& a, const EventRowText& b) {
            return a.Name.compare(b.Name, Qt::CaseInsensitive) < 0;
        });
        listing = EventsListing(rows, year);
    }
    QPdfWriter writer(pdf);
    writer.setResolution(1200);
    writer.setPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                           ? QPageSize(QPageSize::Letter)
                           : QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageOrientation(landscape && what == QLatin1String("files") ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait);
    writer.setTitle(listing.Title);
    writer.setCreator(QStringLiteral("Merivane"));
    if (!PrintListing(writer, listing, platform.Time.Now())) {
        platform.Con.Err(QStringLiteral("merivanectl: cannot write %1\n").arg(CutForMessage(pdf)));
        return kCtlFailed;
    }
    platform.Con.Out(QStringLiteral("%1 rows printed to %2\n").arg(listing.Rows.size()).arg(pdf));
    return kCtlOk;
}

QString FileLine(const FileEntry& entry) {
    QString override;
    if (!entry.OverrideText.isEmpty()) {
        override = entry.Priority == 0 ? QStringLiteral("exclusive") : QStringLiteral("priority");
    }
    EventWindow window{entry.EndDate, entry.DaysShown};
    return QStringList{entry.FileName,
                       entry.IsTheme ? QStringLiteral("theme") : QStringLiteral("wallpaper"),
                       entry.IsFavorite ? QStringLiteral("yes") : QStringLiteral("no"),
                       WindowText(window),
                       override,
                       entry.OverrideText}
               .join(u'\t') +
           u'\n';
}

int Files(Platform& platform, const QStringList& args) {
    if (!args.isEmpty()) {
        platform.Con.Err(CtlUsage());
        return kCtlUsage;
    }
    ReadOnlyProgram program(platform);
    BuildCatalogue(program.Get(), false);
    QString out = QStringLiteral("path\ttype\tfav\tstarts\tends\tdays\toverride\toverride_text\n");
    for (const FileEntry& entry : program.Get().Catalogue) {
        out += FileLine(entry);
    }
    platform.Con.Out(out);
    return kCtlOk;
}

int Explain(Platform& platform, const QStringList& args) {
    if (!args.isEmpty()) {
        platform.Con.Err(CtlUsage());
        return kCtlUsage;
    }
    ReadOnlyProgram program(platform);
    ChangeRecord choice = DecideChange(program.Get());
    QString out = QStringLiteral("choice\t%1\t%2\n").arg(choice.FileName, choice.Reason);
    for (const FileEntry& candidate : program.Get().Candidates) {
        out += QStringLiteral("candidate\t%1\t%2\n")
                   .arg(candidate.FileName, WindowText(EventWindow{candidate.EndDate, candidate.DaysShown}));
    }
    platform.Con.Out(out);
    return kCtlOk;
}

int Match(Platform& platform, const QStringList& args) {
    CalendarState state(platform);
    state.AppPath = platform.Home.Home;
    state.Setup.SouthernHemisphere = SetupFlag(platform, QStringLiteral("SouthernHemisphere"), false);
    bool yearInName = SetupFlag(platform, QStringLiteral("UseYearInTitle"), true);
    QStringList texts;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--year-in-name")) {
            yearInName = true;
        } else if (arg == QLatin1String("--no-year-in-name")) {
            yearInName = false;
        } else {
            texts << arg;
        }
    }
    if (texts.isEmpty()) {
        platform.Con.Err(CtlUsage());
        return kCtlUsage;
    }
    LoadEventTable(state);
    QString out;
    for (const QString& text : texts) {
        TextMatch match = MatchText(state, text, yearInName);
        QString event = match.EventIndex >= 0 ? state.Events[match.EventIndex].Name : QString();
        out += QString(text).replace(u'\t', u' ') + u'\t' + event + u'\t' + WindowText(match.Window) + u'\n';
    }
    platform.Con.Out(out);
    return kCtlOk;
}

const char* const kMethodCaptions[] = {
    "None.  I'll make my own changes.", "Change at bootup/signon time, one change per day.",
    "Use this program to make changes.", "Use the Windows Task Scheduler.    (Highly recommended)"};

QString MethodText(int method) {
    if (method < 0 || method > 3) {
        return QStringLiteral("%1 (not a method; no automatic changes)").arg(method);
    }
    QString text = QStringLiteral("%1 (%2)").arg(method).arg(QString::fromLatin1(kMethodCaptions[method]));
    if (method == 3) {
        text += QStringLiteral(", here a systemd user timer or cron");
    }
    return text;
}

void PrepareScheduling(Program& program, const CtlMachine& machine) {
    SetStartupGlobals(program);
    LoadSettings(program);
    program.ExecutablePath = machine.ExecutablePath;
    program.Companion = machine.Companion;
}

int Schedule(Platform& platform, const QStringList& args, const CtlMachine& machine) {
    bool ok = false;
    const int method = args.value(0).toInt(&ok);
    if (!ok || method < 0 || method > 3) {
        platform.Con.Err(CtlUsage());
        return kCtlUsage;
    }
    std::optional<QString> timeText;
    std::optional<QString> perDayText;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--time") && i + 1 < args.size()) {
            timeText = args[++i];
        } else if (args[i] == QLatin1String("--per-day") && i + 1 < args.size()) {
            perDayText = args[++i];
        } else {
            platform.Con.Err(CtlUsage());
            return kCtlUsage;
        }
    }
    std::optional<SerialDate> time;
    if (timeText) {
        time = ParseDateText(*timeText);
        if (!time) {
            platform.Con.Err(QStringLiteral("merivanectl: %1 is not a time of day; nothing was changed\n")
                                 .arg(CutForMessage(*timeText)));
            return kCtlUsage;
        }
    }
    Program program(platform);
    PrepareScheduling(program, machine);
    AppSettings& setup = program.Setup;
    const std::int16_t oldType = setup.TypeOfScheduling;
    const SerialDate oldTime = setup.ScheduledTime;
    const std::int16_t oldPerDay = setup.ChangesPerDay;
    setup.TypeOfScheduling = static_cast<std::int16_t>(method);
    if (time && method >= 2) {
        setup.ScheduledTime = *time - WholeDays(*time);
    }
    if (perDayText) {
        // Corrected, never refused, as the Settings tab does.
        setup.ChangesPerDay = CorrectedChangesPerDay(*perDayText);
    }
    SaveSettings(program, false, true, false);
    ChangeScheduling(program, oldType, setup.TypeOfScheduling, oldTime, setup.ScheduledTime, oldPerDay,
                     setup.ChangesPerDay);
    if (setup.TypeOfScheduling != method) {
        platform.Con.Err(
            QStringLiteral("merivanectl: no scheduled task was made: no systemd user manager answers and "
                           "cron's crontab is not installed. The log-in check still changes once a day; "
                           "method 2 makes timed changes while Merivane runs.\n"));
    }
    if (method == 2 && !RunningResident(platform.Home.InstanceDir + QStringLiteral("resident.pid"))) {
        platform.Con.Out(
            QStringLiteral("Merivane starts resident at the next log-in; to start it now, run "
                           "merivane /c\n"));
    }
    return kCtlOk;
}

int Status(Platform& platform, const QStringList& args, const CtlMachine& machine) {
    if (!args.isEmpty()) {
        platform.Con.Err(CtlUsage());
        return kCtlUsage;
    }
    Program program(platform);
    PrepareScheduling(program, machine);
    const AppSettings& setup = program.Setup;
    QString out = QStringLiteral("Scheduling method: %1\n").arg(MethodText(setup.TypeOfScheduling));
    if (setup.TypeOfScheduling >= 2) {
        out += QStringLiteral("Change time: %1, %2 change(s) a day\n")
                   .arg(MediumTimeText(setup.ScheduledTime))
                   .arg(setup.ChangesPerDay);
    }
    auto resident = RunningResident(platform.Home.InstanceDir + QStringLiteral("resident.pid"));
    out += resident ? QStringLiteral("Resident Merivane: running, process %1\n").arg(*resident)
                    : QStringLiteral("Resident Merivane: not running\n");
    if (setup.TypeOfScheduling >= 1 && setup.TypeOfScheduling <= 3 && setup.ChangesPerDay >= 1) {
        SerialDate next = CalcNextChangeTime(program);
        out += QStringLiteral("Next change due: %1 %2%3\n")
                   .arg(DateOfSerial(next).toString(Qt::ISODate), LongTimeText(next))
                   .arg(next <= platform.Time.Now() ? QStringLiteral(" (due now)") : QString());
    } else {
        out += QStringLiteral("Next change due: none; changes are made by hand\n");
    }
    RegOp run(platform);
    run.SetRoot(RegRoot::CurrentUser);
    run.SetKey(kRunKey);
    QString runValue = run.Value(kRunValueName).ToText();
    out += QStringLiteral("Run value: %1\n").arg(runValue.isEmpty() ? QStringLiteral("none") : runValue);
    const QString autostart = AutostartFile(platform.Env);
    out += QStringLiteral("Autostart entry: %1\n")
               .arg(IsOurAutostartEntry(autostart) ? autostart : QStringLiteral("none"));
    QStringList tasks;
    if (machine.Companion != nullptr) {
        if (auto scheduler = machine.Companion->CreateTaskScheduler()) {
            scheduler->Refresh();
            const QStringList names = scheduler->TaskNames();
            for (int i = 0; i < names.size(); ++i) {
                if (names[i].compare(kProductName, Qt::CaseInsensitive) == 0) {
                    tasks << scheduler->Describe(i + 1);
                }
            }
        }
    }
    out += QStringLiteral("Scheduled task: %1\n")
               .arg(tasks.isEmpty() ? QStringLiteral("none") : tasks.join(QStringLiteral("; ")));
    platform.Con.Out(out);
    return kCtlOk;
}

}  // namespace

QString CtlUsage() {
    return QStringLiteral(
        "usage: merivanectl reg export [KEY]   write the settings store (or the tree below KEY) as REGEDIT4 "
        "text\n"
        "       merivanectl reg import FILE    add or replace the keys and values of a REGEDIT4 file\n"
        "       merivanectl events [--year YYYY] [--table FILE]\n"
        "                                      the events of a year, tab-separated, from the event table\n"
        "       merivanectl match [--year-in-name|--no-year-in-name] TEXT...\n"
        "                                      the event each text names and its window today\n"
        "       merivanectl files              the catalogue of theme files and pictures with their windows\n"
        "       merivanectl explain            what a change now would choose, and from which candidates\n"
        "       merivanectl schedule METHOD [--time TIME] [--per-day N]\n"
        "                                      choose how changes are made: 0 by hand, 1 at log-in, 2 by "
        "the\n"
        "                                      resident program, 3 by a systemd timer or cron\n"
        "       merivanectl status             the scheduling, the resident program and the entries that "
        "start "
        "Merivane\n"
        "       merivanectl preview [--year YYYY | --from DATE --days N] [--out FILE]\n"
        "                                      what each day would get: text, or a .png or .pdf sheet\n"
        "       merivanectl print files|events [--year YYYY] [--landscape] [--copies N] --pdf FILE\n"
        "                                      print a listing of the setup window to a PDF file\n"
        "       merivanectl sample PICTURES THEMES\n"
        "                                      make a small collection named after events, to try Merivane "
        "with\n");
}

bool CtlCommandWrites(const QStringList& arguments) {
    const QString command = arguments.value(0);
    return command == QLatin1String("sample") || command == QLatin1String("schedule") ||
           (command == QLatin1String("reg") && arguments.value(1) == QLatin1String("import"));
}

int RunCtl(Platform& platform, const QStringList& arguments, const CtlMachine& machine) {
    if (arguments.size() >= 2 && arguments[0] == QLatin1String("reg")) {
        QStringList rest = arguments.mid(2);
        if (arguments[1] == QLatin1String("export")) {
            return RegExport(platform, rest);
        }
        if (arguments[1] == QLatin1String("import")) {
            return RegImport(platform, rest);
        }
    }
    if (arguments.value(0) == QLatin1String("sample") && arguments.size() == 3) {
        const SampleResult sample = MakeSampleCollection(arguments[1], arguments[2]);
        for (const QString& path : sample.Made) {
            platform.Con.Out(path + u'\n');
        }
        for (const QString& path : sample.Kept) {
            platform.Con.Err(
                QStringLiteral("merivanectl: %1 is there already; it was left as it is\n").arg(path));
        }
        for (const QString& path : sample.Failed) {
            platform.Con.Err(QStringLiteral("merivanectl: could not make %1\n").arg(path));
        }
        return sample.Failed.isEmpty() ? kCtlOk : kCtlFailed;
    }
    if (arguments.value(0) == QLatin1String("files")) {
        return Files(platform, arguments.mid(1));
    }
    if (arguments.value(0) == QLatin1String("explain")) {
        return Explain(platform, arguments.mid(1));
    }
    if (arguments.value(0) == QLatin1String("match")) {
        return Match(platform, arguments.mid(1));
    }
    if (arguments.value(0) == QLatin1String("schedule") && arguments.size() >= 2) {
        return Schedule(platform, arguments.mid(1), machine);
    }
    if (arguments.value(0) == QLatin1String("status")) {
        return Status(platform, arguments.mid(1), machine);
    }
    if (arguments.value(0) == QLatin1String("events")) {
        return Events(platform, arguments.mid(1));
    }
    if (arguments.value(0) == QLatin1String("preview")) {
        return Preview(platform, arguments.mid(1));
    }
    if (arguments.value(0) == QLatin1String("print")) {
        return Print(platform, arguments.mid(1));
    }
    if (arguments.value(0) == QLatin1String("help") || arguments.value(0) == QLatin1String("--help")) {
        platform.Con.Out(CtlUsage());
        return kCtlOk;
    }
    platform.Con.Err(CtlUsage());
    return kCtlUsage;
}

}  // namespace merivane
