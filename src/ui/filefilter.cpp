#include "ui/filefilter.h"

QStringList toQtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts.at(i + 1).split(u';', Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            // "*.*" means every file, but Qt would hide names without a dot
            // (README, Makefile).
            if (trimmed == QLatin1String("*.*"))
                patterns.append(QStringLiteral("*"));
            else if (!trimmed.isEmpty())
                patterns.append(trimmed);
        }
        result.append(QStringLiteral("%1 (%2)").arg(parts.at(i), patterns.join(u' ')));
    }
    return result;
}
