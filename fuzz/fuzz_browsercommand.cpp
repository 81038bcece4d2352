// A command and a document: the filling of a command's placeholders with
// the document, also after a desktop entry's own codes are filled in, on any
// text.
#include "fuzzcheck.h"
#include "launch/commandline.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int which = in.ConsumeIntegralInRange<int>(0, 3);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    // Mostly ASCII, where the endings and placeholders are; sometimes UTF-16.
    const QString text = (which & 1) ? fuzz::utf16(reinterpret_cast<const uint8_t*>(rest.data()), rest.size())
                                     : QString::fromLatin1(QByteArray::fromStdString(rest));

    // The address is one argument or a piece of one, never the program; it
    // holds a quotation mark, which no word of the command itself can hold.
    // The same after the entry's own codes are filled in.
    const QString address = QStringLiteral("http://h/a b%f\"");
    const DesktopEntryFacts entry { QStringLiteral("i"), QStringLiteral("n \" %"), QStringLiteral("/k") };
    for (const QString& command : { text, fillEntryCodes(text, entry) }) {
        const QStringList words = commandArguments(command, address);
        if (words.isEmpty())
            continue;
        FUZZ_CHECK(!words.first().isEmpty());
        FUZZ_CHECK(!words.first().contains(address));
        bool found = false;
        for (const QString& word : words)
            found = found || word.contains(address);
        FUZZ_CHECK(found);
    }
    return 0;
}
