// Random edits of the editing area (typing, keys, selections, clipboard,
// drags, input methods, whole-text commands, undo) against a plain-string
// model, in both wrap modes, with the journal replayed against the editor.
#include "fuzzcheck.h"
#include "support/randomedits.h"

#include <QApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    // Never destroyed: at exit the platform's objects may already be gone.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString failure = randomedits::run(data, size, 120);
    if (!failure.isEmpty())
        std::fprintf(stderr, "%s\n", failure.toLocal8Bit().constData());
    FUZZ_CHECK(failure.isEmpty());
    return 0;
}
