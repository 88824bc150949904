#include "NameTypeRules.h"

#include "ChecklistRecords.h"
#include "WordMatch.h"

#include <QHash>
#include <QRegularExpression>

namespace bryx::host {

namespace {

// Well-known higher taxa, for checklists that give a classification but no code or kingdom.
// Taken from the groups published checklists are most often of; a name missing here can still
// be decided by its family's ending or its parent.
const char* const BotanicalTaxa[] = {
    // kingdoms and phyla (divisions)
    "Plantae", "Viridiplantae", "Fungi", "Chromista", "Tracheophyta", "Spermatophyta", "Magnoliophyta",
    "Angiospermae", "Gymnospermae", "Pinophyta", "Coniferophyta", "Cycadophyta", "Ginkgophyta", "Gnetophyta",
    "Pteridophyta", "Polypodiophyta", "Lycopodiophyta", "Bryophyta", "Marchantiophyta", "Anthocerotophyta",
    "Chlorophyta", "Charophyta", "Rhodophyta", "Ochrophyta", "Phaeophyta", "Bacillariophyta", "Ascomycota",
    "Basidiomycota", "Zygomycota", "Glomeromycota", "Chytridiomycota", "Mucoromycota", "Myxomycota",
    "Oomycota",
    // classes
    "Magnoliopsida", "Liliopsida", "Pinopsida", "Cycadopsida", "Ginkgoopsida", "Gnetopsida", "Polypodiopsida",
    "Lycopodiopsida", "Equisetopsida", "Psilotopsida", "Bryopsida", "Sphagnopsida", "Andreaeopsida",
    "Polytrichopsida", "Jungermanniopsida", "Marchantiopsida", "Anthocerotopsida", "Ulvophyceae",
    "Chlorophyceae", "Charophyceae", "Florideophyceae", "Phaeophyceae", "Bacillariophyceae", "Agaricomycetes",
    "Lecanoromycetes", "Sordariomycetes", "Dothideomycetes", "Eurotiomycetes", "Leotiomycetes",
    "Pezizomycetes", "Pucciniomycetes", "Ustilaginomycetes", "Dicotyledonae", "Monocotyledonae",
    // orders
    "Asterales", "Rosales", "Fabales", "Poales", "Lamiales", "Asparagales", "Caryophyllales", "Ericales",
    "Gentianales", "Malpighiales", "Myrtales", "Sapindales", "Brassicales", "Ranunculales", "Saxifragales",
    "Apiales", "Fagales", "Malvales", "Solanales", "Liliales", "Alismatales", "Pinales", "Polypodiales",
    "Agaricales", "Boletales", "Russulales", "Polyporales", "Lecanorales", "Pezizales", "Hypocreales",
    // families spelt the old way, without the ending
    "Compositae", "Gramineae", "Leguminosae", "Cruciferae", "Labiatae", "Umbelliferae", "Palmae",
    "Guttiferae"};

const char* const ZoologicalTaxa[] = {
    // kingdoms and phyla
    "Animalia", "Metazoa", "Protozoa", "Chordata", "Vertebrata", "Arthropoda", "Mollusca", "Annelida",
    "Cnidaria", "Porifera", "Echinodermata", "Nematoda", "Platyhelminthes", "Bryozoa", "Ectoprocta",
    "Rotifera", "Tardigrada", "Nemertea", "Brachiopoda", "Ctenophora", "Sipuncula", "Chaetognatha",
    "Onychophora", "Hemichordata", "Tunicata", "Urochordata", "Cephalochordata", "Hexapoda", "Crustacea",
    "Chelicerata", "Myriapoda",
    // classes
    "Mammalia", "Aves", "Reptilia", "Amphibia", "Actinopterygii", "Sarcopterygii", "Chondrichthyes",
    "Elasmobranchii", "Holocephali", "Myxini", "Cephalaspidomorphi", "Petromyzonti", "Teleostei", "Pisces",
    "Insecta", "Arachnida", "Malacostraca", "Maxillopoda", "Copepoda", "Ostracoda", "Branchiopoda",
    "Diplopoda", "Chilopoda", "Collembola", "Entognatha", "Gastropoda", "Bivalvia", "Cephalopoda",
    "Polyplacophora", "Scaphopoda", "Polychaeta", "Clitellata", "Oligochaeta", "Hirudinea", "Anthozoa",
    "Hydrozoa", "Scyphozoa", "Demospongiae", "Asteroidea", "Echinoidea", "Holothuroidea", "Ophiuroidea",
    "Crinoidea", "Trematoda", "Cestoda", "Turbellaria", "Ascidiacea", "Pycnogonida", "Merostomata",
    // orders
    "Cetacea", "Cetartiodactyla", "Artiodactyla", "Perissodactyla", "Carnivora", "Primates", "Rodentia",
    "Lagomorpha", "Chiroptera", "Eulipotyphla", "Soricomorpha", "Insectivora", "Didelphimorphia",
    "Diprotodontia", "Sirenia", "Proboscidea", "Pinnipedia", "Passeriformes", "Accipitriformes",
    "Falconiformes", "Strigiformes", "Anseriformes", "Galliformes", "Charadriiformes", "Columbiformes",
    "Piciformes", "Psittaciformes", "Apodiformes", "Coraciiformes", "Pelecaniformes", "Procellariiformes",
    "Sphenisciformes", "Gruiformes", "Cuculiformes", "Squamata", "Serpentes", "Sauria", "Testudines",
    "Crocodylia", "Anura", "Caudata", "Urodela", "Gymnophiona", "Perciformes", "Cypriniformes",
    "Siluriformes", "Salmoniformes", "Clupeiformes", "Gadiformes", "Anguilliformes", "Scorpaeniformes",
    "Pleuronectiformes", "Tetraodontiformes", "Cyprinodontiformes", "Characiformes", "Gobiiformes",
    "Carcharhiniformes", "Lamniformes", "Rajiformes", "Myliobatiformes", "Squaliformes", "Coleoptera",
    "Lepidoptera", "Diptera", "Hymenoptera", "Hemiptera", "Heteroptera", "Homoptera", "Orthoptera", "Odonata",
    "Ephemeroptera", "Plecoptera", "Trichoptera", "Neuroptera", "Blattodea", "Mantodea", "Phasmida",
    "Dermaptera", "Thysanoptera", "Psocodea", "Siphonaptera", "Isoptera", "Megaloptera", "Araneae",
    "Opiliones", "Acari", "Acariformes", "Parasitiformes", "Ixodida", "Scorpiones", "Pseudoscorpiones",
    "Solifugae", "Amblypygi", "Decapoda", "Amphipoda", "Isopoda", "Calanoida", "Stylommatophora",
    "Littorinimorpha", "Neogastropoda", "Nudibranchia", "Veneroida", "Venerida", "Mytiloida", "Mytilida",
    "Ostreoida", "Unionida", "Octopoda", "Sepiida", "Scleractinia", "Actiniaria", "Alcyonacea", "Haplotaxida",
    "Rhabditida"};

// Kingdoms, codes and groups this database has no name type for, with why.
struct Unsupported {
    const char* word;
    const char* why;
};
const Unsupported UnsupportedRealms[] = {
    {"Bacteria", "bacteria"},  {"Archaea", "archaea"}, {"Prokaryota", "prokaryotes"},
    {"Monera", "prokaryotes"}, {"Viruses", "viruses"}, {"Virus", "viruses"},
    {"Viroids", "viroids"},    {"ICNP", "bacteria"},   {"ICNB", "bacteria"},
    {"bacterial", "bacteria"}, {"ICVCN", "viruses"},   {"ICTV", "viruses"},
    {"virus", "viruses"},
};

const QHash<QString, QChar>& higherTaxa()
{
    static const QHash<QString, QChar> taxa = [] {
        QHash<QString, QChar> table;
        for (const char* name : BotanicalTaxa)
            table.insert(QString::fromLatin1(name).toLower(), QChar(u'P'));
        for (const char* name : ZoologicalTaxa)
            table.insert(QString::fromLatin1(name).toLower(), QChar(u'A'));
        return table;
    }();
    return taxa;
}

std::optional<QChar> typeOfCode(const QString& code)
{
    if (isOneOf(code, {"ICN", "ICNafp", "ICBN", "ICNCP", "botanical", "botany", "cultivars"}))
        return QChar(u'P');
    if (isOneOf(code, {"ICZN", "zoological", "zoology"}))
        return QChar(u'A');
    if (isOneOf(code, {"ICPN", "phytosociological", "phytosociology"}))
        return QChar(u'C');
    return std::nullopt;
}

QString unsupportedWhy(const QString& word)
{
    for (const Unsupported& realm : UnsupportedRealms) {
        if (word.compare(QLatin1String(realm.word), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(realm.why);
    }
    return {};
}

// The single word a higher taxon's column holds, less an authorship ("Balaenidae Gray, 1821").
QString firstWord(const QString& text)
{
    return text.trimmed().section(QLatin1Char(' '), 0, 0);
}

bool isHigherRank(const QString& rank)
{
    return isOneOf(rank.trimmed(),
                   {"kingdom", "regnum", "subkingdom", "phylum", "division", "divisio", "subphylum", "class",
                    "classis", "subclass", "superorder", "order", "ordo", "suborder", "superfamily", "family",
                    "familia", "fam."});
}

} // namespace

std::optional<QChar> NameTypeRules::typeOfHigherTaxon(const QString& name)
{
    const QString word = firstWord(name);
    if (word.size() < 4)
        return std::nullopt;
    const auto found = higherTaxa().constFind(word.toLower());
    if (found != higherTaxa().cend())
        return *found;
    if (word.endsWith(QLatin1String("aceae")))
        return QChar(u'P');
    if (word.endsWith(QLatin1String("idae")))
        return QChar(u'A');
    return std::nullopt;
}

NameTypeRules::Finding NameTypeRules::fromRow(const ChecklistName& row)
{
    const QString code = row.nomenclaturalCode.trimmed();
    if (const std::optional<QChar> type = typeOfCode(code))
        return {type, ByCode, {}};
    const QString kingdom = firstWord(row.kingdom);
    if (!kingdom.isEmpty()) {
        if (const QString why = unsupportedWhy(kingdom); !why.isEmpty())
            return {std::nullopt,
                    {},
                    QStringLiteral("the kingdom %1 is of %2, which this database has no name type for")
                        .arg(kingdom, why)};
        if (isOneOf(kingdom, {"Plants", "Plantae", "Viridiplantae", "Fungi", "Chromista"}))
            return {QChar(u'P'), ByKingdom, {}};
        if (isOneOf(kingdom, {"Animals", "Animalia", "Metazoa", "Protozoa"}))
            return {QChar(u'A'), ByKingdom, {}};
    }
    for (const QString* rank : {&row.phylum, &row.className, &row.order, &row.family}) {
        if (const std::optional<QChar> type = typeOfHigherTaxon(*rank))
            return {type, ByClassification, {}};
    }
    static const QRegularExpression separators(QStringLiteral("[|;,>/]"));
    const QStringList higher = row.higherClassification.split(separators, Qt::SkipEmptyParts);
    for (auto taxon = higher.crbegin(); taxon != higher.crend(); ++taxon) {
        if (const std::optional<QChar> type = typeOfHigherTaxon(*taxon))
            return {type, ByClassification, {}};
    }
    // The name is itself a higher taxon: a family row, a kingdom at the root of a tree.
    const bool oneWord = !row.scientificName.trimmed().contains(QLatin1Char(' '));
    if (isHigherRank(row.rank) || (row.rank.isEmpty() && oneWord)) {
        if (const std::optional<QChar> type = typeOfHigherTaxon(row.scientificName))
            return {type, ByClassification, {}};
    }
    if (const QString why = unsupportedWhy(code); !why.isEmpty())
        return {
            std::nullopt,
            {},
            QStringLiteral("the nomenclatural code %1 is for %2, which this database has no name type for")
                .arg(code, why)};
    return {};
}

std::optional<QChar> NameTypeRules::typeNamed(const QString& written)
{
    const QString word = written.trimmed();
    if (isOneOf(word, {"botanical", "P"}))
        return QChar(u'P');
    if (isOneOf(word, {"zoological", "A"}))
        return QChar(u'A');
    if (isOneOf(word, {"ecological", "community", "C"}))
        return QChar(u'C');
    return std::nullopt;
}

} // namespace bryx::host
