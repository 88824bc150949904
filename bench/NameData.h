#pragma once

#include "recordset/Recordset.h"

#include <QDateTime>
#include <QString>
#include <malloc.h>
#include <memory>
#include <random>

namespace bryx::bench {

// Deterministic, plausible scientific-name rows: the shape of a search result.
class NameData {
public:
    static constexpr int Columns = 8;

    explicit NameData(unsigned seed = 1)
        : m_random(seed)
    {
    }

    QString genus()
    {
        static const char* stems[] = {"Ab",   "Pic",  "Pin", "Lar",  "Tax",  "Quer", "Fag",
                                      "Bet",  "Sal",  "Pop", "Ac",   "Frax", "Ulm",  "Til",
                                      "Sorb", "Carp", "Cor", "Jugl", "Aln",  "Prun"};
        static const char* ends[] = {"ies", "ea", "us", "ix", "ula", "inus", "ercus", "agus", "ix", "ulus"};
        return QString::fromLatin1(stems[m_random() % 20]) + QString::fromLatin1(ends[m_random() % 10]);
    }
    QString epithet()
    {
        static const char* words[] = {"alba",      "abies",     "sylvestris", "decidua",     "baccata",
                                      "robur",     "sylvatica", "pendula",    "caprea",      "tremula",
                                      "campestre", "excelsior", "glabra",     "cordata",     "aucuparia",
                                      "betulus",   "avellana",  "regia",      "glutinosa",   "avium",
                                      "nigra",     "montana",   "orientalis", "occidentalis"};
        return QString::fromLatin1(words[m_random() % 24]);
    }
    QString author()
    {
        static const char* authors[] = {"L.",        "Mill.",   "(L.) H.Karst.", "Müll.Arg.", "L'Hér.",
                                        "d'Orbigny", "Ehrh.",   "Scop.",         "Mirb.",     "Willd.",
                                        "Lam.",      "Gaertn.", "Roth",          "Moench",    "Hook.f."};
        return QString::fromUtf8(authors[m_random() % 15]);
    }

    // An open recordset of `rows` rows with IDs 1..rows: ID, Scientific_Name, Author,
    // Name_Type, Category, Classification_Level, Category_ID, Modified.
    std::shared_ptr<Recordset> recordset(int rows, int firstId = 1)
    {
        static const char* categories[] = {
            "Vascular Plant", "Nonvascular Plant",   "Vertebrate Animal", "Invertebrate Animal",
            "Fungus",         "Ecological Community"};
        static const char* levels[] = {"Species", "Subspecies", "Variety", "Genus", "Family", "Alliance"};
        auto rs = std::make_shared<Recordset>();
        rs->AppendField("ID", DataType::Integer, 4);
        rs->AppendField("Scientific_Name", DataType::VarWChar, 255);
        rs->AppendField("Author", DataType::VarWChar, 255);
        rs->AppendField("Name_Type", DataType::VarWChar, 1);
        rs->AppendField("Category", DataType::VarWChar, 80);
        rs->AppendField("Classification_Level", DataType::VarWChar, 40);
        rs->AppendField("Category_ID", DataType::Integer, 4);
        rs->AppendField("Modified", DataType::Date, 8);
        rs->Open();
        rs->reserve(size_t(rows));
        Field* fields[Columns];
        for (int i = 0; i < Columns; ++i)
            fields[i] = &rs->Fields(i);
        const QDateTime base(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
        for (int row = 0; row < rows; ++row) {
            const int category = int(m_random() % 6);
            rs->AddNew();
            fields[0]->SetValue(firstId + row);
            fields[1]->SetValue(genus() + QLatin1Char(' ') + epithet());
            fields[2]->SetValue(author());
            fields[3]->SetValue(QString(QLatin1Char("PPAAPC"[category])));
            fields[4]->SetValue(QString::fromLatin1(categories[category]));
            fields[5]->SetValue(QString::fromLatin1(levels[m_random() % 6]));
            fields[6]->SetValue(category + 1);
            fields[7]->SetValue(base.addSecs(qint64(m_random() % 700000000)));
        }
        rs->UpdateBatch();
        rs->MoveFirst();
        return rs;
    }

    // Bytes of the values themselves: UTF-8 text, 8 bytes per number or date.
    static size_t rawValueBytes(Recordset& rs)
    {
        size_t bytes = 0;
        for (int position = 0; position < rs.RecordCount(); ++position) {
            for (int f = 0; f < rs.FieldCount(); ++f) {
                const QVariant value = rs.ValueAt(position, f);
                if (!value.isValid())
                    continue;
                bytes += value.metaType().id() == QMetaType::QString
                    ? size_t(value.toString().toUtf8().size())
                    : 8;
            }
        }
        return bytes;
    }

    unsigned next() { return unsigned(m_random()); }

private:
    std::mt19937 m_random;
};

// The million-row result the benchmarks start from, made once per process.
inline Recordset& millionRows()
{
    static std::shared_ptr<Recordset> rs = NameData(7).recordset(1'000'000);
    return *rs;
}

// Bytes the heap holds now, by malloc's own count.
inline size_t heapInUse()
{
    return mallinfo2().uordblks;
}

} // namespace bryx::bench
