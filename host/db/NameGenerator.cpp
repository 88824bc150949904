#include "NameGenerator.h"

#include "Database.h"
#include "SampleData.h"
#include "error/Error.h"

#include <QDateTime>
#include <QVariantList>
#include <random>

namespace bryx::host {

namespace {

const char* const Stems[] = {
    "Ab",   "Ac",   "Agr", "Al",   "Am",   "And",  "Ar",  "Bal", "Ber",    "Bet",  "Brach", "Cal",  "Camp",
    "Car",  "Cent", "Cer", "Chr",  "Cl",   "Cor",  "Cr",  "Cyp", "Dactyl", "Dend", "Di",    "Dor",  "Dr",
    "El",   "Er",   "Eu",  "Fest", "Fr",   "Gal",  "Ger", "Gl",  "Gymn",   "Hel",  "Her",   "Hier", "Hyp",
    "Il",   "Jun",  "Lam", "Lar",  "Lep",  "Leuc", "Lin", "Lyc", "Mal",    "Mel",  "Micr",  "Mon",  "Myr",
    "Neo",  "Nym",  "Ol",  "Or",   "Ox",   "Pal",  "Pet", "Phl", "Pin",    "Pl",   "Pol",   "Pot",  "Pr",
    "Pter", "Quer", "Ran", "Rh",   "Rub",  "Sal",  "Sax", "Scl", "Sil",    "Sol",  "Sph",   "St",   "Syn",
    "Tar",  "Thal", "Tr",  "Ul",   "Vacc", "Ver",  "Vi",  "Xer", "Zy"};
const char* const Middles[] = {"a",  "e",  "i",  "o",  "u",   "ar", "er",  "or",  "an",  "en",
                               "in", "on", "ul", "il", "oph", "yl", "ith", "ant", "ell", "ist"};
const char* const GenusEnds[] = {"us",   "a",      "um",   "ia",  "is", "ella", "opsis",  "ium",
                                 "ites", "anthus", "odon", "ops", "ix", "ura",  "ocarpus"};
const char* const Epithets[] = {
    "alba",      "nigra",       "rubra",        "viridis",      "montana",    "sylvestris", "palustris",
    "vulgaris",  "officinalis", "minor",        "major",        "elegans",    "gracilis",   "robusta",
    "borealis",  "australis",   "orientalis",   "occidentalis", "alpina",     "maritima",   "arvensis",
    "pratensis", "aquatica",    "rupestris",    "glabra",       "hirsuta",    "pubescens",  "tenuis",
    "crassa",    "latifolia",   "angustifolia", "grandiflora",  "parviflora", "cordata",    "lanceolata",
    "ovata",     "repens",      "erecta",       "nana",         "gigantea",   "communis",   "sinensis",
    "japonica",  "americana",   "europaea",     "africana",     "indica",     "caerulea",   "lutea",
    "aurea"};
const char* const Authors[] = {
    "L.",     "Mill.", "Willd.",  "Lam.",  "DC.",   "Hook.f.", "Benth.",  "Roxb.",  "Thunb.", "Pers.",
    "Sm.",    "Jacq.", "Kunth",   "Blume", "Hook.", "Poir.",   "Spreng.", "Nees",   "Rchb.",  "Müll.Arg.",
    "L'Hér.", "Desf.", "Schltr.", "Engl.", "Baker", "A.Gray",  "Torr.",   "Michx.", "Nutt.",  "Pursh"};
const char* const ZooAuthors[] = {"Linnaeus", "Fabricius", "Latreille", "Cuvier",    "Lamarck",
                                  "Gray",     "Say",       "Müller",    "Pallas",    "Gmelin",
                                  "Schreber", "Temminck",  "Boulenger", "Günther",   "Walker",
                                  "Meigen",   "Stål",      "d'Orbigny", "Blanchard", "Leach"};

struct Slot {
    int category;
    int level;
    const char* type;
};
// Category and level pairs as the sample's code lists define them.
const Slot Slots[] = {{1, 2, "P"}, {1, 2, "P"}, {1, 3, "P"},  {1, 4, "P"},  {1, 5, "P"},  {1, 1, "P"},
                      {2, 2, "P"}, {3, 2, "P"}, {4, 9, "A"},  {4, 9, "A"},  {4, 10, "A"}, {5, 9, "A"},
                      {5, 9, "A"}, {5, 8, "A"}, {6, 13, "C"}, {6, 12, "C"}, {7, 13, "C"}, {7, 12, "C"}};

template<size_t N> const char* pick(const char* const (&items)[N], std::mt19937_64& random)
{
    return items[random() % N];
}

QString genus(std::mt19937_64& random)
{
    return QString::fromUtf8(pick(Stems, random)) + QString::fromUtf8(pick(Middles, random))
        + QString::fromUtf8(pick(GenusEnds, random));
}

} // namespace

void NameGenerator::generate(Database& db, int64_t count, const std::function<void(int64_t)>& progress)
{
    if (count <= 0 || count > 50'000'000)
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("The number of names to generate must lie between 1 and 50,000,000, not %1")
                .arg(count));
    std::mt19937_64 random(20261205);
    const QDateTime created(QDate(2025, 1, 1), QTime(0, 0), Qt::UTC);
    constexpr int64_t ChunkRows = 50'000;
    for (int64_t done = 0; done < count;) {
        const int64_t chunk = std::min(ChunkRows, count - done);
        db.transaction([&] {
            const int32_t firstId = db.reserveIds(int32_t(chunk));
            BatchInserter names(db, QStringLiteral("scientific_name"),
                                {"scientific_name_id", "scientific_name", "formatted_scientific_name",
                                 "author_name", "d_name_category_id", "d_classification_level_id",
                                 "placeholder_name_ind", "org_unit_id", "key_number", "rec_create_user",
                                 "rec_create_date"});
            for (int64_t i = 0; i < chunk; ++i) {
                const Slot& slot = Slots[random() % std::size(Slots)];
                const QString type = QString::fromLatin1(slot.type);
                QString name;
                QString author;
                if (type == QLatin1String("C")) {
                    QString first = genus(random);
                    first.chop(2);
                    name = first + QStringLiteral("o-") + genus(random) + QStringLiteral("etum ")
                        + QString::fromUtf8(pick(Epithets, random));
                    author = QStringLiteral("%1 %2")
                                 .arg(QString::fromUtf8(pick(ZooAuthors, random)))
                                 .arg(1900 + random() % 120);
                } else {
                    name = genus(random);
                    if (slot.level != 1 && slot.level != 8)
                        name += QLatin1Char(' ') + QString::fromUtf8(pick(Epithets, random));
                    if (slot.level == 3 || slot.level == 10)
                        name += QStringLiteral(" subsp. ") + QString::fromUtf8(pick(Epithets, random));
                    else if (slot.level == 4)
                        name += QStringLiteral(" var. ") + QString::fromUtf8(pick(Epithets, random));
                    else if (slot.level == 5)
                        name += QStringLiteral(" f. ") + QString::fromUtf8(pick(Epithets, random));
                    author = type == QLatin1String("A")
                        ? QStringLiteral("%1, %2")
                              .arg(QString::fromUtf8(pick(ZooAuthors, random)))
                              .arg(1758 + random() % 260)
                        : QString::fromUtf8(pick(Authors, random));
                }
                const int32_t id = firstId + int32_t(i);
                names.add({id, name, SampleData::formattedName(name, type), author, slot.category, slot.level,
                           "N", type == QLatin1String("A") ? 2 : 1, id, "generator", created});
            }
            names.flush();
        });
        done += chunk;
        if (progress)
            progress(done);
    }
}

} // namespace bryx::host
