#include "../support/ErrorMatchers.h"
#include "../support/QtPrinters.h"
#include "../support/RecordsetBuilder.h"

#include <QDateTime>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace bryx;
using namespace bryx::test;

namespace {

std::shared_ptr<Recordset> people()
{
    return makeRecordset({{"ID", DataType::Integer, 4},
                          {"Name", DataType::VarWChar, 50},
                          {"Score", DataType::Double, 8},
                          {"Born", DataType::Date, 8},
                          {"Active", DataType::Boolean, 2}},
                         {
                             {1, "Abies alba", 1.5, QDate(1990, 1, 31), true},
                             {2, "O'Neil", 2.0, QDate(1985, 6, 1), false},
                             {3, "abies grandis", QVariant(), QDate(2001, 12, 24), true},
                             {4, "Müller", -7.25, QVariant(), false},
                             {42, "", 0.0, QDate(1990, 1, 31), true},
                             {43, QVariant(), 1e300, QDate(1970, 1, 1), false},
                         });
}

int currentId(Recordset& recordset)
{
    return recordset.Fields("ID").Value().toInt();
}

std::vector<int> filtered(Recordset& recordset, const QString& criteria)
{
    recordset.SetFilter(criteria);
    return ids(recordset);
}

} // namespace

TEST(RecordsetFind, AcceptsTheCriteriaFormsCallersWrite)
{
    auto rs = people();
    struct Case {
        const char* criteria;
        int expectedId;
    } cases[] = {
        {"ID = 42", 42},
        {"ID=42", 42},
        {"  id   =   3 ", 3},
        {"[ID] = 4", 4},
        {"Name = 'O''Neil'", 2},
        {"name = \"o'neil\"", 2},
        {"Name = 'ABIES GRANDIS'", 3}, // text equality ignores case
        {"Name LIKE 'Ab*'", 1},
        {"Name LIKE '*grand*'", 3},
        {"Name LIKE 'M%r'", 4},
        {"Name = 'müller'", 4},
        {"Name = ''", 42},
        {"Name = NULL", 43},
        {"Score > 1.9", 2},
        {"Score < 0", 4},
        {"Score >= 1E300", 43},
        {"Born = #1985-06-01#", 2},
        {"Born = '12/24/2001'", 3},
        {"Active = False", 2},
        {"ID <> 1", 2},
        {"ID >= 42", 42},
        {"ID = '43'", 43}, // a quoted number still compares as a number
    };
    for (const Case& c : cases) {
        rs->MoveFirst();
        rs->Find(QString::fromUtf8(c.criteria));
        ASSERT_FALSE(rs->IsEOF()) << c.criteria;
        EXPECT_EQ(currentId(*rs), c.expectedId) << c.criteria;
    }
}

TEST(RecordsetFind, SkipDirectionAndStartDecideWhereTheSearchBegins)
{
    auto rs = people();
    rs->MoveFirst();
    rs->Find("Active = True");
    EXPECT_EQ(currentId(*rs), 1); // the current record itself counts
    rs->Find("Active = True", 1);
    EXPECT_EQ(currentId(*rs), 3);
    rs->Find("Active = True", 0, SearchDirection::Backward, BookmarkEnum::Last);
    EXPECT_EQ(currentId(*rs), 42);
    rs->Find("Active = True", 1, SearchDirection::Backward);
    EXPECT_EQ(currentId(*rs), 3);

    rs->MoveFirst();
    rs->MoveNext();
    const Bookmark second = rs->GetBookmark();
    rs->MoveLast();
    rs->Find("ID > 0", 0, SearchDirection::Forward, second);
    EXPECT_EQ(currentId(*rs), 2);
    rs->Find("ID > 0", 0, SearchDirection::Forward, BookmarkEnum::First);
    EXPECT_EQ(currentId(*rs), 1);

    rs->Find("ID = 999");
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_FALSE(rs->IsBOF());
    rs->MoveLast();
    rs->Find("ID = 999", 0, SearchDirection::Backward);
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_FALSE(rs->IsEOF());
}

