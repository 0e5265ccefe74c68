// libFuzzer target: the row-set XML reader on arbitrary bytes.
#include "shared/rowset/RowSetXml.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    RowSet rs;
    Error error;
    if (RowSetXml::Parse(bytes, &rs, &error)) {
        // Whatever was read must be writable again.
        (void)RowSetXml::Serialize(rs);
    }
    return 0;
}
