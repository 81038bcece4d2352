#include "tools/pagecheck.h"

#include "tools/checkercolumns.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <tuple>
#include <type_traits>

namespace pagecheck {

namespace {

struct Collected {
    std::vector<Row> rows;
    qsizetype errors = 0;
    qsizetype warnings = 0;
};

Bool TIDY_CALL collect(TidyMessage message)
{
    auto* out = static_cast<Collected*>(tidyGetAppData(tidyGetMessageDoc(message)));
    Kind kind;
    switch (tidyGetMessageLevel(message)) {
    case TidyError:
    case TidyBadDocument:
    case TidyFatal:
        kind = Kind::Error;
        if (++out->errors > kMaxRowsOfAKind)
            return no;
        break;
    case TidyWarning:
        kind = Kind::Warning;
        if (++out->warnings > kMaxRowsOfAKind)
            return no;
        break;
    default: // information, configuration and the closing summary
        return no;
    }
    out->rows.push_back({ kind, tidyGetMessageLine(message), tidyGetMessageColumn(message),
                          QString::fromUtf8(tidyGetMessage(message)) });
    // Tidy prints nothing of its own.
    return no;
}

struct DocDeleter {
    void operator()(TidyDoc doc) const { tidyRelease(doc); }
};

} // namespace

Result check(const QString& text)
{
    Collected collected;
    std::unique_ptr<std::remove_pointer_t<TidyDoc>, DocDeleter> doc(tidyCreate());
    TidyDoc tdoc = doc.get();
    tidySetAppData(tdoc, &collected);
    tidySetMessageCallback(tdoc, collect);
    TidyBuffer sink;
    tidyBufInit(&sink);
    tidySetErrorBuffer(tdoc, &sink); // the dialogue lines the callback does not see
    tidyOptSetBool(tdoc, TidyXmlTags, no);
    tidyOptSetBool(tdoc, TidyShowWarnings, yes);
    tidyOptSetBool(tdoc, TidyShowInfo, no);
    tidyOptSetBool(tdoc, TidyQuiet, yes);
    tidyOptSetBool(tdoc, TidyShowMarkup, no); // messages only, no output document
    tidyOptSetInt(tdoc, TidyShowErrors, INT_MAX); // Tidy stops at 6 errors by default
    tidyOptSetInt(tdoc, TidyWrapLen, 0);
    tidyOptSetInt(tdoc, TidyTabSize, 1); // a tab is one column, as in the editor
    tidySetInCharEncoding(tdoc, "utf8");

    // A buffer of explicit size: NUL characters do not end the text.
    QByteArray bytes = text.toUtf8();
    TidyBuffer input;
    tidyBufInit(&input);
    tidyBufAttach(&input, reinterpret_cast<byte*>(bytes.data()), uint(bytes.size()));
    if (tidyParseBuffer(tdoc, &input) >= 0 && tidyCleanAndRepair(tdoc) >= 0)
        tidyRunDiagnostics(tdoc);
    tidyBufDetach(&input);
    tidyBufFree(&sink);
    doc.reset();

    Result result;
    result.errors = collected.errors;
    result.warnings = collected.warnings;
    result.rows = std::move(collected.rows);
    const CheckerColumns columns(text);
    for (Row& row : result.rows)
        if (row.line > 0)
            row.column = int(columns.offset(row.line, row.column)) + 1;
    // Tidy reports some messages only after the whole page is read.
    std::stable_sort(result.rows.begin(), result.rows.end(), [](const Row& a, const Row& b) {
        const auto place = [](const Row& row) {
            return std::make_tuple(row.kind, row.line == 0 ? INT_MAX : row.line, row.column);
        };
        return place(a) < place(b);
    });
    result.texts.reserve(qsizetype(result.rows.size()));
    for (const Row& row : result.rows)
        result.texts.append(rowText(row));
    return result;
}

QString rowText(const Row& row)
{
    if (row.line <= 0)
        return row.text;
    return QStringLiteral("строка %1, столбец %2: %3").arg(row.line).arg(row.column).arg(row.text);
}

QString summary(const Result& result)
{
    return QStringLiteral("Ошибок: %1, предупреждений: %2").arg(result.errors).arg(result.warnings);
}

} // namespace pagecheck
