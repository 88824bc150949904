#include "ImportSummary.h"

#include <algorithm>

namespace bryx::host {

void ImportSummary::skip(const RowOrigin& origin, const QString& reason)
{
    if (!origin.file.isEmpty()) {
        const std::pair key {origin.file, origin.line};
        if (m_skippedOrigins.contains(key))
            return;
        m_skippedOrigins.insert(key);
    }
    ++skippedRows;
    if (skipped.size() < KeptReasons)
        skipped.push_back({origin, reason});
    if (reportSkipped)
        reportSkipped({origin, reason});
}

void ImportSummary::warn(const RowOrigin& origin, const QString& kind, const QString& detail)
{
    auto found = std::find_if(warnings.begin(), warnings.end(),
                              [&](const ImportWarning& warning) { return warning.kind == kind; });
    if (found == warnings.end())
        found = warnings.insert(warnings.end(), ImportWarning {kind, 0, {}});
    ++found->count;
    if (found->first.size() < ListedWarnings)
        found->first.push_back({origin, detail});
}

void ImportSummary::countTypeRule(const QString& rule, qint64 names)
{
    if (names <= 0)
        return;
    auto found = std::find_if(nameTypeRules.begin(), nameTypeRules.end(),
                              [&](const auto& counted) { return counted.first == rule; });
    if (found == nameTypeRules.end())
        nameTypeRules.emplace_back(rule, names);
    else
        found->second += names;
}

QString ImportSummary::describe(size_t listed) const
{
    QStringList lines {QStringLiteral("names read: %1").arg(namesRead),
                       QStringLiteral("names imported: %1").arg(imported)};
    if (updated > 0)
        lines << QStringLiteral("names updated: %1").arg(updated);
    if (alreadyPresent > 0)
        lines << QStringLiteral("already in the database: %1 (left as they were; updating changes them)")
                     .arg(alreadyPresent);
    if (!nameTypeRules.empty()) {
        QStringList rules;
        for (const auto& [rule, names] : nameTypeRules)
            rules << QStringLiteral("%1 %2").arg(rule).arg(names);
        lines << QStringLiteral("name types from: %1").arg(rules.join(QStringLiteral(", ")));
    }
    lines << QStringLiteral("references added: %1").arg(referencesAdded)
          << QStringLiteral("reference links added: %1").arg(linksAdded)
          << QStringLiteral("rows skipped: %1").arg(skippedRows);
    for (size_t i = 0; i < skipped.size() && i < listed; ++i)
        lines << QStringLiteral("    %1: %2").arg(skipped[i].origin.text(), skipped[i].reason);
    const qint64 unlisted = skippedRows - qint64(std::min(listed, skipped.size()));
    if (unlisted > 0)
        lines << QStringLiteral("    ... and %1 more").arg(unlisted);
    for (const ImportWarning& warning : warnings) {
        lines << QStringLiteral("warning: %1: %2").arg(warning.kind).arg(warning.count);
        for (const SkippedRow& place : warning.first) {
            lines << (place.reason.isEmpty()
                          ? QStringLiteral("    %1").arg(place.origin.text())
                          : QStringLiteral("    %1: %2").arg(place.origin.text(), place.reason));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace bryx::host
