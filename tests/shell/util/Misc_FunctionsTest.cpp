#include "util/Misc_Functions.h"

#include "../../mocks/HostMocks.h"
#include "../../support/QtPrinters.h"
#include "../../support/RecordsetBuilder.h"
#include "controls/ResultGrid.h"

#include <QHash>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;
using ::testing::Eq;
using ::testing::Return;

namespace {

class FakeGrid : public EditableGrid {
public:
    QStringList headers;
    QVariantList rowData; // per data row
    int Rows() const override { return int(rowData.size()) + 1; }
    int FixedRows() const override { return 1; }
    int Row() const override { return 1; }
    int SelectedRows() const override { return 0; }
    int SelectedRow(int) const override { return -1; }
    int Cols() const override { return int(headers.size()); }
    QString TextMatrix(int row, int col) const override { return row == 0 ? headers[col] : QString(); }
    void SetTextMatrix(int row, int col, const QString& text) override
    {
        if (row == 0)
            headers[col] = text;
    }
    QVariant RowData(int row) const override { return rowData[row - 1]; }
};

class FakeLink : public ReferenceLink {
public:
    FakeLink(int referenceId, QVariant displayOrder, bool isNew)
        : isNewLink(isNew)
    {
        fields["ReferenceID"] = referenceId;
        fields["DisplayOrder"] = displayOrder;
    }
    QVariant Field(const QString& name) const override { return fields.value(name); }
    void SetField(const QString& name, const QVariant& value) override { fields[name] = value; }
    bool IsNew() const override { return isNewLink; }
    bool IsChanged() const override { return false; }
    void Delete() override { }
    bool Save() override { return true; }
    QHash<QString, QVariant> fields;
    bool isNewLink;
};

class FakeLinks : public ReferenceLinks {
public:
    std::vector<std::shared_ptr<FakeLink>> links;
    int Count() const override { return int(links.size()); }
    std::shared_ptr<ReferenceLink> Item(int index) const override { return links.at(size_t(index - 1)); }
    std::shared_ptr<ReferenceLink> Find(const QString& criteria) const override
    {
        const QStringList parts = criteria.split(" = ");
        for (const auto& link : links) {
            if (link->Field(parts[0]).toString() == parts[1])
                return link;
        }
        return nullptr;
    }
    std::shared_ptr<ReferenceLink> Add() override { return nullptr; }
};

class BindGrid : public QObject {
    Q_OBJECT
public:
    explicit BindGrid(bool fails = false)
        : failing(fails)
    {
        setProperty("TypeName", "ctrlBindGrid");
    }
    Q_INVOKABLE void Deactivate()
    {
        ++deactivated;
        if (failing)
            throw Error(ErrorNumber::IllegalOperation, "cannot let go");
    }
    int deactivated = 0;
    bool failing;
};

} // namespace

TEST(FormatGridHeaders, TurnsColumnNamesIntoTitles)
{
    FakeGrid grid;
    grid.headers = {"NAME_CATEGORY", "id", "scientific_name_id",   "identifier",
                    "two words",     "",   "Classification_Level", "ID"};
    Misc_Functions::FormatGridHeaders(grid);
    EXPECT_EQ(grid.headers,
              QStringList({"Name Category", "ID", "Scientific Name ID", "Identifier", "Two Words", "",
                           "Classification Level", "ID"}));
    Misc_Functions::FormatGridHeaders(grid); // titles stay titles
    EXPECT_EQ(grid.headers[2], QString("Scientific Name ID"));
}

TEST(RenumberDisplayOrder, FollowsTheGridOrderAndStampsOnlyStoredObjectsThatChanged)
{
    FakeGrid grid;
    grid.rowData = {30, 10, 99, 20}; // 99 has no row object
    FakeLinks links;
    links.links = {std::make_shared<FakeLink>(10, "1", false), std::make_shared<FakeLink>(20, "2", true),
                   std::make_shared<FakeLink>(30, "3", false)};
    Misc_Functions::RenumberDisplayOrder(grid, links, "ReferenceID", "ann");
    EXPECT_EQ(links.links[2]->Field("DisplayOrder"), QVariant("1"));
    EXPECT_EQ(links.links[0]->Field("DisplayOrder"), QVariant("2"));
    EXPECT_EQ(links.links[1]->Field("DisplayOrder"), QVariant("4")); // its row is the fourth data row
    EXPECT_EQ(links.links[0]->Field("RecLastModUser"), QVariant("ann"));
    EXPECT_FALSE(links.links[1]->Field("RecLastModUser").isValid()); // new objects are not stamped

    FakeLinks numbered;
    numbered.links = {std::make_shared<FakeLink>(30, "1", false), std::make_shared<FakeLink>(10, "2", false),
                      std::make_shared<FakeLink>(20, "4", false)};
    Misc_Functions::RenumberDisplayOrder(grid, numbered, "ReferenceID", "bob");
    for (const auto& link : numbered.links)
        EXPECT_FALSE(link->Field("RecLastModUser").isValid());

    FakeLink unnumbered(5, QVariant(), false);
    EXPECT_FALSE(Misc_Functions::SetRowFieldValue(unnumbered, "DisplayOrder", "1", "ann"));
    EXPECT_FALSE(unnumbered.Field("DisplayOrder").isValid());
}

TEST(DeactivateBindGrids, DeactivatesBoundGridsAndIgnoresEveryError)
{
    BindGrid first;
    BindGrid failing(true);
    QObject other;
    QObject gridWithoutMember;
    gridWithoutMember.setProperty("TypeName", "ctrlBindGrid");
    Misc_Functions::DeactivateBindGrids({&first, &failing, nullptr, &other, &gridWithoutMember});
    EXPECT_EQ(first.deactivated, 1);
    EXPECT_EQ(failing.deactivated, 1);
}

TEST(RecordExistsInTable, AsksTheHostWithTheExactStatement)
{
    MockAppManager host;
    EXPECT_CALL(host,
                CallGetQueryRSXML(Eq(QString("Select * from scientific_name where scientific_name_id = 42"))))
        .WillOnce(Return(makeNameList({{42, "Abies alba"}})));
    EXPECT_CALL(host,
                CallGetQueryRSXML(Eq(QString("Select * from scientific_name where scientific_name_id = -7"))))
        .WillOnce(Return(makeNameList({})));
    EXPECT_TRUE(Misc_Functions::RecordExistsInTable("scientific_name", "scientific_name_id", 42, host));
    EXPECT_FALSE(Misc_Functions::RecordExistsInTable("scientific_name", "scientific_name_id", -7, host));
}

#include "Misc_FunctionsTest.moc"
