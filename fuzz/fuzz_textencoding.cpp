// The encoding of a file's bytes: the strict UTF-8 check against a small
// model that decodes code point by code point (and against Qt's decoder),
// and every decision round-trips: the bytes written back in the encoding
// chosen are the bytes read, so no byte is ever replaced.
#include "core/encoding/linebreaks.h"
#include "core/encoding/textencoding.h"
#include "fuzzcheck.h"

#include <QStringDecoder>

namespace {

// Offset of the first byte that starts no well-formed sequence, -1 if none:
// the lead's length, then the code point, which must need that length, be
// no surrogate and be at most U+10FFFF.
qsizetype modelFirstInvalid(const QByteArray& in)
{
    qsizetype i = 0;
    while (i < in.size()) {
        const auto lead = static_cast<unsigned char>(in[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > in.size())
            return i;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(in[i + k]);
            if ((next & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (next & 0x3F);
        }
        const char32_t least[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return i;
        i += length;
    }
    return -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray raw = fuzz::bytes(data, size);
    const qsizetype invalid = textencoding::firstInvalidUtf8(raw);
    FUZZ_CHECK(invalid == modelFirstInvalid(raw));
    QStringDecoder qt(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString byQt = qt.decode(raw);
    FUZZ_CHECK(qt.hasError() == (invalid >= 0));

    QString decoded;
    const DocumentEncoding found = textencoding::detect(raw, &decoded);
    FUZZ_CHECK(textencoding::detect(raw).charset == found.charset);
    const bool marked = raw.startsWith("\xEF\xBB\xBF");
    if (found.isUtf8()) {
        FUZZ_CHECK(invalid < 0 && found.byteOrderMark == marked);
        FUZZ_CHECK(decoded == textencoding::decode(raw, found));
        FUZZ_CHECK(textencoding::decodeUtf8(raw) == decoded);
    } else {
        // Windows-1251: not UTF-8, or pure ASCII without a UTF-8 mark.
        FUZZ_CHECK(!found.byteOrderMark);
        FUZZ_CHECK(invalid >= 0 || (!marked && byQt.size() == raw.size()));
        FUZZ_CHECK(!textencoding::decodeUtf8(raw) == (invalid >= 0));
    }
    // Whatever was decided, the bytes come back as they were.
    FUZZ_CHECK(textencoding::encode(textencoding::decode(raw, found), found) == raw);

    // The break pass over decoded text: the same as over a copy.
    QString inPlace = textencoding::decode(raw, found);
    const QString copy = linebreaks::toEditorText(inPlace);
    linebreaks::TextShape shape;
    linebreaks::toEditorTextInPlace(inPlace, &shape);
    FUZZ_CHECK(inPlace == copy);
    FUZZ_CHECK(shape.breaks == copy.count(u'\n'));
    return 0;
}
