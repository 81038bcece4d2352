// The ini profile reader and writer on any bytes: a file is kept byte for
// byte, reads agree with a small model of the profile rules, and a write
// changes the one value and no other.
#include "core/encoding/cp1251.h"
#include "core/settings/inifile.h"
#include "fuzzcheck.h"

#include <QStringList>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

const QStringList kSections { "FONT", "font", " Paths ", "USER", "InternetShortcut", "x", "" };
const QStringList kKeys { "name", "NAME", "size", "URL", " url ", "netscape", "k", "" };

const QString kDefault = QStringLiteral("<no value>");

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString trimBlanks(const QString& s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && isBlank(s[from]))
        ++from;
    while (to > from && isBlank(s[to - 1]))
        --to;
    return s.mid(from, to - from);
}

// Model of a read: lines end at CRLF, CR or LF; "[name]" (the closing bracket
// optional) starts a section; in a section whose name matches, the first
// "key=value" line with a matching key gives the value, trimmed and cut to
// 1023 characters; lines starting with ';' are comments.
std::optional<QString> modelRead(const QString& text, const QString& section, const QString& key)
{
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    bool in = false;
    for (const QString& raw : normal.split(u'\n')) {
        const QString line = trimBlanks(raw);
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[')) {
            const QString name = trimBlanks(line.mid(1).section(u']', 0, 0));
            in = name.compare(trimBlanks(section), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!in || line.startsWith(u';') || !line.contains(u'='))
            continue;
        if (trimBlanks(line.section(u'=', 0, 0)).compare(trimBlanks(key), Qt::CaseInsensitive) != 0)
            continue;
        return trimBlanks(line.section(u'=', 1)).left(IniFile::kMaxValueLength);
    }
    return std::nullopt;
}

bool sameName(const QString& a, const QString& b)
{
    return trimBlanks(a).compare(trimBlanks(b), Qt::CaseInsensitive) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QString section = kSections[in.ConsumeIntegralInRange<int>(0, int(kSections.size()) - 1)];
    const QString key = kKeys[in.ConsumeIntegralInRange<int>(0, int(kKeys.size()) - 1)];
    const std::string valueBytes = in.ConsumeRandomLengthString(2048);
    const QString value = cp1251::decode(QByteArray::fromStdString(valueBytes));
    const std::string fileBytes = in.ConsumeRemainingBytesAsString();
    const QByteArray file = QByteArray::fromStdString(fileBytes);
    // A UTF-8 byte-order mark at the start is no text of the profile.
    const QByteArray bom("\xEF\xBB\xBF");
    const QString text = cp1251::decode(file.startsWith(bom) ? file.mid(bom.size()) : file);

    IniFile ini = IniFile::fromBytes(file);
    FUZZ_CHECK(ini.toBytes() == file);

    // Reads agree with the model, for every probe name.
    QList<std::pair<QString, QString>> probes;
    for (const QString& s : kSections)
        for (const QString& k : kKeys)
            probes.append({ s, k });
    QStringList before;
    for (const auto& [s, k] : probes) {
        const std::optional<QString> expected = modelRead(text, s, k);
        const QString got = ini.value(s, k, kDefault);
        FUZZ_CHECK(got == expected.value_or(kDefault));
        FUZZ_CHECK(ini.contains(s, k) == expected.has_value());
        before.append(got);
    }

    // A write sets this value (one line, trimmed, cut) and leaves the others.
    ini.setValue(section, key, value);
    QString oneLine = value;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString expected = trimBlanks(oneLine).left(IniFile::kMaxValueLength);
    if (!trimBlanks(key).isEmpty()) {
        FUZZ_CHECK(ini.value(section, key) == expected);
        const IniFile reread = IniFile::fromBytes(ini.toBytes());
        FUZZ_CHECK(reread.value(section, key) == expected);
    }
    for (qsizetype i = 0; i < probes.size(); ++i) {
        const auto& [s, k] = probes[i];
        if (sameName(s, section) && sameName(k, key))
            continue;
        FUZZ_CHECK(ini.value(s, k, kDefault) == before[i]);
    }
    return 0;
}
