#include "../support/ErrorMatchers.h"
#include "../support/QtPrinters.h"
#include "../support/RecordsetBuilder.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;

TEST(RecordsetFields, LookupIgnoresCaseAndUnknownNamesFailClearly)
{
    auto rs = makeNameList({{1, "Abies alba"}});
    EXPECT_EQ(&rs->Fields("scientific_NAME"), &rs->Fields(1));
    EXPECT_EQ(rs->FindField("nothing"), nullptr);
    const QString why = EXPECT_BRYX_ERROR(rs->Fields("Category"), ErrorNumber::ItemNotFound);
    EXPECT_TRUE(why.contains("Category") && why.contains("Scientific_Name")) << why.toStdString();
    EXPECT_BRYX_ERROR(rs->Fields(3), ErrorNumber::ItemNotFound);
    EXPECT_BRYX_ERROR(rs->AppendField("Extra", DataType::Integer), ErrorNumber::ObjectOpen);

    Recordset closed;
    closed.AppendField("ID", DataType::Integer);
    EXPECT_BRYX_ERROR(closed.AppendField("id", DataType::VarChar), ErrorNumber::InvalidArgument);
    EXPECT_BRYX_ERROR(closed.AppendField("Odd", 9999), ErrorNumber::InvalidArgument);
    EXPECT_BRYX_ERROR(Recordset().Open(), ErrorNumber::InvalidArgument);
}

TEST(RecordsetFields, NullStaysDistinctFromEmptyText)
{
    auto rs = makeRecordset({{"T", DataType::VarWChar, 10}}, {{QVariant()}, {QString("")}});
    rs->MoveFirst();
    EXPECT_TRUE(rs->Fields("T").IsNull());
    EXPECT_FALSE(rs->Fields("T").Value().isValid());
    rs->MoveNext();
    EXPECT_FALSE(rs->Fields("T").IsNull());
    EXPECT_EQ(rs->Fields("T").Value(), QVariant(QString("")));
}

TEST(RecordsetFields, ValuesConvertToTheFieldTypeOrAreRefusedWithoutChange)
{
    auto rs = makeRecordset({{"N", DataType::Integer, 4},
                             {"Small", DataType::SmallInt, 2},
                             {"Money", DataType::Currency, 8},
                             {"When", DataType::Date, 8},
                             {"Flag", DataType::Boolean, 2},
                             {"Text", DataType::VarChar, 20}},
                            {{1, 1, 1, QDate(2000, 1, 1), false, "x"}});
    rs->MoveFirst();
    Field& n = rs->Fields("N");
    n.SetValue("  12 ");
    EXPECT_EQ(n.Value(), QVariant(12));
    n.SetValue(2.5); // rounds half to even, as desktop conversions do
    EXPECT_EQ(n.Value(), QVariant(2));
    n.SetValue(3.5);
    EXPECT_EQ(n.Value(), QVariant(4));
    n.SetValue(true);
    EXPECT_EQ(n.Value(), QVariant(-1));

    n.SetValue(7);
    EXPECT_TRUE(EXPECT_BRYX_ERROR(n.SetValue("12a"), ErrorNumber::DataConversion).contains("\"N\""));
    EXPECT_BRYX_ERROR(n.SetValue(qlonglong(1) << 40), ErrorNumber::DataConversion);
    EXPECT_BRYX_ERROR(rs->Fields("Small").SetValue(40000), ErrorNumber::DataConversion);
    EXPECT_EQ(n.Value(), QVariant(7)); // a refused value changes nothing

    rs->Fields("Money").SetValue("12.34567");
    EXPECT_DOUBLE_EQ(rs->Fields("Money").Value().toDouble(), 12.3457);
    EXPECT_EQ(rs->Fields("Money").textAt(0), QString("12.3457"));

    rs->Fields("When").SetValue("1/31/2024 2:30:00 PM");
    EXPECT_EQ(rs->Fields("When").Value().toDateTime(), QDateTime(QDate(2024, 1, 31), QTime(14, 30), Qt::UTC));
    EXPECT_BRYX_ERROR(rs->Fields("When").SetValue("soon"), ErrorNumber::DataConversion);

    rs->Fields("Flag").SetValue("true");
    EXPECT_EQ(rs->Fields("Flag").Value(), QVariant(true));
    EXPECT_BRYX_ERROR(rs->Fields("Flag").SetValue("perhaps"), ErrorNumber::DataConversion);

    rs->Fields("Text").SetValue(42);
    EXPECT_EQ(rs->Fields("Text").Value(), QVariant(QString("42")));
}

