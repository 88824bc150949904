#include "FieldBinding.h"

#include "error/Error.h"

#include <QMetaProperty>

namespace bryx::host {

FieldBinding::FieldBinding(QObject& control, const QString& propertyName,
                           std::function<void(const QVariant&)> onEdit)
    : m_control(&control)
    , m_onEdit(std::move(onEdit))
{
    const QMetaObject* meta = control.metaObject();
    QMetaProperty property;
    for (int i = 0; i < meta->propertyCount(); ++i) {
        if (QString::fromLatin1(meta->property(i).name()).compare(propertyName, Qt::CaseInsensitive) == 0) {
            property = meta->property(i);
            break;
        }
    }
    if (!property.isValid())
        throw Error(ErrorNumber::ObjectDoesNotSupport,
                    QStringLiteral("BindField: control \"%1\" has no property \"%2\"")
                        .arg(control.objectName(), propertyName));
    m_property = property.name();
    if (property.hasNotifySignal()) {
        const int slot = metaObject()->indexOfSlot("propertyChanged()");
        QObject::connect(&control, property.notifySignal(), this, metaObject()->method(slot));
    }
}

void FieldBinding::show(const QVariant& value)
{
    if (!m_control)
        return;
    m_showing = true;
    const QVariant shown = value.isNull() || !value.isValid() ? QVariant(QString()) : value;
    m_control->setProperty(m_property.constData(), shown);
    m_showing = false;
}

QVariant FieldBinding::shownValue() const
{
    return m_control ? m_control->property(m_property.constData()) : QVariant();
}

void FieldBinding::propertyChanged()
{
    if (m_showing || !m_control)
        return;
    m_onEdit(m_control->property(m_property.constData()));
}

} // namespace bryx::host
