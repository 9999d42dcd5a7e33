// The command line: the switch, the "/a" file name, and the Windows splitting of a command
// line, which must give back exactly the arguments that were quoted into it.
#include "FuzzSupport.h"

#include "app/Main.h"
#include "platform/Processes.h"

using namespace merivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);
    const QString line = QString::fromUtf8(bytes);
    FUZZ_CHECK(BuildSwitch(line).size() == 2);
    if (auto name = ApplyFileName(line, QStringLiteral("/themes/"))) {
        FUZZ_CHECK(name->contains(QStringLiteral(".theme"), Qt::CaseInsensitive));
    }
    SplitWindowsCommandLine(line);

    // Arguments (the input cut at NULs) quoted into one line split back to themselves.
    QStringList args = fuzz::Parts(bytes, 1);
    QString program = args.takeFirst();
    program.remove(u'"').remove(u' ').remove(u'\t');
    if (program.isEmpty()) {
        program = QStringLiteral("app.exe");
    }
    QStringList parts{program};
    for (const QString& arg : args) {
        parts << QuoteWindowsArgument(arg);
    }
    FUZZ_CHECK(SplitWindowsCommandLine(parts.join(u' ')) == QStringList{program} + args);
    return 0;
}
