#include "EventRelay.h"

#include <QMetaMethod>

namespace bryx {

EventRelay::EventRelay(QObject& source, const QMetaObject& stopAt, Handler handler)
    : m_source(&source)
    , m_handler(std::move(handler))
{
    const QMetaObject* meta = source.metaObject();
    for (int index = stopAt.methodCount(); index < meta->methodCount(); ++index) {
        if (meta->method(index).methodType() != QMetaMethod::Signal)
            continue;
        // Slot ids past our own methods reach qt_metacall below, one per signal.
        const int slot = metaObject()->methodCount() + int(m_signals.size());
        if (QMetaObject::connect(&source, index, this, slot, Qt::DirectConnection))
            m_signals << index;
    }
}

int EventRelay::qt_metacall(QMetaObject::Call call, int id, void** arguments)
{
    id = QObject::qt_metacall(call, id, arguments);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod)
        return id;
    // The handler may end this relay (a Quit that unloads the form): everything needed is taken
    // before it runs, and nothing of ours is touched after it.
    const int relaySlots = int(m_signals.size());
    if (id < relaySlots && m_handler) {
        const QMetaMethod signal = m_source->metaObject()->method(m_signals[id]);
        QVariantList values;
        for (int i = 0; i < signal.parameterCount(); ++i) {
            QMetaType type = signal.parameterMetaType(i);
            if (!type.isValid()) {
                QByteArray name = signal.parameterTypeName(i);
                name.chop(name.endsWith('&') ? 1 : 0);
                type = QMetaType::fromName(name);
            }
            values << QVariant(type, arguments[i + 1]);
        }
        const Handler handler = m_handler;
        handler(QString::fromLatin1(signal.name()), values);
    }
    return id - relaySlots;
}

void EventRelay::detach()
{
    QObject::disconnect(m_source, nullptr, this, nullptr);
    m_handler = nullptr;
}

} // namespace bryx
