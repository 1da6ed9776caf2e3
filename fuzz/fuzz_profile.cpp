// The profile parser: any bytes as a configuration file, read, looked up, changed and written back.
#include "platform/IniDocument.h"
#include "platform/TextCodec.h"

#include <cstddef>
#include <cstdint>

using namespace trv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const DecodedText decoded = decodeText(bytes);
    // A file loaded and saved unchanged keeps every byte (UTF-8 is written without the mark the caller keeps).
    if (decoded.encoding != TextEncoding::Utf8 && encodeText(decoded.text, decoded.encoding) != bytes)
        __builtin_trap();
    IniDocument doc = IniDocument::fromText(decoded.text, decoded.encoding);
    for (const QString& section : doc.sectionNames()) {
        for (const QString& key : doc.keyNames(section))
            (void)doc.value(section, key);
    }
    (void)doc.value(QStringLiteral("Data"), QStringLiteral("Dir"));
    doc.setValue(QStringLiteral("Firma"), QStringLiteral("FirmaID"), QStringLiteral("0000000000"));
    // What is written reads back with the value just set.
    const QString written = doc.toText();
    const IniDocument again = IniDocument::fromText(written, doc.encoding());
    if (again.value(QStringLiteral("Firma"), QStringLiteral("FirmaID")) != QStringLiteral("0000000000"))
        __builtin_trap();
    (void)encodeText(written, doc.encoding());
    return 0;
}
