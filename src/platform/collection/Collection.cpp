#include "Collection.h"

#include "error/Error.h"

namespace bryx {

void Collection::Add(const QVariant& value, const QString& key, int before, int after)
{
    if (before != 0 && after != 0)
        throw Error(ErrorNumber::InvalidProcedureCall,
                    QStringLiteral("Collection.Add: give either a position before or after, not both"));
    if (!key.isEmpty() && findKey(key) >= 0)
        throw Error(
            ErrorNumber::DuplicateKey,
            QStringLiteral(
                "Collection.Add: the key \"%1\" is already associated with an element of this collection")
                .arg(key));
    auto at = m_items.end();
    if (before != 0)
        at = m_items.begin() + checkedIndex(before, "Add before");
    else if (after != 0)
        at = m_items.begin() + checkedIndex(after, "Add after") + 1;
    m_items.insert(at, Entry {value, key});
}

const QVariant& Collection::Item(int index) const
{
    return m_items[static_cast<size_t>(checkedIndex(index, "Item"))].value;
}

const QVariant& Collection::Item(const QString& key) const
{
    const int at = findKey(key);
    if (at < 0)
        throw Error(ErrorNumber::InvalidProcedureCall,
                    QStringLiteral("Collection.Item: no element has the key \"%1\"").arg(key));
    return m_items[static_cast<size_t>(at)].value;
}

QString Collection::KeyAt(int index) const
{
    return m_items[static_cast<size_t>(checkedIndex(index, "KeyAt"))].key;
}

void Collection::Remove(int index)
{
    m_items.erase(m_items.begin() + checkedIndex(index, "Remove"));
}

void Collection::Remove(const QString& key)
{
    const int at = findKey(key);
    if (at < 0)
        throw Error(ErrorNumber::InvalidProcedureCall,
                    QStringLiteral("Collection.Remove: no element has the key \"%1\"").arg(key));
    m_items.erase(m_items.begin() + at);
}

QVariant Collection::fromEntry(std::shared_ptr<Collection> entry)
{
    return QVariant::fromValue(std::move(entry));
}

std::shared_ptr<Collection> Collection::entryOf(const QVariant& value)
{
    return value.canConvert<std::shared_ptr<Collection>>() ? value.value<std::shared_ptr<Collection>>()
                                                           : nullptr;
}

int Collection::findKey(const QString& key) const
{
    if (key.isEmpty())
        return -1;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int Collection::checkedIndex(int index, const char* operation) const
{
    if (index < 1 || index > Count())
        throw Error(
            ErrorNumber::SubscriptOutOfRange,
            QStringLiteral("Collection.%1(%2): subscript out of range; the collection holds %3 element(s)")
                .arg(QLatin1String(operation))
                .arg(index)
                .arg(Count()));
    return index - 1;
}

} // namespace bryx
