// Windows-1251 codec: every byte string survives a decode and an encode
// unchanged, and any text, however foreign, encodes into bytes that decode
// back to the text with its unencodable characters as character references.
#include "core/encoding/cp1251.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray raw = fuzz::bytes(data, size);
    const QString decoded = cp1251::decode(raw);
    FUZZ_CHECK(decoded.size() == raw.size());
    for (const QChar c : decoded)
        FUZZ_CHECK(cp1251::isEncodable(c));
    FUZZ_CHECK(cp1251::encode(decoded) == raw);
    FUZZ_CHECK(cp1251::escapeUnencodable(decoded) == decoded);

    const QString text = fuzz::utf16(data, size);
    const QString escaped = cp1251::escapeUnencodable(text);
    for (const QChar c : escaped)
        FUZZ_CHECK(cp1251::isEncodable(c));
    const QByteArray encoded = cp1251::encode(text);
    FUZZ_CHECK(encoded.size() == escaped.size());
    FUZZ_CHECK(cp1251::decode(encoded) == escaped);
    // Escaping twice changes nothing more: the references are plain ASCII.
    FUZZ_CHECK(cp1251::escapeUnencodable(escaped) == escaped);
    return 0;
}
