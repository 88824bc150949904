#include "ChecklistVocabulary.h"

#include "WordMatch.h"

#include <QStringList>

namespace bryx::host {

namespace {

struct RankWord {
    const char* words; // as checklists write them, separated by '|', lower case
    const char* levelName;
    int order;
    bool lowerLevel;
};

// From the top down. Phytosociological ranks share the list: a level belongs to the framework
// of the name's type, so "order" is a botanical or a phytosociological order as the name says.
const RankWord Ranks[] = {
    {"domain|superkingdom", "Domain", 5, false},
    {"kingdom|regnum", "Kingdom", 10, false},
    {"subkingdom", "Subkingdom", 12, false},
    {"phylum|division|divisio", "Phylum", 20, false},
    {"subphylum|subdivision", "Subphylum", 22, false},
    {"formation", "Formation", 25, false},
    {"class|classis", "Class", 30, false},
    {"subclass", "Subclass", 32, false},
    {"superorder", "Superorder", 38, false},
    {"order|ordo", "Order", 40, false},
    {"suborder", "Suborder", 42, false},
    {"superfamily", "Superfamily", 48, false},
    {"family|familia|fam.", "Family", 50, false},
    {"subfamily|subfam.", "Subfamily", 52, false},
    {"alliance", "Alliance", 53, true},
    {"suballiance", "Suballiance", 54, true},
    {"tribe|tribus", "Tribe", 55, false},
    {"subtribe", "Subtribe", 56, false},
    {"genus|gen.", "Genus", 60, false},
    {"subgenus|subgen.", "Subgenus", 62, false},
    {"section|sect.", "Section", 64, false},
    {"subsection|subsect.", "Subsection", 65, false},
    {"series|ser.", "Series", 66, false},
    {"species aggregate|aggregate|agg.", "Aggregate", 68, false},
    {"species|sp.|spec.", "Species", 70, true},
    {"association", "Association", 71, true},
    {"subassociation", "Subassociation", 72, true},
    {"subspecies|subsp.|ssp.", "Subspecies", 80, true},
    {"variety|varietas|var.", "Variety", 82, true},
    {"subvariety|subvar.", "Subvariety", 83, true},
    {"form|forma|f.|fo.", "Form", 84, true},
    {"subform|subforma|subf.", "Subform", 85, true},
    {"cultivar|cv.", "Cultivar", 90, true},
};

QString folded(const QString& text)
{
    return text.trimmed().toLower().replace(QLatin1Char('_'), QLatin1Char(' '));
}

// Orders and families of vertebrates that checklists without a class column most often name.
bool isVertebrateGroup(const QString& group)
{
    return isOneOf(group, {"Cetacea",        "Cetartiodactyla",   "Artiodactyla",      "Perissodactyla",
                           "Carnivora",      "Primates",          "Rodentia",          "Lagomorpha",
                           "Chiroptera",     "Eulipotyphla",      "Soricomorpha",      "Sirenia",
                           "Pinnipedia",     "Passeriformes",     "Accipitriformes",   "Falconiformes",
                           "Strigiformes",   "Anseriformes",      "Galliformes",       "Charadriiformes",
                           "Columbiformes",  "Piciformes",        "Psittaciformes",    "Squamata",
                           "Serpentes",      "Testudines",        "Crocodylia",        "Anura",
                           "Caudata",        "Urodela",           "Perciformes",       "Cypriniformes",
                           "Siluriformes",   "Salmoniformes",     "Clupeiformes",      "Gadiformes",
                           "Anguilliformes", "Pleuronectiformes", "Carcharhiniformes", "Lamniformes",
                           "Rajiformes",     "Balaenidae",        "Balaenopteridae",   "Eschrichtiidae",
                           "Neobalaenidae",  "Delphinidae",       "Phocoenidae",       "Monodontidae",
                           "Physeteridae",   "Kogiidae",          "Ziphiidae",         "Platanistidae",
                           "Iniidae",        "Pontoporiidae",     "Phocidae",          "Otariidae",
                           "Odobenidae",     "Canidae",           "Felidae",           "Mustelidae",
                           "Ursidae",        "Cervidae",          "Bovidae",           "Suidae",
                           "Muridae",        "Cricetidae",        "Sciuridae",         "Vespertilionidae",
                           "Soricidae",      "Hominidae",         "Accipitridae",      "Anatidae",
                           "Laridae",        "Corvidae",          "Paridae",           "Turdidae",
                           "Fringillidae",   "Columbidae",        "Strigidae",         "Colubridae",
                           "Viperidae",      "Lacertidae",        "Ranidae",           "Bufonidae",
                           "Salamandridae",  "Salmonidae",        "Cyprinidae",        "Percidae",
                           "Gadidae",        "Clupeidae",         "Cichlidae",         "Gobiidae",
                           "Scombridae",     "Carcharhinidae",    "Rajidae",           "Anguillidae",
                           "Esocidae",       "Cottidae",          "Pleuronectidae"});
}

} // namespace

std::optional<ChecklistVocabulary::Rank> ChecklistVocabulary::rankOf(const QString& written)
{
    const QString word = folded(written);
    for (const RankWord& rank : Ranks) {
        if (QString::fromLatin1(rank.words).split(QLatin1Char('|')).contains(word))
            return Rank {QString::fromLatin1(rank.levelName), rank.order, rank.lowerLevel};
    }
    return std::nullopt;
}

QString ChecklistVocabulary::rankWord(const QString& levelName)
{
    return levelName.trimmed().toLower();
}

QString ChecklistVocabulary::nameTypeDescription(QChar nameType)
{
    switch (nameType.unicode()) {
    case u'P':
        return QStringLiteral("Botanical");
    case u'A':
        return QStringLiteral("Zoological");
    default:
        return QStringLiteral("Ecological");
    }
}

QString ChecklistVocabulary::nomenclaturalCodeOf(QChar nameType)
{
    switch (nameType.unicode()) {
    case u'P':
        return QStringLiteral("ICN");
    case u'A':
        return QStringLiteral("ICZN");
    case u'C':
        return QStringLiteral("ICPN");
    default:
        return {};
    }
}

QString ChecklistVocabulary::categoryOf(QChar nameType, const QString& kingdom, const QString& phylum,
                                        const QString& className, const QStringList& groups)
{
    if (nameType == u'P') {
        if (isOneOf(kingdom.trimmed(), {"Fungi"}))
            return QStringLiteral("Fungus");
        if (isOneOf(phylum.trimmed(),
                    {"Bryophyta", "Marchantiophyta", "Anthocerotophyta", "Chlorophyta", "Charophyta",
                     "Rhodophyta"}))
            return QStringLiteral("Nonvascular Plant");
        return QStringLiteral("Vascular Plant");
    }
    if (nameType == u'A') {
        bool vertebrateGroup = false;
        for (const QString& group : groups)
            vertebrateGroup =
                vertebrateGroup || isVertebrateGroup(group.trimmed().section(QLatin1Char(' '), 0, 0));
        if (vertebrateGroup || isOneOf(phylum.trimmed(), {"Chordata", "Vertebrata"})
            || isOneOf(className.trimmed(),
                       {"Mammalia", "Aves", "Reptilia", "Amphibia", "Actinopterygii", "Sarcopterygii",
                        "Chondrichthyes", "Elasmobranchii", "Holocephali", "Myxini", "Petromyzonti",
                        "Cephalaspidomorphi", "Teleostei", "Pisces", "Squamata", "Testudines"}))
            return QStringLiteral("Vertebrate Animal");
        return QStringLiteral("Invertebrate Animal");
    }
    return QStringLiteral("Terrestrial Community");
}

QString ChecklistVocabulary::kingdomOf(QChar nameType, const QString& category)
{
    if (nameType == u'P')
        return category == QLatin1String("Fungus") ? QStringLiteral("Fungi") : QStringLiteral("Plantae");
    if (nameType == u'A')
        return QStringLiteral("Animalia");
    return {};
}

QString ChecklistVocabulary::establishmentOf(const QString& taxonomicStatus)
{
    const QString status = folded(taxonomicStatus);
    if (status.isEmpty())
        return {};
    if (status.contains(QLatin1String("misapplied")))
        return QStringLiteral("Misapplied");
    if (status.contains(QLatin1String("orthographic")) || status.contains(QLatin1String("spelling")))
        return QStringLiteral("Orthographic variant");
    if (status.contains(QLatin1String("synonym")))
        return QStringLiteral("Synonym");
    if (isOneOf(status, {"accepted", "valid", "provisionally accepted", "doubtful"}))
        return QStringLiteral("Accepted");
    return {};
}

} // namespace bryx::host
