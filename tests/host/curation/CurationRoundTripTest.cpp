#include "CurationFixture.h"
#include "curation/DuplicateFinder.h"
#include "curation/NameMerger.h"
#include "curation/NameRestorer.h"
#include "error/Error.h"
#include "services/CurationLog.h"

#include <functional>
#include <random>
#include <set>

namespace bryx::test {

using namespace bryx::host;

namespace {

class CurationRoundTrip : public CurationFixture {
protected:
    // The sample's names an edit, merge or delete may pick: not one stored twice already (whose
    // taking back the duplicate test would rightly refuse), each with its formatted name (which
    // a save would otherwise write as a second change).
    std::vector<int32_t> candidates()
    {
        std::set<qint64> twice;
        for (const DuplicateGroup& group : DuplicateFinder(*db).find(DuplicateMode::SameNameAndAuthor)) {
            for (const DuplicateMember& member : group.members)
                twice.insert(member.id);
        }
        std::vector<int32_t> ids;
        QSqlQuery rows =
            db->query("SELECT scientific_name_id FROM scientific_name WHERE formatted_scientific_name "
                      "IS NOT NULL AND d_name_category_id IS NOT NULL ORDER BY scientific_name_id",
                      {}, Database::Reading::Buffered);
        while (rows.next()) {
            if (!twice.count(rows.value(0).toLongLong()))
                ids.push_back(rows.value(0).toInt());
        }
        return ids;
    }
    QString typeOf(int32_t id) const
    {
        return db
            ->scalar("SELECT nc.name_type_cd FROM scientific_name sn JOIN d_name_category nc ON "
                     "nc.d_name_category_id = sn.d_name_category_id WHERE sn.scientific_name_id = ?",
                     {id})
            .toString();
    }
    int32_t lastAuditRow(int32_t id, const char* column) const
    {
        return db
            ->scalar("SELECT max(audit_log_id) FROM audit_log WHERE primary_key = ? AND column_name = ?",
                     {id, QLatin1String(column)})
            .toInt();
    }
};

} // namespace

TEST_P(CurationRoundTrip, HundredsOfEditsMergesAndDeletesTakenBackInReverseLeaveTheDatabaseAsItWas)
{
    std::vector<int32_t> live = candidates();
    ASSERT_GT(live.size(), 20u);
    // Links enough that merges move, drop and clear originals.
    std::mt19937 random(20261208);
    for (size_t i = 0; i < live.size(); i += 2) {
        std::set<int> used;
        for (int n = 0; n < 3; ++n) {
            const int reference = int(random() % references.size());
            if (used.insert(reference).second
                && db->scalar(
                         "SELECT count(*) FROM scientific_name_reference WHERE scientific_name_id = ? AND "
                         "reference_id = ?",
                         {live[i], references[size_t(reference)]})
                        .toInt()
                    == 0)
                link(live[i], reference,
                     n == 0 && i % 4 == 0
                         && db->scalar(
                                  "SELECT count(*) FROM scientific_name_reference WHERE scientific_name_id = "
                                  "? AND original_publication_ind = 'Y'",
                                  {live[i]})
                                 .toInt()
                             == 0,
                     n + 1);
        }
    }
    const QStringList before = contents();
    const int operations = GetParam() == Dialect::SQLite ? 300 : 200;
    std::vector<std::function<void()>> undo;
    int edits = 0, merges = 0, deletes = 0;
    auto pick = [&] { return live[random() % live.size()]; };
    for (int step = 0; step < operations; ++step) {
        const unsigned kind = random() % 10;
        if (kind < 5) {
            const int32_t id = pick();
            saveAuthor(id, QStringLiteral("Auctor %1").arg(step));
            const int32_t row = lastAuditRow(id, "author_name");
            undo.push_back([this, row] { NameRestorer(*db, editor).restoreChange(row); });
            ++edits;
        } else if (kind < 8 && live.size() > 10) {
            const int32_t keep = pick();
            std::vector<int32_t> duplicates;
            for (int tries = 0; tries < 20 && duplicates.size() < 1 + random() % 2; ++tries) {
                const int32_t other = pick();
                if (other != keep && typeOf(other) == typeOf(keep)
                    && std::find(duplicates.begin(), duplicates.end(), other) == duplicates.end())
                    duplicates.push_back(other);
            }
            if (duplicates.empty())
                continue;
            NameMerger merger(*db, editor);
            const int32_t change = merger.merge(merger.preview(keep, duplicates));
            for (const int32_t id : duplicates)
                live.erase(std::find(live.begin(), live.end(), id));
            undo.push_back([this, change, duplicates, &live] {
                NameRestorer(*db, editor).restoreMerge(change);
                live.insert(live.end(), duplicates.begin(), duplicates.end());
            });
            ++merges;
        } else if (live.size() > 10) {
            int32_t id = pick();
            QString user = "editor";
            ASSERT_TRUE(appManager->Delete("delete_table_data", id, user, "scientific_name"));
            live.erase(std::find(live.begin(), live.end(), id));
            const int32_t change = CurationLog::deletedNames(*db, 1).at(0).id;
            undo.push_back([this, change, id, &live] {
                const NameRestorer::Restored restored = NameRestorer(*db, editor).restoreDeleted(change);
                EXPECT_EQ(restored.establishedLeft, 0);
                EXPECT_EQ(restored.linksLeftOut, 0);
                live.push_back(id);
            });
            ++deletes;
        }
    }
    EXPECT_GT(edits, 50);
    EXPECT_GT(merges, 30);
    EXPECT_GT(deletes, 10);
    EXPECT_NE(contents(), before);
    for (auto it = undo.rbegin(); it != undo.rend(); ++it) {
        try {
            (*it)();
        } catch (const Error& error) {
            FAIL() << "taking back step " << (undo.rend() - it) << ": " << error.Description().toStdString();
        }
    }
    const QStringList after = contents();
    ASSERT_EQ(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        ASSERT_EQ(after[i].toStdString(), before[i].toStdString());
}

INSTANTIATE_ON_EACH_ENGINE(CurationRoundTrip);

} // namespace bryx::test
