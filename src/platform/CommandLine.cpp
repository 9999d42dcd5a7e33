#include "platform/Processes.h"

namespace merivane {

namespace {
bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
}  // namespace

QStringList SplitWindowsCommandLine(const QString& commandLine) {
    QStringList args;
    const int n = commandLine.size();
    int i = 0;
    while (i < n && IsBlank(commandLine[i])) {
        ++i;
    }
    if (i >= n) {
        return args;
    }

    // The program name: no escapes, a quote only groups.
    QString program;
    if (commandLine[i] == u'"') {
        ++i;
        while (i < n && commandLine[i] != u'"') {
            program += commandLine[i++];
        }
        if (i < n) {
            ++i;
        }
    } else {
        while (i < n && !IsBlank(commandLine[i])) {
            program += commandLine[i++];
        }
    }
    args << program;

    while (true) {
        while (i < n && IsBlank(commandLine[i])) {
            ++i;
        }
        if (i >= n) {
            break;
        }
        QString arg;
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(commandLine[i]))) {
            if (commandLine[i] == u'\\') {
                int slashes = 0;
                while (i < n && commandLine[i] == u'\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && commandLine[i] == u'"') {
                    arg += QString(slashes / 2, u'\\');
                    if (slashes % 2 == 1) {
                        arg += u'"';
                        ++i;
                    }
                } else {
                    arg += QString(slashes, u'\\');
                }
            } else if (commandLine[i] == u'"') {
                if (quoted && i + 1 < n && commandLine[i + 1] == u'"') {
                    arg += u'"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += commandLine[i++];
            }
        }
        args << arg;
    }
    return args;
}

QString QuoteWindowsArgument(const QString& argument) {
    QString out = QStringLiteral("\"");
    int slashes = 0;
    for (QChar c : argument) {
        if (c == u'\\') {
            ++slashes;
            continue;
        }
        out += QString(c == u'"' ? slashes * 2 + 1 : slashes, u'\\');
        out += c;
        slashes = 0;
    }
    return out + QString(slashes * 2, u'\\') + u'"';
}

}  // namespace merivane
