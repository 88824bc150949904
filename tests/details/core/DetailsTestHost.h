#pragma once

// A mocked host and data framework for the details editor: names kept in a map, records that
// read them, and code lists of three name types. Tests add expectations on top.
#include "../../mocks/HostMocks.h"
#include "../../support/RecordsetBuilder.h"
#include "../../support/ScriptedDesktop.h"
#include "core/ScientificDetails.h"
#include "hosting/LateBinding.h"
#include "registry/ObjectRegistry.h"

#include <QMap>
#include <QWidget>
#include <gmock/gmock.h>

namespace bryx::test {

// A code list with fixed rows; the key is the "ID" column.
class FakeLookupList : public LookupList {
public:
    explicit FakeLookupList(std::vector<QVariantMap> rows)
        : m_rows(std::move(rows))
    {
    }
    int Count() const override { return int(m_rows.size()); }
    QVariant ValueForKey(const QVariant& key, const QString& column) const override
    {
        for (const QVariantMap& row : m_rows) {
            if (row.value("ID").toString() == key.toString())
                return row.value(column);
        }
        return {};
    }
    QVariant Value(int row, const QString& column) const override
    {
        return m_rows.at(size_t(row - 1)).value(column);
    }
    QVariant Key(int row) const override { return m_rows.at(size_t(row - 1)).value("ID"); }
    int AddRow() override
    {
        m_rows.push_back({});
        return Count();
    }
    void SetValue(int row, const QString& column, const QVariant& value) override
    {
        m_rows.at(size_t(row - 1)).insert(column, value);
    }

private:
    std::vector<QVariantMap> m_rows;
};

struct StoredName {
    QString name;
    QString author;
    int categoryId = 1; // 1 and 2 botanical, 3 zoological, 4 ecological, 5 of an unknown type
    QVariant levelId = 10;
};

class HostForm : public QWidget, public ::testing::NiceMock<MockHostWindow> { };

class DetailsTestHost : public ::testing::Test {
protected:
    using Record = ::testing::NiceMock<MockScientificNameRecord>;

    void SetUp() override;
    void TearDown() override;

    // The editor in a host window, paging through `list`, showing `id`.
    void startEmbedded(std::shared_ptr<Recordset> list, int id, const QString& extraInfo = {});
    void startModal(int id, const QString& extraInfo = {});
    std::unique_ptr<ScientificNameRecord> makeRecord();

    template<typename T> T& control(const char* name) const
    {
        T* found = editor->findChild<T*>(QLatin1String(name));
        if (!found)
            throw std::runtime_error(std::string("no control ") + name);
        return *found;
    }

    std::shared_ptr<::testing::NiceMock<MockAppManager>> host =
        std::make_shared<::testing::NiceMock<MockAppManager>>();
    std::shared_ptr<::testing::NiceMock<MockWindowManager>> winMan =
        std::make_shared<::testing::NiceMock<MockWindowManager>>();
    std::shared_ptr<::testing::NiceMock<MockDataFramework>> framework =
        std::make_shared<::testing::NiceMock<MockDataFramework>>();
    std::shared_ptr<::testing::NiceMock<MockReferenceLinks>> links =
        std::make_shared<::testing::NiceMock<MockReferenceLinks>>();
    ::testing::NiceMock<MockRecordExtension>* extension = nullptr;
    QMap<int, StoredName> names;
    // Every record the editor made, newest last; each lives as long as the editor keeps it.
    std::vector<Record*> records;
    std::function<void(Record&)> onRecordCreated;
    bool edited = false; // what the records answer to IsChanged
    QStringList statements;
    std::shared_ptr<Collection> views = std::make_shared<Collection>(); // the host's list views
    QString controlAccess = "F";
    QString caption; // of the host window
    ScriptedDesktop desktop;
    HostForm form;
    ScientificDetails* editor = nullptr;
};

} // namespace bryx::test
