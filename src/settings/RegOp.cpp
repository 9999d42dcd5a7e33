#include "settings/RegOp.h"

#include "platform/Paths.h"

#include <QtEndian>

namespace merivane {

namespace {
constexpr int kExpandBuffer = 1024;
constexpr int kEnvironmentEntriesSearched = 100;

QString FromAnsi(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

QByteArray StringData(const QString& text) {
    QByteArray data = text.toUtf8();
    data.append('\0');
    return data;
}
}  // namespace

RegOp::RegOp(Platform& platform) : m_platform(platform), m_isNt(IsNtFamily(platform.Version.Query())) {
    if (m_isNt) {
        m_desiredAccess = kKeyRead;
    }
}

void RegOp::WantAccess(std::uint32_t access) {
    if (m_isNt) {
        m_desiredAccess = access;
    }
}

void RegOp::SetRoot(std::uint32_t root) {
    if (root == m_root) {
        return;
    }
    m_root = root;
    if (!m_key.isEmpty()) {
        OpenKey();
    }
}

void RegOp::SetKey(const QString& key) {
    if (key.isEmpty()) {
        return;
    }
    if (m_key.isEmpty()) {
        m_key = key;
        return;
    }
    if (m_key.compare(key, Qt::CaseInsensitive) != 0) {
        m_key = key;
        OpenKey();
    }
}

void RegOp::SetOptions(int options) {
    if (options >= 0 && options < 16) {
        m_options = options;
    }
}

void RegOp::ReportError(const QString& message) {
    if (m_options & kShowErrors) {
        m_platform.Ui.MessageBox(message, QStringLiteral("Registry Error"), MessageIcon::Exclamation);
    }
}

void RegOp::OpenKey() {
    m_open = false;
    if (m_root == 0) {
        m_root = static_cast<std::uint32_t>(RegRoot::CurrentUser);
    }
    if (!IsPredefinedRoot(m_root) || !m_platform.Store.CreateKey(StoreRoot(), m_key)) {
        return;
    }
    m_open = true;
    Refresh();
    m_openedAccess = m_desiredAccess;
}

void RegOp::Refresh() {
    m_info = m_platform.Store.QueryInfo(StoreRoot(), m_key).value_or(RegKeyInfo{});
    m_cache.clear();
}

bool RegOp::EnsureOpen() {
    if (m_key.isEmpty()) {
        ReportError(QStringLiteral("No Key name specified!"));
        return false;
    }
    if (m_open && m_openedAccess != 0 && m_openedAccess != m_desiredAccess) {
        m_open = false;
    }
    if (m_open) {
        return true;
    }
    OpenKey();
    if (m_open) {
        return true;
    }
    ReportError(QStringLiteral("Could not open Registry Key!"));
    return false;
}

Variant RegOp::Convert(const RegStoredValue& stored) {
    switch (stored.Type) {
        case kRegSz:
            return Variant::Text(UpToNul(FromAnsi(stored.Data)));
        case kRegExpandSz: {
            QString text = UpToNul(FromAnsi(stored.Data));
            return Variant::Text((m_options & kExpandOnRead) ? ExpandEnvironment(text) : text);
        }
        case kRegBinary: {
            // The whole enumeration buffer, which is as long as the key's longest data.
            QByteArray bytes = stored.Data;
            if (bytes.size() < m_info.LongestValueData) {
                bytes.append(QByteArray(m_info.LongestValueData - bytes.size(), '\0'));
            }
            return Variant::Text(QString::fromLatin1(bytes));
        }
        case kRegDword: {
            if (stored.Data.size() > 4) {
                return Variant();
            }
            QByteArray bytes = stored.Data + QByteArray(4 - stored.Data.size(), '\0');
            return Variant::Long(qFromLittleEndian<std::int32_t>(bytes.constData()));
        }
        case kRegMultiSz: {
            QString all = FromAnsi(stored.Data);
            int end = all.indexOf(QString(2, QChar(0)));
            if (end >= 0) {
                all = all.left(end);
            }
            if (m_options & kMultiAsArray) {
                if (all.endsWith(QChar(0))) {
                    all.chop(1);
                }
                return Variant::TextArray(all.isEmpty() ? QStringList() : all.split(QChar(0)));
            }
            return Variant::Text(all);
        }
        default:
            return Variant::Text(QStringLiteral("(unsupported data format)"));
    }
}

void RegOp::LoadValues() {
    if (m_key.isEmpty()) {
        ReportError(QStringLiteral("No Key name specified!"));
        return;
    }
    WantAccess(kKeyRead);
    if (!EnsureOpen()) {
        return;
    }
    Refresh();
    for (const RegStoredValue& stored : m_platform.Store.Values(StoreRoot(), m_key)) {
        Variant value = Convert(stored);
        if (stored.Type == kRegDword && value.IsEmpty()) {
            continue;
        }
        auto same = std::find_if(m_cache.begin(), m_cache.end(), [&](const auto& entry) {
            return entry.first.compare(stored.Name, Qt::CaseInsensitive) == 0;
        });
        if (same != m_cache.end()) {
            same->second = value;
        } else {
            m_cache.emplace_back(stored.Name, value);
        }
    }
}

Variant RegOp::Value(const QString& name) {
    if (m_cache.empty()) {
        LoadValues();
    }
    for (const auto& [cachedName, value] : m_cache) {
        if (cachedName.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return Variant();
}

std::vector<std::pair<QString, Variant>> RegOp::AllValues() {
    LoadValues();
    return m_cache;
}

void RegOp::SetValue(const QString& name, const Variant& newValue) {
    if (newValue.IsEmpty()) {
        return;
    }
    WantAccess(kKeyReadWrite);
    if (!EnsureOpen()) {
        return;
    }
    Variant value = newValue;
    bool asBinary = false;
    if (auto existing = m_platform.Store.QueryValue(StoreRoot(), m_key, name)) {
        switch (existing->Type) {
            case kRegSz:
            case kRegExpandSz:
                value = Variant::Text(value.ToText());
                break;
            case kRegBinary:
                value = Variant::Text(value.ToText());
                asBinary = true;
                break;
            case kRegDword: {
                auto number = value.ToLong();
                if (!number) {
                    return;  // a text that is no number cannot replace a number
                }
                value = Variant::Long(*number);
                break;
            }
            case kRegMultiSz:
                break;
            default:
                ReportError(
                    QStringLiteral("Existing value has unsupported data type and will not be overwritten"));
                return;
        }
    }
    if ((m_options & kNumbersAsText) && value.IsNumeric()) {
        value = Variant::Text(value.ToText());
    }
    if (name.isEmpty()) {
        value = Variant::Text(value.ToText());
    }

    std::uint32_t type = kRegSz;
    QByteArray data;
    if (value.kind() == Variant::Kind::TextArray) {
        type = kRegMultiSz;
        data = value.ToTextArray().join(QChar(0)).toUtf8();
        data.append(2, '\0');
    } else if (value.IsInteger()) {
        type = kRegDword;
        data.resize(4);
        qToLittleEndian<std::int32_t>(*value.ToLong(), data.data());
    } else if (asBinary) {
        type = kRegBinary;
        data = value.ToText().toLatin1();
    } else {
        QString text = value.ToText();
        type = (value.kind() == Variant::Kind::Text && ContainsEnvironmentName(text)) ? kRegExpandSz : kRegSz;
        data = StringData(text);
    }
    if (m_platform.Store.SetValue(StoreRoot(), m_key, name, type, data)) {
        Refresh();
    }
}

bool RegOp::ContainsEnvironmentName(const QString& text) const {
    int first = text.indexOf(u'%');
    if (first < 0 || first == text.lastIndexOf(u'%')) {
        return false;
    }
    const auto entries = m_platform.Env.Entries();
    for (int i = 0; i < entries.size() && i < kEnvironmentEntriesSearched; ++i) {
        const QString& entryName = entries[i].first;
        if (entryName.isEmpty()) {
            break;
        }
        if (text.contains(u'%' + entryName + u'%', Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

QString RegOp::ExpandEnvironment(const QString& text) const {
    QString expanded = ExpandEnvironmentText(m_platform.Env, text);
    // Text that would not fit the system call's buffer comes back empty rather than cut.
    return expanded.size() >= kExpandBuffer ? QString() : expanded;
}

bool RegOp::DeleteValue(const QString& name) {
    WantAccess(kKeyAllAccess);
    if (!EnsureOpen()) {
        return false;
    }
    if (!m_platform.Store.DeleteValue(StoreRoot(), m_key, name)) {
        return false;
    }
    Refresh();
    return true;
}

bool RegOp::DeleteKey() {
    if (m_key.isEmpty()) {
        ReportError(QStringLiteral("No Key name specified!"));
        return false;
    }
    int slash = m_key.lastIndexOf(u'\\');
    if (slash < 0 || slash == m_key.size() - 1) {
        return false;
    }
    QString parent = m_key.left(slash);
    QString leaf = m_key.mid(slash + 1);
    m_key = parent;
    WantAccess(kKeyAllAccess);
    OpenKey();
    if (!m_open) {
        return false;
    }
    if (!m_platform.Store.DeleteTree(StoreRoot(), parent + u'\\' + leaf)) {
        return false;
    }
    Refresh();
    return true;
}

int RegOp::ValueCount() {
    if (!EnsureOpen()) {
        return 0;
    }
    Refresh();
    return m_info.ValueCount;
}

int RegOp::KeyCount() {
    if (!EnsureOpen()) {
        return 0;
    }
    Refresh();
    return m_info.SubkeyCount;
}

QStringList RegOp::AllKeys() {
    if (!EnsureOpen()) {
        return {};
    }
    return m_platform.Store.Subkeys(StoreRoot(), m_key);
}

}  // namespace merivane