TEST(RecordsetNavigation, PositionsBofAndEofFollowTheUsualRules)
{
    auto empty = makeNameList({});
    EXPECT_TRUE(empty->IsBOF());
    EXPECT_TRUE(empty->IsEOF());
    EXPECT_EQ(empty->AbsolutePosition(), PositionUnknown);
    empty->MoveFirst(); // harmless on an empty recordset
    empty->MoveLast();
    EXPECT_BRYX_ERROR(empty->MoveNext(), ErrorNumber::NoCurrentRecord);
    EXPECT_BRYX_ERROR(empty->Fields("ID").Value(), ErrorNumber::NoCurrentRecord);

    auto rs = makeNameList({{10, "a"}, {20, "b"}, {30, "c"}});
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    rs->MovePrevious();
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_EQ(rs->AbsolutePosition(), PositionBOF);
    EXPECT_BRYX_ERROR(rs->MovePrevious(), ErrorNumber::NoCurrentRecord);
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("ID").Value(), QVariant(10));
    rs->Move(2);
    EXPECT_EQ(rs->Fields("ID").Value(), QVariant(30));
    rs->Move(5);
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_EQ(rs->AbsolutePosition(), PositionEOF);
    EXPECT_BRYX_ERROR(rs->MoveNext(), ErrorNumber::NoCurrentRecord);
    rs->Move(-2);
    EXPECT_EQ(rs->Fields("ID").Value(), QVariant(20));

    rs->SetAbsolutePosition(3);
    const Bookmark third = rs->GetBookmark();
    rs->SetFilter("ID > 10");
    rs->SetBookmark(third);
    EXPECT_EQ(rs->AbsolutePosition(), 2);
    rs->SetFilter("ID = 10");
    EXPECT_BRYX_ERROR(rs->SetBookmark(third), ErrorNumber::InvalidArgument);
    EXPECT_BRYX_ERROR(rs->SetAbsolutePosition(2), ErrorNumber::InvalidArgument);

    rs->Close();
    EXPECT_EQ(rs->State(), ObjectState::Closed);
    EXPECT_BRYX_ERROR(rs->RecordCount(), ErrorNumber::ObjectClosed);
    EXPECT_BRYX_ERROR(rs->MoveFirst(), ErrorNumber::ObjectClosed);
    EXPECT_BRYX_ERROR(rs->Close(), ErrorNumber::ObjectClosed);
    // Closing keeps the fields, so the recordset can be opened again, empty.
    rs->Open();
    EXPECT_EQ(rs->FieldCount(), 3);
    EXPECT_EQ(rs->RecordCount(), 0);
}

TEST(RecordsetEditing, AddUpdateAndCancelKeepTheRowsConsistent)
{
    auto rs = makeNameList({{1, "a"}, {2, "b"}});
    rs->MoveLast();
    rs->AddNew();
    EXPECT_EQ(rs->GetEditMode(), EditMode::Add);
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_TRUE(rs->Fields("ID").IsNull());
    rs->Fields("ID").SetValue(3);
    rs->CancelUpdate();
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields("ID").Value(), QVariant(2)); // back on the record current before AddNew

    rs->MoveFirst();
    rs->Fields("Scientific_Name").SetValue("changed");
    EXPECT_EQ(rs->GetEditMode(), EditMode::InProgress);
    rs->CancelUpdate();
    EXPECT_EQ(rs->Fields("Scientific_Name").Value(), QVariant(QString("a")));
    EXPECT_EQ(rs->Status(), RecordStatus::Unmodified);

    rs->Fields("Scientific_Name").SetValue("edited");
    rs->MoveNext(); // moving commits the edit
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields("Scientific_Name").Value(), QVariant(QString("edited")));
    EXPECT_EQ(rs->Status(), RecordStatus::Modified);

    rs->AddNew();
    rs->Fields("ID").SetValue(9);
    rs->Update();
    EXPECT_EQ(rs->Status(), RecordStatus::New);
    rs->UpdateBatch();
    EXPECT_EQ(rs->Status(), RecordStatus::Unmodified);
    EXPECT_EQ(ids(*rs), (std::vector<int> {1, 2, 9}));
}

TEST(RecordsetEditing, ADeletedRecordStaysCurrentUntilTheNextMove)
{
    auto rs = makeNameList({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}});
    rs->SetAbsolutePosition(2);
    rs->Delete();
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Status() & RecordStatus::Deleted, RecordStatus::Deleted);
    EXPECT_TRUE(
        EXPECT_BRYX_ERROR(rs->Fields("ID").Value(), ErrorNumber::NoCurrentRecord).contains("deleted"));
    EXPECT_FALSE(rs->IsEOF());
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("ID").Value(), QVariant(3));

    rs->MoveLast();
    rs->Delete();
    rs->MoveNext();
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_EQ(ids(*rs), (std::vector<int> {1, 3}));

    rs->SetFilter("ID = 1");
    rs->Delete(Affect::Group);
    rs->SetFilter("");
    EXPECT_EQ(ids(*rs), (std::vector<int> {3}));
    rs->UpdateBatch();
    EXPECT_EQ(ids(*rs), (std::vector<int> {3}));
    rs->MoveFirst();
    EXPECT_EQ(rs->Status(), RecordStatus::Unmodified);
}

TEST(RecordsetEditing, RewritingLongTextsManyTimesKeepsEveryValue)
{
    // Enough rewrites of long texts to make the column reclaim its abandoned bytes several times.
    auto rs = makeRecordset({{"ID", DataType::Integer, 4}, {"Notes", DataType::LongVarWChar, 0}}, {});
    for (int id = 0; id < 50; ++id) {
        rs->AddNew();
        rs->Fields("ID").SetValue(id);
        rs->Fields("Notes").SetValue(id % 7 == 0 ? QVariant() : QVariant(QString("short")));
        rs->Update();
    }
    std::vector<QVariant> expected(50);
    for (int round = 0; round < 400; ++round) {
        for (int id = 0; id < 50; id += 3) {
            rs->SetAbsolutePosition(id + 1);
            const QString text = QStringLiteral("%1:%2:").arg(round).arg(id) + QString(200, QChar(u'é'));
            rs->Fields("Notes").SetValue(text);
            expected[size_t(id)] = text;
        }
    }
    for (int id = 0; id < 50; ++id) {
        const QVariant want = id % 3 == 0 ? expected[size_t(id)]
            : id % 7 == 0                 ? QVariant()
                                          : QVariant(QString("short"));
        ASSERT_EQ(rs->ValueAt(id, 1), want) << "row " << id;
    }
    EXPECT_LT(rs->memoryBytes(), size_t(2) << 20); // the abandoned bytes were given back
}
