#pragma once

#include <QObject>
#include <QVariant>
#include <QVariantList>

namespace bryx {

// Calls on an object by member name, the way a host reaches a component it knows only by
// ProgID. Names match without regard to case; a member the object lacks raises error 438
// "Object doesn't support this property or method". Arguments are converted to the member's
// parameter types; a parameter declared as a reference receives the converted value and its
// new value is written back into `arguments`.
QVariant CallByName(QObject& object, const QString& memberName, QVariantList& arguments);
QVariant CallByName(QObject& object, const QString& memberName, const QVariantList& arguments = {});
QVariant GetPropertyByName(const QObject& object, const QString& propertyName);
void SetPropertyByName(QObject& object, const QString& propertyName, const QVariant& value);
bool HasMember(const QObject& object, const QString& memberName);

} // namespace bryx
