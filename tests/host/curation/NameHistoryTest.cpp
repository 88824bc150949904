#include "curation/NameHistory.h"

#include "CurationFixture.h"
#include "curation/NameRestorer.h"
#include "error/Error.h"
#include "services/CurationLog.h"

namespace bryx::test {

using namespace bryx::host;

namespace {

class NameHistoryAndRestore : public CurationFixture {
protected:
    std::vector<HistoryEntry> authorChanges(int32_t id) const
    {
        std::vector<HistoryEntry> changes;
        for (const HistoryEntry& entry : NameHistory::of(*db, id)) {
            if (entry.column == "author_name")
                changes.push_back(entry);
        }
        return changes;
    }
    std::string refusalOf(int32_t auditLogId, const UserSession& user) const
    {
        try {
            NameRestorer(*db, user).restoreChange(auditLogId);
        } catch (const Error& error) {
            return error.Description().toStdString();
        }
        return {};
    }
};

} // namespace

TEST_P(NameHistoryAndRestore, EachChangeShowsItsOldAndNewValueAndItsComment)
{
    const int32_t id = addName("Testia alba", "Mill.");
    saveAuthor(id, "Miller");
    saveAuthor(id, "Mill. ex DC.");
    const std::vector<HistoryEntry> changes = authorChanges(id);
    ASSERT_EQ(changes.size(), 2u);
    db->exec(
        "INSERT INTO audit_comment (audit_comment_id, audit_log_column_id, comment_text) VALUES (?, ?, ?)",
        {db->nextId(), changes[0].auditLogId, "Spelled out, after the protologue"});

    const std::vector<HistoryEntry> history = NameHistory::of(*db, id);
    ASSERT_GE(history.size(), 2u);
    for (size_t i = 1; i < history.size(); ++i)
        EXPECT_LE(history[i - 1].date, history[i].date) << "oldest first";
    const std::vector<HistoryEntry> shown = authorChanges(id);
    EXPECT_EQ(shown[0].field, "Author");
    EXPECT_EQ(shown[0].oldValue.toString(), "Mill.");
    EXPECT_EQ(shown[0].newValue.toString(), "Miller") << "the next change's old value";
    EXPECT_EQ(shown[0].comment, "Spelled out, after the protologue");
    EXPECT_EQ(shown[0].user, "editor");
    EXPECT_FALSE(shown[0].latestOfColumn);
    EXPECT_EQ(shown[1].oldValue.toString(), "Miller");
    EXPECT_EQ(shown[1].newValue.toString(), "Mill. ex DC.")
        << "the last change's new value is the stored one";
    EXPECT_TRUE(shown[1].latestOfColumn);
}

TEST_P(NameHistoryAndRestore, CodesAndEstablishedNamesReadAsTheirTextsWithTheirIds)
{
    const int32_t accepted = addName("Testia rubra", "L.");
    const int32_t id = addName("Testia alba", "Mill.");
    const auto categoryText = [&](int32_t category) {
        return QString("%1 (%2)")
            .arg(db->scalar("SELECT name_category_desc FROM d_name_category WHERE d_name_category_id = ?",
                            {category})
                     .toString())
            .arg(category);
    };
    const int32_t other = db->scalar("SELECT min(d_name_category_id) FROM d_name_category WHERE "
                                     "name_type_cd = 'P' AND d_name_category_id > ?",
                                     {botanical})
                              .toInt();
    ASSERT_GT(other, 0);
    saveField(id, "NomenclaturallyEstSnId", accepted);
    saveField(id, "NomenclaturallyEstSnId", QVariant());
    saveField(id, "DNameCategoryId", other);

    std::vector<HistoryEntry> established, category;
    for (const HistoryEntry& entry : NameHistory::of(*db, id)) {
        if (entry.column == "nomenclaturally_est_sn_id")
            established.push_back(entry);
        if (entry.column == "d_name_category_id")
            category.push_back(entry);
    }
    const QString rubra = QString("Testia rubra (%1)").arg(accepted);
    ASSERT_EQ(established.size(), 2u);
    EXPECT_EQ(established[0].oldText, "");
    EXPECT_EQ(established[0].newText, rubra);
    EXPECT_EQ(established[1].oldText, rubra);
    EXPECT_EQ(established[1].newText, "") << "the established name cleared again";
    ASSERT_EQ(category.size(), 1u);
    EXPECT_EQ(category[0].oldText, categoryText(botanical));
    EXPECT_EQ(category[0].newText, categoryText(other));
}

TEST_P(NameHistoryAndRestore, RestoreWritesTheOldValueBackAsASaveAndRefusesWhatAnotherChangeOrRuleForbids)
{
    const int32_t id = addName("Testia alba", "Mill.");
    addName("Testia alba", "L.");
    saveAuthor(id, "Miller");
    saveAuthor(id, "L. f.");
    std::vector<HistoryEntry> changes = authorChanges(id);
    ASSERT_EQ(changes.size(), 2u);

    EXPECT_NE(refusalOf(changes[0].auditLogId, editor).find("was changed again after this change"),
              std::string::npos);
    EXPECT_EQ(stored(id, "author_name").toString(), "L. f.");
    EXPECT_NE(refusalOf(changes[1].auditLogId, viewer()).find("viewer may not"), std::string::npos);

    const QString done = NameRestorer(*db, editor).restoreChange(changes[1].auditLogId);
    EXPECT_EQ(done.toStdString(),
              QString("The author of name ID %1 is \"Miller\" again (was \"L. f.\").").arg(id).toStdString());
    EXPECT_EQ(stored(id, "author_name").toString(), "Miller");
    changes = authorChanges(id);
    ASSERT_EQ(changes.size(), 3u) << "the restore is a change of its own in the trail";
    EXPECT_EQ(changes[2].oldValue.toString(), "L. f.");

    // A change whose old value is the other Testia alba's author, and one too long for the
    // column: a trail another tool wrote, or an older schema's.
    saveAuthor(id, "Mill.");
    saveAuthor(id, "Miller");
    auto admin = database->openAsAdmin();
    admin->exec("UPDATE audit_log SET old_value = 'L.' WHERE audit_log_id = ?",
                {authorChanges(id).back().auditLogId});
    EXPECT_NE(refusalOf(authorChanges(id).back().auditLogId, editor)
                  .find("restoring would make it a duplicate name"),
              std::string::npos);
    admin->exec("UPDATE audit_log SET old_value = ? WHERE audit_log_id = ?",
                {QString(300, QChar('x')), authorChanges(id).back().auditLogId});
    EXPECT_NE(refusalOf(authorChanges(id).back().auditLogId, editor)
                  .find("is 300 characters long; at most 255 fit"),
              std::string::npos);
    EXPECT_EQ(stored(id, "author_name").toString(), "Miller") << "nothing written by a refused restore";
}

TEST_P(NameHistoryAndRestore, ADeletedNameComesBackWithItsLinksAndTheNamesThatRestedOnIt)
{
    const int32_t id = addName("Testia alba", "Mill.");
    link(id, 0, true);
    link(id, 1);
    const int32_t unchanged = addName("Testia nigra", "L.", 0, id);
    const int32_t changedSince = addName("Testia rubra", "L.", 0, id);
    const QStringList before = contents();
    int32_t recordId = id;
    QString user = "editor";
    ASSERT_TRUE(appManager->Delete("delete_table_data", recordId, user, "scientific_name"));
    EXPECT_FALSE(exists(id));
    EXPECT_GT(
        db->scalar("SELECT count(*) FROM audit_log WHERE primary_key = ? AND action = 'D'", {id}).toInt(), 3);
    saveAuthor(changedSince, "L. (after the delete)");

    const std::vector<CurationLog::Change> deleted = CurationLog::deletedNames(*db, 50);
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].nameId, id);
    EXPECT_EQ(deleted[0].userName, "editor");

    EXPECT_THROW(NameRestorer(*db, viewer()).restoreDeleted(deleted[0].id), Error);
    EXPECT_FALSE(exists(id));
    const NameRestorer::Restored restored = NameRestorer(*db, editor).restoreDeleted(deleted[0].id);
    EXPECT_EQ(restored.nameId, id);
    EXPECT_EQ(restored.establishedSet, 1);
    EXPECT_EQ(restored.establishedLeft, 1);
    EXPECT_EQ(stored(id, "author_name").toString(), "Mill.");
    EXPECT_EQ(linksOf(id),
              (QStringList {QString::number(references[0]) + "*", QString::number(references[1])}));
    EXPECT_EQ(stored(unchanged, "nomenclaturally_est_sn_id").toInt(), id);
    EXPECT_TRUE(stored(changedSince, "nomenclaturally_est_sn_id").isNull()) << "changed since: left as it is";
    EXPECT_TRUE(CurationLog::deletedNames(*db, 50).empty());
    EXPECT_THROW(NameRestorer(*db, editor).restoreDeleted(deleted[0].id), Error) << "once only";

    // A name stored again meanwhile under the same name and author stops a restore.
    recordId = unchanged;
    ASSERT_TRUE(appManager->Delete("delete_table_data", recordId, user, "scientific_name"));
    addName("Testia nigra", "L.");
    try {
        NameRestorer(*db, editor).restoreDeleted(CurationLog::deletedNames(*db, 50).at(0).id);
        ADD_FAILURE() << "a duplicate name was restored";
    } catch (const Error& error) {
        EXPECT_TRUE(error.Description().contains("duplicate name")) << error.Description().toStdString();
    }
    EXPECT_FALSE(exists(unchanged));
}

