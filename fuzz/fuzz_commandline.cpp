// Command lines fall apart into words by a small rule (blanks and tabs
// separate, double quotes group and vanish, no other character means
// anything). Checked against a model of that rule, and against the joining
// the editor does: quoting a word that holds no quotation mark keeps it whole.
#include "fuzzcheck.h"
#include "launch/commandline.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

QStringList modelSplit(const QString& line)
{
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        while (i < n && (line[i] == u' ' || line[i] == u'\t'))
            ++i;
        if (i == n)
            return words;
        QString word;
        bool quoted = false;
        for (; i < n; ++i) {
            const QChar c = line[i];
            if (c == u'"')
                quoted = !quoted;
            else if (!quoted && (c == u' ' || c == u'\t'))
                break;
            else
                word += c;
        }
        words.append(word);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool asWords = in.ConsumeBool();
    const QString line = fuzz::utf16(data, size);

    const QStringList words = splitCommandLine(line);
    FUZZ_CHECK(words == modelSplit(line));
    for (const QString& w : words)
        FUZZ_CHECK(!w.contains(u'"'));

    if (asWords) {
        // Words chosen by the input, joined as the editor joins a program and a
        // quoted file name: each comes back whole, blanks and all.
        QStringList chosen;
        while (in.remaining_bytes() > 0) {
            QString w = QString::fromUtf8(QByteArray::fromStdString(in.ConsumeRandomLengthString(64)));
            w.remove(u'"');
            chosen.append(w);
        }
        QString joined;
        for (const QString& w : chosen)
            joined += (joined.isEmpty() ? QString() : QStringLiteral(" ")) + u'"' + w + u'"';
        FUZZ_CHECK(splitCommandLine(joined) == chosen);
    }
    return 0;
}
