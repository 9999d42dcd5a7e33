// Override values and override files: a value that reads reads the same after it is
// written back; a whole file of anything reads without harm.
#include "FuzzSupport.h"

#include "calendar/Overrides.h"

#include <QFile>
#include <QTemporaryDir>

using namespace merivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    const QByteArray bytes = fuzz::Bytes(data, size);
    const QString value = QString::fromUtf8(bytes.left(600));
    if (auto entry = ParseOverrideValue(value)) {
        QString written =
            QStringLiteral("%1 %2 %3").arg(entry->Priority).arg(entry->DaysShown).arg(entry->OverrideText);
        auto again = ParseOverrideValue(written);
        if (!entry->OverrideText.trimmed().isEmpty()) {
            FUZZ_CHECK(again.has_value());
            FUZZ_CHECK(again->Priority == entry->Priority && again->DaysShown == entry->DaysShown);
            FUZZ_CHECK(again->OverrideText == entry->OverrideText);
        }
    }
    const QString app = dir.path() + "/";
    {
        QFile file(app + kOverrideFileName);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }
    OverrideReader reader(app);
    OverrideEntry one = reader.Read(QStringLiteral("Snow.jpg"));
    FUZZ_CHECK(one == ReadOverride(app, QStringLiteral("Snow.jpg")));
    // Writing an override into whatever the file held, then reading it.
    WriteOverride(app, QStringLiteral("Fuzz.jpg"), {1, 7, QStringLiteral("12/25")});
    FUZZ_CHECK(ReadOverride(app, QStringLiteral("fuzz.JPG")) ==
               (OverrideEntry{1, 7, QStringLiteral("12/25")}));
    return 0;
}
