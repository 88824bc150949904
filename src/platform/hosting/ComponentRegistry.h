#pragma once

#include <QHash>
#include <QString>
#include <functional>

class QWidget;

namespace bryx {

class UserControl;

// The identities of one visual component class and how to make one.
struct ComponentClass {
    QString progId; // "Library.Class"
    QString classId; // "{...}"
    QString interfaceId;
    QString eventsId;
    std::function<UserControl*(QWidget* parent)> create;
};

// The component classes a process can create by ProgID or class identifier (both matched
// without regard to case): libraries add theirs when they are loaded.
class ComponentRegistry {
public:
    static ComponentRegistry& instance();

    void add(ComponentClass componentClass);
    void remove(const QString& progId);
    const ComponentClass* byProgId(const QString& progId) const;
    const ComponentClass* byClassId(const QString& classId) const;

    // Throws Error 429 when no such class is registered. The parent owns the new component.
    UserControl* create(const QString& progId, QWidget* parent) const;

private:
    QHash<QString, ComponentClass> m_byProgId; // lower-case ProgID
};

} // namespace bryx
