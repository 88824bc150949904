#include "LookupLists.h"

#include "collection/Collection.h"
#include "contracts/AppManager.h"
#include "controls/ListSink.h"
#include "error/Error.h"
#include "recordset/Recordset.h"

namespace bryx {

namespace {
std::shared_ptr<Recordset> query(AppManager& appManager, QString sql)
{
    auto recordset = appManager.CallGetQueryRSXML(sql);
    if (!recordset)
        throw Error(ErrorNumber::ObjectClosed,
                    QStringLiteral("The host answered no recordset for: %1").arg(sql));
    return recordset;
}
} // namespace

QString NameCategoriesSQL(const QString& nameTypeCode)
{
    return QStringLiteral("SELECT * FROM D_NAME_CATEGORY WHERE NAME_TYPE_CD='") + nameTypeCode
        + QStringLiteral("' ORDER BY DISPLAY_ORDER, NAME_TYPE_DESC");
}

QString ClassificationLevelsSQL(const QString& category)
{
    return QStringLiteral("SELECT * ")
        + QStringLiteral("FROM    D_CLASSIFICATION_LEVEL, D_CLASSIFICATION_FRAMEWORK, D_NAME_CATEGORY ")
        + QStringLiteral("WHERE D_CLASSIFICATION_LEVEL.D_CLASS_FRAMEWORK_ID="
                         "D_CLASSIFICATION_FRAMEWORK.D_CLASSIFICATION_FRAMEWORK_ID ")
        + QStringLiteral("     AND D_CLASSIFICATION_FRAMEWORK.D_CLASSIFICATION_FRAMEWORK_ID="
                         "D_NAME_CATEGORY.D_CLASS_FRAMEWORK_ID ")
        + QStringLiteral("     AND D_CLASSIFICATION_LEVEL.LOWER_LEVEL_IND='Y' ")
        + QStringLiteral("     AND D_NAME_CATEGORY.NAME_CATEGORY_DESC='") + category + QStringLiteral("'")
        + QStringLiteral("ORDER BY D_CLASSIFICATION_LEVEL.DISPLAY_ORDER, "
                         "D_CLASSIFICATION_LEVEL.CLASSIFICATION_LEVEL_NAME");
}

void LoadNameCategories(AppManager& appManager, ListSink& categories, const QString& nameTypeCode)
{
    const auto recordset = query(appManager, NameCategoriesSQL(nameTypeCode));
    categories.Clear();
    FillComboFromRecordset(*recordset, &categories, QStringLiteral("Name_Category_Desc"),
                           QStringLiteral("Name_Category_Desc"), nullptr);
}

void LoadClassificationLevels(AppManager& appManager, ListSink& levels, const QString& category)
{
    if (category.isEmpty())
        return;
    const auto recordset = query(appManager, ClassificationLevelsSQL(category));
    FillComboFromRecordset(*recordset, &levels, QStringLiteral("Classification_Level_Name"),
                           QStringLiteral("Classification_Level_Name"), nullptr);
}

void FillComboFromRecordset(Recordset& recordset, ListSink* list, const QString& textField,
                            const QString& keyField, Collection* keys)
{
    if (!list)
        return;
    if (recordset.IsBOF() || recordset.IsEOF())
        return;
    Field& text = recordset.Fields(textField);
    Field* key = keys ? &recordset.Fields(keyField) : nullptr;
    recordset.MoveFirst();
    while (!recordset.IsEOF()) {
        list->AddItem(text.IsNull() ? QString() : text.Value().toString());
        if (key)
            keys->Add(key->Value());
        recordset.MoveNext();
    }
}

} // namespace bryx
