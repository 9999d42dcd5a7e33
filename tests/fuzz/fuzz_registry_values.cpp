// Registry values: any stored bytes of any type read through RegOp without harm; a text
// written reads back; a REGEDIT4 text that imports exports and imports to the same store.
#include "FuzzSupport.h"

#include "platform/SqliteRegistryStore.h"
#include "settings/RegFile.h"
#include "settings/RegOp.h"
#include "support/TestPlatform.h"

using namespace merivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::TestPlatform* sys = new test::TestPlatform();
    const QByteArray bytes = fuzz::Bytes(data, size);
    const QString key = QStringLiteral("Fuzz");
    sys->store->DeleteTree(RegRoot::CurrentUser, key);
    sys->store->CreateKey(RegRoot::CurrentUser, key);
    if (size > 0) {
        std::uint32_t type = data[0] % 12;
        sys->store->SetValue(RegRoot::CurrentUser, key, QStringLiteral("raw"), type, bytes.mid(1));
    }
    for (int options : {0, 2, 4, 6}) {
        RegOp reg(sys->Get());
        reg.SetKey(key);
        reg.SetOptions(options);
        Variant v = reg.Value(QStringLiteral("raw"));
        v.ToLong();
        v.ToBoolean();
        v.ToDate();
        // Writing it back follows the stored type and never fails loudly.
        reg.SetValue(QStringLiteral("raw"), v);
    }
    // A text without NULs reads back as written.
    QString text = QString::fromUtf8(bytes).remove(QChar(0));
    RegOp writer(sys->Get());
    writer.SetKey(key);
    writer.SetValue(QStringLiteral("text"), Variant::Text(text));
    if (!text.isEmpty()) {
        FUZZ_CHECK(writer.Value(QStringLiteral("text")).ToText() == text);
    }
    // The REGEDIT4 form: what imports, exports, imports again and exports the same.
    static int round = 0;
    auto a = SqliteRegistryStore::Open(QStringLiteral(":memory:"), [](const QString&) {});
    QString error;
    if (ImportRegistry(*a, QString::fromUtf8(bytes), &error)) {
        QString first = *ExportRegistry(*a, QString(), &error);
        auto b = SqliteRegistryStore::Open(QStringLiteral(":memory:"), [](const QString&) {});
        FUZZ_CHECK(ImportRegistry(*b, first, &error));
        FUZZ_CHECK(*ExportRegistry(*b, QString(), &error) == first);
    }
    ++round;
    return 0;
}
