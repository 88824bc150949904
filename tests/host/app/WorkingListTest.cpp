#include "WorkingList.h"

#include "../TestDatabase.h"
#include "db/Database.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"

#include <gtest/gtest.h>

namespace bryx::test {

using namespace bryx::host;

namespace {

class WorkingListRows : public OnEachEngineWithHost {
protected:
    static QString nameOf(Recordset& list, int32_t id)
    {
        for (list.MoveFirst(); !list.IsEOF(); list.MoveNext()) {
            if (list.Fields("ID").Value().toInt() == id)
                return list.Fields("Scientific_Name").Value().toString();
        }
        return {};
    }
    static std::vector<int> idsOf(Recordset& list)
    {
        std::vector<int> ids;
        for (list.MoveFirst(); !list.IsEOF(); list.MoveNext())
            ids.push_back(list.Fields("ID").Value().toInt());
        return ids;
    }
};

} // namespace

TEST_P(WorkingListRows, NamesJoinOnceAreReadAgainAfterASaveAndLeaveByID)
{
    WorkingList list(appManager);
    Recordset& rows = *list.records();
    EXPECT_EQ(rows.RecordCount(), 0);

    EXPECT_EQ(list.add(3), WorkingList::Added::Added);
    EXPECT_EQ(list.add(5), WorkingList::Added::Added);
    EXPECT_EQ(list.add(3), WorkingList::Added::AlreadyThere) << "a name is listed once";
    EXPECT_EQ(list.add(987654), WorkingList::Added::NoSuchName);
    EXPECT_EQ(idsOf(rows), (std::vector<int> {3, 5}));
    EXPECT_EQ(nameOf(rows, 3), QString("Abies grandis"));

    // Another window saved the name: the list reads the stored row again.
    database->open()->exec("UPDATE scientific_name SET scientific_name = 'Abies grandis var. idahoensis' "
                           "WHERE scientific_name_id = 3");
    EXPECT_TRUE(list.refresh(3));
    EXPECT_EQ(nameOf(rows, 3), QString("Abies grandis var. idahoensis"));
    EXPECT_FALSE(list.refresh(4)) << "a name the list does not hold is not added by a refresh";
    EXPECT_EQ(rows.RecordCount(), 2);

    EXPECT_TRUE(WorkingList::remove(rows, 3));
    EXPECT_FALSE(WorkingList::remove(rows, 3));
    EXPECT_EQ(idsOf(rows), (std::vector<int> {5}));
    EXPECT_TRUE(WorkingList::remove(rows, 5));
    EXPECT_FALSE(WorkingList::remove(rows, 5)) << "an empty list answers, it does not fail";
}

INSTANTIATE_ON_EACH_ENGINE(WorkingListRows);

} // namespace bryx::test
