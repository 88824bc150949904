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
    void Delete() override { m_deleted = true; }
    bool Save() override;

private:
    QString checkedName(const QString& name) const;

    std::shared_ptr<Database> m_db;
    QVariantMap m_fields; // by field name
    bool m_new;
    bool m_changed = false;
    bool m_deleted = false;
};

// The reference links of one scientific name, read when first asked for.
class SqlReferenceLinks : public ReferenceLinks {
public:
    SqlReferenceLinks(std::shared_ptr<Database> db, int32_t scientificNameId);

    int Count() const override { return int(m_links.size()); }
    std::shared_ptr<ReferenceLink> Item(int index) const override;
    std::shared_ptr<ReferenceLink> Find(const QString& criteria) const override;
    std::shared_ptr<ReferenceLink> Add() override;

private:
    std::shared_ptr<Database> m_db;
    int32_t m_scientificNameId;
    std::vector<std::shared_ptr<SqlReferenceLink>> m_links;
};

} // namespace bryx::host
