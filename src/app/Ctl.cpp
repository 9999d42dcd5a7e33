#include "app/Ctl.h"

#include "settings/RegFile.h"

#include <QFile>
#include <QStringDecoder>

namespace merivane {

namespace {

constexpr int kCtlOk = 0;
constexpr int kCtlFailed = 1;
constexpr int kCtlUsage = 2;

// UTF-8 when the bytes are valid UTF-8, else the Windows code page the file came from.
QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    QStringDecoder ansi("windows-1252");
    if (ansi.isValid()) {
        return ansi.decode(bytes);
    }
    return QString::fromLatin1(bytes);
}

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
        platform.Con.Err(
            QStringLiteral("merivanectl: cannot read %1: %2\n").arg(args[0], file.errorString()));
        return kCtlFailed;
    }
    QString error;
    if (!ImportRegistry(platform.Store, DecodeText(file.readAll()), &error)) {
        platform.Con.Err(QStringLiteral("merivanectl: %1: %2\n").arg(args[0], error));
        return kCtlFailed;
    }
    return kCtlOk;
}

}  // namespace

QString CtlUsage() {
    return QStringLiteral(
        "usage: merivanectl reg export [KEY]   write the settings store (or the tree below KEY) as REGEDIT4 "
        "text\n"
        "       merivanectl reg import FILE    add or replace the keys and values of a REGEDIT4 file\n");
}

int RunCtl(Platform& platform, const QStringList& arguments) {
    if (arguments.size() >= 2 && arguments[0] == QLatin1String("reg")) {
        QStringList rest = arguments.mid(2);
        if (arguments[1] == QLatin1String("export")) {
            return RegExport(platform, rest);
        }
        if (arguments[1] == QLatin1String("import")) {
            return RegImport(platform, rest);
        }
    }
    if (arguments.value(0) == QLatin1String("help") || arguments.value(0) == QLatin1String("--help")) {
        platform.Con.Out(CtlUsage());
        return kCtlOk;
    }
    platform.Con.Err(CtlUsage());
    return kCtlUsage;
}

}  // namespace merivane
