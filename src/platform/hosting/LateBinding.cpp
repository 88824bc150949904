#include "LateBinding.h"

#include "error/Error.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <array>
#include <vector>

namespace bryx {

namespace {

[[noreturn]] void notSupported(const QObject& object, const QString& member)
{
    throw Error(ErrorNumber::ObjectDoesNotSupport,
                QStringLiteral("Object doesn't support this property or method: %1.%2")
                    .arg(QString::fromLatin1(object.metaObject()->className()), member));
}

int findMethod(const QObject& object, const QString& name, int argumentCount, bool& nameExists)
{
    const QMetaObject* meta = object.metaObject();
    nameExists = false;
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (method.access() != QMetaMethod::Public || method.methodType() == QMetaMethod::Signal)
            continue;
        if (QString::fromLatin1(method.name()).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        nameExists = true;
        if (method.parameterCount() == argumentCount)
            return i;
    }
    return -1;
}

QMetaProperty findProperty(const QObject& object, const QString& name)
{
    const QMetaObject* meta = object.metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        if (QString::fromLatin1(meta->property(i).name()).compare(name, Qt::CaseInsensitive) == 0)
            return meta->property(i);
    }
    return {};
}

} // namespace

bool HasMember(const QObject& object, const QString& memberName)
{
    bool nameExists = false;
    for (int count = 0; count <= 10 && !nameExists; ++count)
        findMethod(object, memberName, count, nameExists);
    return nameExists || findProperty(object, memberName).isValid();
}

QVariant CallByName(QObject& object, const QString& memberName, const QVariantList& arguments)
{
    QVariantList copy = arguments;
    return CallByName(object, memberName, copy);
}

QVariant CallByName(QObject& object, const QString& memberName, QVariantList& arguments)
{
    bool nameExists = false;
    const int index = findMethod(object, memberName, int(arguments.size()), nameExists);
    if (index < 0) {
        // A property read or write written as a call, as late-bound code may do.
        if (const QMetaProperty property = findProperty(object, memberName); property.isValid()) {
            if (arguments.isEmpty())
                return property.read(&object);
            if (arguments.size() == 1) {
                SetPropertyByName(object, memberName, arguments.first());
                return {};
            }
        }
        if (nameExists)
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("%1.%2 does not take %3 argument(s)")
                            .arg(QString::fromLatin1(object.metaObject()->className()), memberName)
                            .arg(arguments.size()));
        notSupported(object, memberName);
    }
    const QMetaMethod method = object.metaObject()->method(index);
    if (arguments.size() > 10)
        throw Error(ErrorNumber::InvalidArgument, QStringLiteral("%1: too many arguments").arg(memberName));

    // invoke() matches arguments by the method's own type names, so those are what we pass; a
    // reference parameter ("int&") gets storage of the referenced type that we copy back.
    const QList<QByteArray> typeNames = method.parameterTypes();
    std::vector<QVariant> converted;
    converted.reserve(size_t(arguments.size()));
    std::array<QGenericArgument, 10> generic {};
    for (int i = 0; i < arguments.size(); ++i) {
        QByteArray valueTypeName = typeNames[i];
        if (valueTypeName.endsWith('&'))
            valueTypeName.chop(1);
        const QMetaType type = QMetaType::fromName(valueTypeName);
        QVariant value = arguments[i];
        if (type.id() != QMetaType::QVariant) {
            if (!type.isValid() || (value.metaType() != type && !value.convert(type)))
                throw Error(ErrorNumber::TypeMismatch,
                            QStringLiteral("%1: argument %2 cannot be converted to %3")
                                .arg(memberName)
                                .arg(i + 1)
                                .arg(QString::fromLatin1(valueTypeName)));
        }
        converted.push_back(std::move(value));
        void* storage = type.id() == QMetaType::QVariant ? static_cast<void*>(&converted.back())
                                                         : converted.back().data();
        generic[size_t(i)] = QGenericArgument(typeNames[i].constData(), storage);
    }

    QVariant result;
    QGenericReturnArgument returned;
    if (method.returnMetaType().id() != QMetaType::Void) {
        result = QVariant(method.returnMetaType());
        returned = QGenericReturnArgument(method.returnMetaType().name(), result.data());
    }
    const bool ok =
        method.invoke(&object, Qt::DirectConnection, returned, generic[0], generic[1], generic[2], generic[3],
                      generic[4], generic[5], generic[6], generic[7], generic[8], generic[9]);
    if (!ok)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("%1.%2 could not be called")
                        .arg(QString::fromLatin1(object.metaObject()->className()), memberName));
    for (int i = 0; i < arguments.size(); ++i) {
        if (typeNames[i].endsWith('&'))
            arguments[i] = converted[size_t(i)];
    }
    return result;
}

QVariant GetPropertyByName(const QObject& object, const QString& propertyName)
{
    const QMetaProperty property = findProperty(object, propertyName);
    if (!property.isValid())
        notSupported(object, propertyName);
    return property.read(&object);
}

void SetPropertyByName(QObject& object, const QString& propertyName, const QVariant& value)
{
    const QMetaProperty property = findProperty(object, propertyName);
    if (!property.isValid() || !property.isWritable())
        notSupported(object, propertyName);
    if (!property.write(&object, value))
        throw Error(ErrorNumber::TypeMismatch,
                    QStringLiteral("%1 cannot be set to \"%2\"").arg(propertyName, value.toString()));
}

} // namespace bryx
