#include "platform/Paths.h"

namespace merivane {

bool IsSeparator(QChar c) {
    return c == u'\\' || c == u'/';
}

int LastSeparator(const QString& path) {
    for (int i = path.size() - 1; i >= 0; --i) {
        if (IsSeparator(path[i])) {
            return i;
        }
    }
    return -1;
}

QString FolderOf(const QString& path) {
    int sep = LastSeparator(path);
    if (sep <= 0) {
        return path;
    }
    return path.left(sep + 1);
}

QString FileNameOf(const QString& path) {
    int sep = LastSeparator(path);
    if (sep < 0 || sep == path.size() - 1) {
        return path.trimmed();
    }
    return path.mid(sep + 1).trimmed();
}

namespace {
// Position of the dot that starts the extension, or -1.
int ExtensionDot(const QString& path) {
    int dot = path.lastIndexOf(u'.');
    if (dot <= 0 || dot < LastSeparator(path)) {
        return -1;
    }
    return dot;
}
}  // namespace

QString PathWithoutExtension(const QString& path) {
    int dot = ExtensionDot(path);
    return dot < 0 ? path : path.left(dot);
}

QString ExtensionOf(const QString& path) {
    int dot = ExtensionDot(path);
    return dot < 0 ? QString() : path.mid(dot);
}

QString CutAtNul(const QString& text) {
    QString trimmed = text.trimmed();
    if (!trimmed.endsWith(QChar(0))) {
        return text;
    }
    return UpToNul(text).trimmed();
}

QString UpToNul(const QString& text) {
    int nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString WithTrailingSeparator(const QString& folder) {
    if (!folder.isEmpty() && IsSeparator(folder.back())) {
        return folder;
    }
    return folder + u'/';
}

}  // namespace merivane
