#include "NameParts.h"

#include <QStringList>

namespace bryx::host {

namespace {

// The marker an infraspecific rank is written with inside a name.
QString markerOf(const QString& rank, bool zoological)
{
    const QString word = rank.trimmed().toLower();
    struct Marker {
        const char* ranks;
        const char* marker;
    };
    static const Marker markers[] = {
        {"subspecies|subsp.|ssp.|subsp", "subsp."}, {"variety|varietas|var.|var", "var."},
        {"subvariety|subvar.", "subvar."},          {"form|forma|f.|fo.|f", "f."},
        {"subform|subforma|subf.", "subf."},        {"nothosubspecies|nothosubsp.", "nothosubsp."},
        {"nothovariety|nothovar.", "nothovar."},
    };
    for (const Marker& known : markers) {
        if (QString::fromLatin1(known.ranks).split(QLatin1Char('|')).contains(word)) {
            if (zoological && QLatin1String(known.marker) == QLatin1String("subsp."))
                return {};
            return QString::fromLatin1(known.marker);
        }
    }
    return {};
}

} // namespace

QString NameParts::assembled(bool zoological) const
{
    const QString base = genus.trimmed().isEmpty() ? uninomial.trimmed() : genus.trimmed();
    if (base.isEmpty())
        return {};
    QStringList words {base};
    if (!genus.trimmed().isEmpty()) {
        QString infra = infrageneric.trimmed();
        if (!infra.isEmpty()) {
            if (!infra.startsWith(QLatin1Char('(')))
                infra = QStringLiteral("(%1)").arg(infra);
            words << infra;
        }
        if (!specific.trimmed().isEmpty()) {
            words << specific.trimmed();
            if (!infraspecific.trimmed().isEmpty()) {
                // A marker written as the row gives it is kept, in its usual spelling.
                const QString written = verbatimRank.trimmed();
                const QString marker = written.isEmpty() ? markerOf(rank, zoological)
                    : markerOf(written, false).isEmpty() ? written
                                                         : markerOf(written, false);
                if (!marker.isEmpty())
                    words << marker;
                words << infraspecific.trimmed();
            }
        }
    }
    return words.join(QLatin1Char(' '));
}

} // namespace bryx::host
