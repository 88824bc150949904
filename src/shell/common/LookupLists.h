#pragma once

#include <QString>

namespace bryx {

class AppManager;
class Collection;
class ListSink;
class Recordset;

// The statement that lists the name categories of a name type code ("P", "A", "C").
QString NameCategoriesSQL(const QString& nameTypeCode);
// The statement that lists the lower classification levels of a category's framework.
QString ClassificationLevelsSQL(const QString& category);

// Clears the category list and refills it through the host; nothing stays chosen.
void LoadNameCategories(AppManager& appManager, ListSink& categories, const QString& nameTypeCode);
// Adds the classification levels of a category (nothing for an empty category). Does not
// clear the list: callers clear it first.
void LoadClassificationLevels(AppManager& appManager, ListSink& levels, const QString& category);

// Adds the text field of every row to the list, and the key field to `keys` when given.
// Nothing happens without a list, or when the recordset is at BOF or EOF. A NULL text is
// added as an empty item so that keys keep their positions.
void FillComboFromRecordset(Recordset& recordset, ListSink* list, const QString& textField,
                            const QString& keyField, Collection* keys);

} // namespace bryx
