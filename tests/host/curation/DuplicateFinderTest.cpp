#include "curation/DuplicateFinder.h"

#include "CurationFixture.h"
#include "db/Database.h"

#include <gtest/gtest.h>
#include <set>

namespace bryx::test {

using namespace bryx::host;

namespace {

// Names of made-up genera, so that no sample name joins their groups.
class DuplicateNames : public CurationFixture {
protected:
    qint64 add(const char* name, const char* author, int category = 0)
    {
        const qint64 id = next++;
        db->exec("INSERT INTO scientific_name (scientific_name_id, scientific_name, author_name, "
                 "d_name_category_id, rec_last_mod_user) VALUES (?, ?, ?, ?, 'curator')",
                 {id, QString::fromUtf8(name), author ? QVariant(QString::fromUtf8(author)) : QVariant(),
                  category ? category : botanical});
        return id;
    }
    // The groups holding the names this test made, each as its sorted IDs.
    std::set<std::vector<qint64>> groups(DuplicateMode mode, std::optional<QChar> type = std::nullopt)
    {
        std::set<std::vector<qint64>> found;
        for (const DuplicateGroup& group : DuplicateFinder(*db).find(mode, type)) {
            std::vector<qint64> ids;
            for (const DuplicateMember& member : group.members)
                ids.push_back(member.id);
            if (ids.back() >= First)
                found.insert(ids);
        }
        return found;
    }

    static constexpr qint64 First = 900001;
    qint64 next = First;
};

using Groups = std::set<std::vector<qint64>>;

} // namespace

TEST_P(DuplicateNames, EachRuleGroupsTheNamesItMustAndNoOthers)
{
    const qint64 plain = add("Testia alba", "Mill.");
    const qint64 upper = add("TESTIA ALBA", "MILL.");
    const qint64 michx = add("Testia alba", "Michx.");
    const qint64 noAuthor = add("Testia alba", nullptr);
    const qint64 gunther = add("Probus minor", "Günther");
    const qint64 upperGunther = add("Probus minor", "GÜNTHER");
    const qint64 noDiacritic = add("Probus minor", "Gunther");
    const qint64 basionym = add("Probus major", "(L.) Mill.");
    const qint64 noBrackets = add("Probus major", "L. Mill.");
    const qint64 hookAnd = add("Probus medius", "Hook. & Arn.");
    const qint64 hookEt = add("Probus medius", "Hook. et Arn.");
    const qint64 year = add("Probus parvus", "Linnaeus, 1758");
    const qint64 yearNoComma = add("Probus parvus", "Linnaeus 1758");
    const qint64 animal = add("Testia alba", "Mill.", zoological);

    EXPECT_EQ(groups(DuplicateMode::SameNameAndAuthor), (Groups {{plain, upper}, {gunther, upperGunther}}));
    EXPECT_EQ(
        groups(DuplicateMode::EquivalentAuthor),
        (Groups {
            {plain, upper}, {gunther, upperGunther, noDiacritic}, {hookAnd, hookEt}, {year, yearNoComma}}));
    EXPECT_EQ(groups(DuplicateMode::SameName),
              (Groups {{plain, upper, michx, noAuthor},
                       {gunther, upperGunther, noDiacritic},
                       {basionym, noBrackets},
                       {hookAnd, hookEt},
                       {year, yearNoComma}}))
        << "the zoological Testia alba " << animal << " is another name";
    EXPECT_EQ(groups(DuplicateMode::SameName, QChar('A')), Groups {});
    EXPECT_EQ(groups(DuplicateMode::SameName, QChar('P')).size(), 5u);
}

TEST_P(DuplicateNames, SimilarSpellingsGroupWithinTheirGenusOnly)
{
    const qint64 alba = add("Spelia alba", "L.");
    const qint64 albus = add("Spelia albus", "Mill.");
    const qint64 alpa = add("Spelia alpa", nullptr);
    const qint64 hybrid = add("Spelia ×rubens", nullptr);
    const qint64 plainRubens = add("Spelia rubens", nullptr);
    const qint64 typed = add("Spelia x rubens", nullptr);
    const qint64 fragilis = add("Spelia fragilis", nullptr);
    const qint64 fragile = add("Spelia fragile", nullptr);
    const qint64 smithii = add("Spelia smithii", nullptr);
    const qint64 smithi = add("Spelia smithi", nullptr);
    add("Spelia arbuscula", nullptr);
    add("Otheria alba", nullptr); // another genus
    add("Spelia labe", nullptr); // two edits from alba
    add("Spelia alba", nullptr, zoological); // another type
    add("Spelia", nullptr); // a genus alone

    EXPECT_EQ(
        groups(DuplicateMode::SimilarSpelling),
        (Groups {{alba, albus, alpa}, {hybrid, plainRubens, typed}, {fragilis, fragile}, {smithii, smithi}}));
}

TEST_P(DuplicateNames, EachMemberShowsItsLinksTheNamesRestingOnItAndItsLastChange)
{
    const qint64 kept = add("Testia nana", "L.");
    const qint64 duplicate = add("Testia nana", "L.");
    const qint64 resting = add("Testia pumila", "Mill.");
    db->exec("UPDATE scientific_name SET nomenclaturally_est_sn_id = ? WHERE scientific_name_id = ?",
             {duplicate, resting});
    const QVariant reference = db->scalar("SELECT min(reference_id) FROM reference");
    db->exec("INSERT INTO scientific_name_reference (scientific_name_reference_id, scientific_name_id, "
             "reference_id) VALUES (990001, ?, ?)",
             {kept, reference});

    const auto found = DuplicateFinder(*db).find(DuplicateMode::SameNameAndAuthor, QChar('P'));
    const auto group = std::find_if(found.begin(), found.end(), [&](const DuplicateGroup& each) {
        return each.members.front().id == kept;
    });
    ASSERT_NE(group, found.end());
    ASSERT_EQ(group->members.size(), 2u);
    const DuplicateMember& first = group->members[0];
    const DuplicateMember& second = group->members[1];
    EXPECT_EQ(first.references, 1);
    EXPECT_EQ(first.resting, 0);
    EXPECT_EQ(second.references, 0);
    EXPECT_EQ(second.resting, 1);
    EXPECT_EQ(first.type, QChar('P'));
    EXPECT_FALSE(first.category.isEmpty());
    EXPECT_EQ(first.changedBy, QString("curator"));
}

INSTANTIATE_ON_EACH_ENGINE(DuplicateNames);

} // namespace bryx::test
