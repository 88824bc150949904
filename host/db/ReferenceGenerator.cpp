#include "ReferenceGenerator.h"

#include "Database.h"
#include "SampleData.h"
#include "error/Error.h"

#include <QVariantList>
#include <random>

namespace bryx::host {

namespace {

const char* const Surnames[] = {
    "Smith",  "Müller",    "García",   "Rossi",    "Nowak",  "Johansson", "Dubois", "Ivanov",  "Tanaka",
    "Silva",  "O'Brien",   "Kowalski", "Schmidt",  "Martin", "Bernard",   "Jensen", "Novák",   "Horváth",
    "Petrov", "Lindqvist", "Fischer",  "Moreau",   "Costa",  "Nakamura",  "Wang",   "Kim",     "Brown",
    "Wilson", "Taylor",    "Hughes",   "Ferreira", "Santos", "Andersen",  "Weber",  "Lefèvre", "Conti"};
const char* const TitleWords[] = {
    "flora",      "fauna",       "revision", "genus",        "species",      "notes",     "new",
    "records",    "checklist",   "taxonomy", "phylogeny",    "of",           "the",       "and",
    "in",         "from",        "northern", "southern",     "alpine",       "coastal",   "forest",
    "wetland",    "grassland",   "island",   "distribution", "synopsis",     "monograph", "key",
    "vegetation", "communities", "survey",   "morphology",   "nomenclature", "types",     "status"};
// Journal names: a title word and a coined word; the coined word names about one journal in
// a thousand references.
const char* const JournalKinds[] = {"Acta", "Annales", "Bulletin", "Revista", "Journal", "Memoirs"};
const char* const JournalStems[] = {"Bor", "Cal", "Dr",  "Fen", "Gal", "Hel", "Ist",  "Kar", "Lus", "Mor",
                                    "Nor", "Pan", "Ral", "Sav", "Tav", "Ul",  "Ven",  "Xal", "Yor", "Zel",
                                    "Ad",  "Bel", "Cor", "Del", "Em",  "Fal", "Gor",  "Hal", "Ir",  "Jov",
                                    "Kel", "Lam", "Mal", "Ner", "Or",  "Pol", "Quer", "Ros", "Sel", "Tor",
                                    "Urb", "Val", "Wen", "Yal", "Zor", "Ab",  "Bav",  "Cel", "Dal", "Er"};
const char* const JournalMiddles[] = {"an", "er", "ov", "ic", "ad", "el", "um", "ar", "ist", "onn",
                                      "ed", "ur", "al", "es", "ot", "in", "ag", "op", "ew",  "ix"};

template<size_t N> const char* pick(const char* const (&items)[N], std::mt19937_64& random)
{
    return items[random() % N];
}

QString initials(std::mt19937_64& random)
{
    return QString(QChar(u'A' + int(random() % 26))) + QStringLiteral(".");
}

} // namespace

// Stem 0 and middle 0 with the common ending: "Boranica".
const char* const ReferenceGenerator::SampleJournalWord = "Boranica";

void ReferenceGenerator::generate(Database& db, int64_t count, const std::function<void(int64_t)>& progress)
{
    if (count <= 0 || count > 10'000'000)
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("The number of references to generate must lie between 1 and 10,000,000, not %1")
                .arg(count));
    std::mt19937_64 random(20261206);
    constexpr int64_t ChunkRows = 50'000;
    for (int64_t done = 0; done < count;) {
        const int64_t chunk = std::min(ChunkRows, count - done);
        db.transaction([&] {
            const int32_t firstId = db.reserveIds(int32_t(chunk));
            BatchInserter references(db, QStringLiteral("reference"),
                                     {"reference_id", "reference_code", "full_citation", "publication_year"});
            for (int64_t i = 0; i < chunk; ++i) {
                const int32_t id = firstId + int32_t(i);
                const QString surname = QString::fromUtf8(pick(Surnames, random));
                const int year = 1753 + int(random() % 272);
                QStringList title;
                const int words = 4 + int(random() % 8);
                for (int w = 0; w < words; ++w)
                    title << QString::fromUtf8(pick(TitleWords, random));
                title.first()[0] = title.first().at(0).toUpper();
                const QString journal = QStringLiteral("%1 %2%3ica")
                                            .arg(QString::fromUtf8(pick(JournalKinds, random)),
                                                 QString::fromUtf8(pick(JournalStems, random)),
                                                 QString::fromUtf8(pick(JournalMiddles, random)));
                const int volume = 1 + int(random() % 200);
                const int firstPage = 1 + int(random() % 900);
                const QString citation = QStringLiteral("%1, %2 %3. %4. %5 %6: %7-%8.")
                                             .arg(surname, initials(random))
                                             .arg(year)
                                             .arg(title.join(QLatin1Char(' ')), journal)
                                             .arg(volume)
                                             .arg(firstPage)
                                             .arg(firstPage + int(random() % 60));
                QString code = surname.toUpper().left(4);
                code.remove(QLatin1Char('\''));
                code += QString::number(year) + QLatin1Char('-') + QString::number(id);
                references.add({id, code, citation, year});
            }
            references.flush();
        });
        done += chunk;
        if (progress)
            progress(done);
    }
}

} // namespace bryx::host
