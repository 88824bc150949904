#pragma once

#include "contracts/ScientificNameRecord.h"

#include <QVariantMap>
#include <memory>
#include <vector>

namespace bryx::host {

class Database;

// One row of scientific_name_reference, with the cited reference's code and citation for show.
class SqlReferenceLink : public ReferenceLink {
public:
    SqlReferenceLink(std::shared_ptr<Database> db, QVariantMap fields, bool isNew);

    QVariant Field(const QString& name) const override;
    void SetField(const QString& name, const QVariant& value) override;
    bool IsNew() const override { return m_new; }
    bool IsChanged() const override { return m_changed; }
    // Leaves the collection at once; a stored link is deleted from the database when the
    // record is next saved.
    void Delete() override { m_deleted = true; }
    bool IsDeleted() const { return m_deleted; }
    bool Save() override;

private:
    QString checkedName(const QString& name) const;

    std::shared_ptr<Database> m_db;
    QVariantMap m_fields; // by field name
    bool m_new;
    bool m_changed = false;
    bool m_deleted = false;
};

// The reference links of one scientific name, read when first asked for. A deleted link is no
// longer counted, listed or found, so the same reference can be linked again before the save;
// stored links that were deleted wait for the record's save, which deletes them first.
class SqlReferenceLinks : public ReferenceLinks {
public:
    SqlReferenceLinks(std::shared_ptr<Database> db, int32_t scientificNameId);

    int Count() const override { return int(present().size()); }
    std::shared_ptr<ReferenceLink> Item(int index) const override;
    std::shared_ptr<ReferenceLink> Find(const QString& criteria) const override;
    std::shared_ptr<ReferenceLink> Add() override;

    // Deletes the stored links that were deleted, inside the record's save transaction.
    void saveDeletions();
    // The save committed: the deletions are done with.
    void forgetSavedDeletions() { m_deleted.clear(); }

private:
    // The links not deleted; a link deleted since the last look moves out of them.
    const std::vector<std::shared_ptr<SqlReferenceLink>>& present() const;

    std::shared_ptr<Database> m_db;
    int32_t m_scientificNameId;
    // Both are settled lazily, when the collection is next looked at after a link's Delete.
    mutable std::vector<std::shared_ptr<SqlReferenceLink>> m_links;
    mutable std::vector<std::shared_ptr<SqlReferenceLink>> m_deleted; // stored ones only
};

} // namespace bryx::host
