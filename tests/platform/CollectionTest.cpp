#include "collection/Collection.h"

#include "../support/ErrorMatchers.h"
#include "../support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace bryx;

TEST(Collection, CountsFromOneAndFindsKeysWithoutRegardToCase)
{
    Collection items;
    items.Add(10);
    items.Add(20, "Twenty");
    items.Add(5, "five", 1); // before the first
    items.Add(15, {}, 0, 2); // after the second
    ASSERT_EQ(items.Count(), 4);
    EXPECT_EQ(items.Item(1), QVariant(5));
    EXPECT_EQ(items.Item(2), QVariant(10));
    EXPECT_EQ(items.Item(3), QVariant(15));
    EXPECT_EQ(items.Item("TWENTY"), QVariant(20));
    EXPECT_EQ(items.KeyAt(1), QString("five"));

    items.Remove("Five");
    items.Remove(1);
    EXPECT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Item(1), QVariant(15));
}

TEST(Collection, MisuseRaisesTheCustomaryErrors)
{
    Collection items;
    items.Add("a", "k");
    EXPECT_BRYX_ERROR(items.Item(0), ErrorNumber::SubscriptOutOfRange);
    EXPECT_BRYX_ERROR(items.Item(2), ErrorNumber::SubscriptOutOfRange);
    EXPECT_BRYX_ERROR(items.Item("missing"), ErrorNumber::InvalidProcedureCall);
    EXPECT_BRYX_ERROR(items.Add("b", "K"), ErrorNumber::DuplicateKey);
    EXPECT_BRYX_ERROR(items.Add("b", {}, 1, 1), ErrorNumber::InvalidProcedureCall);
    EXPECT_BRYX_ERROR(items.Remove(5), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(items.Count(), 1);
}

TEST(Collection, HoldsKeyedRecordsSuchAsTheViewsCollection)
{
    Collection views;
    for (const char* code : {"REF", "SNM"}) {
        auto view = std::make_shared<Collection>();
        view->Add(QString(code), "WORKING_LIST_TYPE");
        views.Add(Collection::fromEntry(view));
    }
    views.Add(42);
    EXPECT_EQ(Collection::entryOf(views.Item(2))->Item("working_list_type"), QVariant("SNM"));
    EXPECT_EQ(Collection::entryOf(views.Item(3)), nullptr);
}