TEST(RecordsetFind, RefusesBadCriteriaWithMessagesThatSayWhy)
{
    auto rs = people();
    rs->MoveFirst();
    EXPECT_TRUE(
        EXPECT_BRYX_ERROR(rs->Find("ID = "), ErrorNumber::InvalidArgument).contains("value is missing"));
    EXPECT_TRUE(EXPECT_BRYX_ERROR(rs->Find(""), ErrorNumber::InvalidArgument).contains("empty"));
    EXPECT_TRUE(EXPECT_BRYX_ERROR(rs->Find("Nope = 1"), ErrorNumber::ItemNotFound).contains("\"Nope\""));
    EXPECT_TRUE(
        EXPECT_BRYX_ERROR(rs->Find("ID = 'abc'"), ErrorNumber::InvalidArgument).contains("not a number"));
    EXPECT_TRUE(
        EXPECT_BRYX_ERROR(rs->Find("Name = 'O'Neil'"), ErrorNumber::InvalidArgument).contains("Neil"));
    EXPECT_TRUE(
        EXPECT_BRYX_ERROR(rs->Find("Name = 'open"), ErrorNumber::InvalidArgument).contains("not closed"));
    EXPECT_TRUE(
        EXPECT_BRYX_ERROR(rs->Find("ID = 1 AND ID = 2"), ErrorNumber::InvalidArgument).contains("Filter"));
    EXPECT_BRYX_ERROR(rs->Find("ID 42"), ErrorNumber::InvalidArgument);
    EXPECT_BRYX_ERROR(rs->Find("ID == 42"), ErrorNumber::InvalidArgument);
    EXPECT_BRYX_ERROR(rs->Find("Born = #yesterday#"), ErrorNumber::InvalidArgument);
    EXPECT_BRYX_ERROR(rs->Find("ID > NULL"), ErrorNumber::InvalidArgument);
    EXPECT_BRYX_ERROR(rs->Find("ID = 1", -1), ErrorNumber::InvalidArgument);
    // A failed parse leaves the cursor where it was.
    EXPECT_EQ(currentId(*rs), 1);

    rs->MoveLast();
    rs->MoveNext();
    EXPECT_BRYX_ERROR(rs->Find("ID = 1"), ErrorNumber::NoCurrentRecord);
    rs->Close();
    EXPECT_BRYX_ERROR(rs->Find("ID = 1"), ErrorNumber::ObjectClosed);
}

TEST(RecordsetFilter, CompoundCriteriaHideRowsFromCountMovesAndFinds)
{
    auto rs = people();
    EXPECT_EQ(filtered(*rs, "ID = 1 OR ID = 4"), (std::vector<int> {1, 4}));
    EXPECT_EQ(filtered(*rs, "Active = True AND ID > 1"), (std::vector<int> {3, 42}));
    EXPECT_EQ(filtered(*rs, "(ID = 1 OR ID = 2) AND Name LIKE 'o*'"), (std::vector<int> {2}));
    EXPECT_EQ(filtered(*rs, "ID = 1 OR ID = 2 AND Name LIKE 'o*'"),
              (std::vector<int> {1, 2})); // AND binds tighter
    EXPECT_EQ(filtered(*rs, "Score IS NULL or Name is null"), (std::vector<int> {3, 43}));
    EXPECT_EQ(filtered(*rs, "Born <> NULL AND Born < #2000-01-01#"), (std::vector<int> {1, 2, 42, 43}));

    rs->SetFilter("Active = True");
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->MoveFirst();
    rs->Find("ID = 2"); // filtered out: invisible to Find
    EXPECT_TRUE(rs->IsEOF());
    rs->MoveLast();
    EXPECT_EQ(currentId(*rs), 42);
    EXPECT_EQ(rs->AbsolutePosition(), 3);

    rs->SetFilter("ID = -12345678");
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_TRUE(rs->IsEOF());

    rs->SetFilter("");
    EXPECT_EQ(rs->RecordCount(), 6);
    EXPECT_EQ(rs->Filter(), QString());
}

TEST(RecordsetFilter, ABadFilterKeepsThePreviousOne)
{
    auto rs = people();
    rs->SetFilter("ID < 3");
    EXPECT_BRYX_ERROR(rs->SetFilter("ID < 3 AND"), ErrorNumber::InvalidArgument);
    EXPECT_BRYX_ERROR(rs->SetFilter("(ID < 3"), ErrorNumber::InvalidArgument);
    EXPECT_BRYX_ERROR(rs->SetFilter("Missing = 1"), ErrorNumber::ItemNotFound);
    EXPECT_EQ(rs->Filter(), QString("ID < 3"));
    EXPECT_EQ(ids(*rs), (std::vector<int> {1, 2}));
}

TEST(RecordsetFilter, RowsAddedUnderAFilterStayVisibleUntilItChanges)
{
    auto rs = people();
    rs->SetFilter("ID < 3");
    rs->AddNew();
    rs->Fields("ID").SetValue(100);
    rs->Update();
    EXPECT_EQ(ids(*rs), (std::vector<int> {1, 2, 100}));
    rs->SetFilter("ID < 3");
    EXPECT_EQ(ids(*rs), (std::vector<int> {1, 2}));
    rs->SetFilter("");
    EXPECT_EQ(rs->RecordCount(), 7);
}

