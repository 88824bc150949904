#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace bryx {

// An ordered collection of values counted from 1, each with an optional key that is
// matched without regard to case. It carries selected identifiers, message arguments and
// the host's views collection; entries that are themselves keyed records are stored as
// nested collections (see Collection::fromEntry).
class Collection {
public:
    int Count() const noexcept { return static_cast<int>(m_items.size()); }

    // Appends, or inserts before/after the 1-based position given (at most one of them).
    void Add(const QVariant& value, const QString& key = {}, int before = 0, int after = 0);

    const QVariant& Item(int index) const;
    const QVariant& Item(const QString& key) const;
    bool Contains(const QString& key) const { return findKey(key) >= 0; }
    QString KeyAt(int index) const;

    void Remove(int index);
    void Remove(const QString& key);
    void Clear() noexcept { m_items.clear(); }

    // Wraps a nested keyed record (such as one view of the views collection) for storing.
    static QVariant fromEntry(std::shared_ptr<Collection> entry);
    // The nested record held by a value, or null when the value holds none.
    static std::shared_ptr<Collection> entryOf(const QVariant& value);

private:
    struct Entry {
        QVariant value;
        QString key;
    };

    int findKey(const QString& key) const;
    int checkedIndex(int index, const char* operation) const;

    std::vector<Entry> m_items;
};

} // namespace bryx

Q_DECLARE_METATYPE(std::shared_ptr<bryx::Collection>)