TEST_P(NameHistoryAndRestore, ARestoreThatFailsHalfWayBringsNothingBack)
{
    const int32_t id = addName("Testia alba", "Mill.");
    link(id, 0);
    const int32_t resting = addName("Testia nigra", "L.", 0, id);
    int32_t recordId = id;
    QString user = "editor";
    ASSERT_TRUE(appManager->Delete("delete_table_data", recordId, user, "scientific_name"));
    const QStringList before = contents();
    // The name goes back in first; its links then fail as a full disk or a lost server would.
    injectFailure("INSERT", "scientific_name_reference");
    const int32_t change = CurationLog::deletedNames(*db, 1).at(0).id;
    try {
        NameRestorer(*db, editor).restoreDeleted(change);
        ADD_FAILURE() << "the restore went through";
    } catch (const Error& error) {
        EXPECT_TRUE(error.Description().contains("injected failure")) << error.Description().toStdString();
    }
    EXPECT_EQ(contents(), before);
    EXPECT_TRUE(stored(resting, "nomenclaturally_est_sn_id").isNull());
    EXPECT_EQ(CurationLog::deletedNames(*db, 1).at(0).id, change) << "still waiting to come back";
}

TEST_P(NameHistoryAndRestore, AChangeWhoseKeptNamesCannotBeReadIsRefusedAndChangesNothing)
{
    const int32_t id = addName("Testia alba", "Mill.");
    int32_t recordId = id;
    QString user = "editor";
    ASSERT_TRUE(appManager->Delete("delete_table_data", recordId, user, "scientific_name"));
    const int32_t change = CurationLog::deletedNames(*db, 1).at(0).id;
    auto admin = database->openAsAdmin();
    for (const char* spoiled : {"{\"name\": {\"scientific_name_id\": ", "[1, 2]"}) {
        admin->exec("UPDATE curation_change SET snapshot = ? WHERE curation_change_id = ?",
                    {spoiled, change});
        const QStringList before = contents();
        try {
            NameRestorer(*db, editor).restoreDeleted(change);
            ADD_FAILURE() << "restored from " << spoiled;
        } catch (const Error& error) {
            EXPECT_TRUE(
                error.Description().contains(QString("curation change %1 kept cannot be read").arg(change)))
                << error.Description().toStdString();
        }
        EXPECT_EQ(contents(), before);
        EXPECT_FALSE(exists(id));
    }
}

INSTANTIATE_ON_EACH_ENGINE(NameHistoryAndRestore);

} // namespace bryx::test