// The index must answer exactly what the rows hold, whatever happened to them since it was
// built: edits of the indexed fields, additions, cancelled edits, deletions and filters. The
// expected answer is read cell by cell, independently of Find.
TEST(RecordsetFind, OptimizedFindsStayExactThroughEveryKindOfChange)
{
    std::mt19937 random(20261205);
    auto rs = makeRecordset(
        {{"ID", DataType::Integer, 4}, {"Code", DataType::VarWChar, 10}, {"Weight", DataType::Double, 8}},
        {});
    static const char* codes[] = {"a", "B", "ab", "AB", "Ärger", "ärger", "long code here", "x"};
    auto randomCode = [&] { return QString::fromUtf8(codes[random() % std::size(codes)]); };
    for (int i = 0; i < 300; ++i) {
        rs->AddNew();
        rs->Fields("ID").SetValue(int(random() % 60));
        rs->Fields("Code").SetValue(random() % 10 == 0 ? QVariant() : QVariant(randomCode()));
        rs->Fields("Weight").SetValue(double(random() % 5) / 2);
        rs->Update();
    }
    rs->UpdateBatch();
    for (const char* name : {"ID", "Code", "Weight"})
        rs->Fields(name).SetOptimize(true);

    struct Query {
        QString criteria;
        int field;
        QVariant value;
    };
    auto expectedPositions = [&](const Query& query, SearchDirection direction) {
        std::vector<int> positions;
        for (int position = 0; position < rs->RecordCount(); ++position) {
            const QVariant cell = rs->ValueAt(position, query.field);
            const bool equal = query.field == 1
                ? cell.isValid() && cell.toString().compare(query.value.toString(), Qt::CaseInsensitive) == 0
                : cell.isValid() && cell.toDouble() == query.value.toDouble();
            if (equal)
                positions.push_back(position + 1);
        }
        if (direction == SearchDirection::Backward)
            std::reverse(positions.begin(), positions.end());
        return positions;
    };
    auto foundPositions = [&](const Query& query, SearchDirection direction) {
        std::vector<int> found;
        if (rs->RecordCount() == 0)
            return found;
        direction == SearchDirection::Forward ? rs->MoveFirst() : rs->MoveLast();
        rs->Find(query.criteria, 0, direction);
        while (!rs->IsEOF() && !rs->IsBOF() && found.size() <= size_t(rs->RecordCount())) {
            found.push_back(rs->AbsolutePosition());
            rs->Find(query.criteria, 1, direction);
        }
        return found;
    };

    for (int round = 0; round < 60; ++round) {
        switch (round % 6) {
        case 0: // edit indexed fields; cancel some edits
            for (int i = 0; i < 30 && rs->RecordCount() > 0; ++i) {
                rs->SetAbsolutePosition(int(random() % rs->RecordCount()) + 1);
                rs->Fields("ID").SetValue(int(random() % 60));
                rs->Fields("Code").SetValue(random() % 8 == 0 ? QVariant() : QVariant(randomCode()));
                rs->Fields("Weight").SetValue(double(random() % 5) / 2);
                random() % 4 == 0 ? rs->CancelUpdate() : rs->Update();
            }
            break;
        case 1: // delete some rows, sometimes settling them
            for (int i = 0; i < 10 && rs->RecordCount() > 0; ++i) {
                rs->SetAbsolutePosition(int(random() % rs->RecordCount()) + 1);
                rs->Delete();
            }
            if (random() % 2)
                rs->UpdateBatch();
            break;
        case 2: // add rows, cancelling one
            for (int i = 0; i < 15; ++i) {
                rs->AddNew();
                rs->Fields("ID").SetValue(int(random() % 60));
                rs->Fields("Code").SetValue(randomCode());
                rs->Fields("Weight").SetValue(1.5);
                i == 7 ? rs->CancelUpdate() : rs->Update();
            }
            break;
        case 3:
            rs->SetFilter(QStringLiteral("ID < %1").arg(random() % 60));
            break;
        case 4:
            rs->SetFilter("");
            break;
        case 5: // a rebuilt index must agree too
            rs->Fields("Code").SetOptimize(false);
            rs->Fields("Code").SetOptimize(true);
            break;
        }
        const int id = int(random() % 60);
        const QString code = randomCode();
        const double weight = double(random() % 5) / 2;
        const Query queries[] = {
            {QStringLiteral("ID = %1").arg(id), 0, id},
            {QStringLiteral("Code = '%1'").arg(code), 1, code},
            {QStringLiteral("Weight = %1").arg(weight), 2, weight},
            {QStringLiteral("ID = 7.5"), 0, 7.5},
        };
        for (const Query& query : queries) {
            for (const auto direction : {SearchDirection::Forward, SearchDirection::Backward}) {
                ASSERT_EQ(foundPositions(query, direction), expectedPositions(query, direction))
                    << query.criteria.toStdString() << " in round " << round;
            }
        }
    }
}
