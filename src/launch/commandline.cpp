#include "launch/commandline.h"

QStringList splitCommandLine(const QString& commandLine)
{
    QStringList words;
    QString word;
    bool inWord = false;   // a word has begun, possibly with an empty quoted part
    bool quoted = false;
    for (const QChar c : commandLine) {
        if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == u' ' || c == u'\t')) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else {
            word.append(c);
            inWord = true;
        }
    }
    // An unclosed quote runs to the end of the line.
    if (inWord)
        words.append(word);
    return words;
}

namespace {

bool takesDocument(QChar code)
{
    return code == u'f' || code == u'F' || code == u'u' || code == u'U' || code == u'1';
}

struct FilledWord {
    QString text;
    bool tookDocument = false;
    bool droppedCode = false;
};

FilledWord fillWord(const QString& word, const QString& document)
{
    FilledWord out;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word.at(i);
        // A "%" that ends the word introduces no code and stays.
        if (c != u'%' || i + 1 == word.size()) {
            out.text.append(c);
            continue;
        }
        const QChar code = word.at(++i);
        if (code == u'%') {
            out.text.append(u'%');
        } else if (takesDocument(code)) {
            out.text.append(document);
            out.tookDocument = true;
        } else {
            out.droppedCode = true;
        }
    }
    return out;
}

/// A value as one quoted word that commandArguments gives back unchanged.
QString quotedValue(QString value)
{
    value.remove(u'"');
    value.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return u'"' + value + u'"';
}

} // namespace

QStringList commandArguments(const QString& command, const QString& document)
{
    QStringList arguments;
    bool filled = false;
    bool first = true;
    for (const QString& word : splitCommandLine(command)) {
        const FilledWord result = fillWord(word, document);
        if (first && (result.tookDocument || result.text.isEmpty()))
            return {}; // the document, or nothing, where the program belongs
        first = false;
        filled = filled || result.tookDocument;
        if (result.droppedCode && !result.tookDocument && result.text.isEmpty())
            continue;
        arguments.append(result.text);
    }
    if (arguments.isEmpty())
        return {};
    if (!filled)
        arguments.append(document);
    return arguments;
}

QString fillEntryCodes(const QString& execLine, const DesktopEntryFacts& entry)
{
    QString out;
    for (qsizetype i = 0; i < execLine.size(); ++i) {
        const QChar c = execLine.at(i);
        if (c != u'%' || i + 1 == execLine.size()) {
            out.append(c);
            continue;
        }
        const QChar code = execLine.at(++i);
        if (code == u'i') {
            if (!entry.icon.isEmpty())
                out += QStringLiteral("--icon ") + quotedValue(entry.icon);
        } else if (code == u'c') {
            out += quotedValue(entry.name);
        } else if (code == u'k') {
            out += quotedValue(entry.entryFile);
        } else {
            out.append(c);
            out.append(code);
        }
    }
    return out;
}
