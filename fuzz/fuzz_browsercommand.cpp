// The browser command of the web-link launcher: placeholder removal and the
// split of a registered command, each against a model written from their
// rules; the split of a desktop entry's Exec line and the registry value
// buffer on any text.
#include "fuzzcheck.h"
#include "launch/commandline.h"
#include "launch/gotoweb.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// Scan from the first character; a '%' goes with the character after it and
// the same position is looked at again; the scan ends once its position is
// the last character (1-based, as the rule is written).
QString modelRemovePlaceholders(QString s)
{
    if (s.isEmpty())
        return s;
    int i = 1;
    do {
        if (s[i - 1] == u'%')
            s.remove(i - 1, 2);
        else
            ++i;
    } while (i < s.size());
    return s;
}

gotoweb::CommandParts modelSplit(const QString& command)
{
    gotoweb::CommandParts parts;
    if (command.isEmpty())
        return parts;
    QString upper = command;
    for (QChar& c : upper)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    qsizetype end = -1; // index of the last character of the ending
    for (qsizetype p = upper.size() - 1; p >= 3; --p) {
        const QString four = upper.mid(p - 3, 4);
        if (four == u".EXE" || four == u".BAT" || four == u".COM") {
            end = p;
            break;
        }
    }
    if (end < 0)
        return parts; // no program part
    QString rest = upper.mid(end + 1);
    if (!rest.isEmpty()) {
        qsizetype from = 0;
        qsizetype to = rest.size();
        while (from < to && rest[from].unicode() <= 32)
            ++from;
        while (to > from && rest[to - 1].unicode() <= 32)
            --to;
        rest = rest.mid(from, to - from);
        while (rest.startsWith(u'"'))
            rest.remove(0, 1);
        parts.parameters = rest;
        parts.program = upper.left(end + 1);
    } else {
        parts.program = upper;
    }
    if (parts.program.startsWith(u'"'))
        parts.program.remove(0, 1);
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int which = in.ConsumeIntegralInRange<int>(0, 3);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    // Mostly ASCII, where the endings and placeholders are; sometimes UTF-16.
    const QString text = (which & 1) ? fuzz::utf16(reinterpret_cast<const uint8_t*>(rest.data()), rest.size())
                                     : QString::fromLatin1(QByteArray::fromStdString(rest));

    const QString cleaned = gotoweb::removePlaceholders(text);
    FUZZ_CHECK(cleaned == modelRemovePlaceholders(text));
    FUZZ_CHECK(cleaned.size() <= text.size());

    const gotoweb::CommandParts parts = gotoweb::splitRegisteredCommand(cleaned);
    const gotoweb::CommandParts expected = modelSplit(cleaned);
    FUZZ_CHECK(parts.program == expected.program);
    if (!expected.program.isEmpty())
        FUZZ_CHECK(parts.parameters == expected.parameters);

    const gotoweb::CommandParts exec = gotoweb::splitExecLine(text);
    FUZZ_CHECK(!exec.program.contains(u'"'));
    FUZZ_CHECK(exec.program == splitCommandLine(text).value(0));

    const std::optional<QString> value = gotoweb::valueText(text);
    if (value) {
        FUZZ_CHECK(!value->contains(QChar(0)));
        FUZZ_CHECK(text.startsWith(*value));
    }
    return 0;
}
