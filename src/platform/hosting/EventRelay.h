#pragma once

#include <QObject>
#include <QVariantList>
#include <functional>

namespace bryx {

// Hears every signal a component declares and hands it on by name with its arguments, the
// way a container receives the events of a control it knows only at run time.
class EventRelay : public QObject {
public:
    using Handler = std::function<void(const QString& eventName, const QVariantList& arguments)>;

    // Connects to each signal declared by the source's class and its bases below `stopAt`.
    EventRelay(QObject& source, const QMetaObject& stopAt, Handler handler);

    int qt_metacall(QMetaObject::Call call, int id, void** arguments) override;
    // Stops handing events on; safe to call from inside a handler.
    void detach();

private:
    QList<int> m_signals; // signal index of the source, per relay slot
    QObject* m_source;
    Handler m_handler;
};

} // namespace bryx
