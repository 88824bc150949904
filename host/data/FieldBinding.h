#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

namespace bryx::host {

// Carries one bound control's property changes to the record: a relay connected to the
// property's notify signal, however the control names that signal.
class FieldBinding : public QObject {
    Q_OBJECT
public:
    // Throws bryx::Error when the control has no such property, matched without regard to case.
    FieldBinding(QObject& control, const QString& propertyName, std::function<void(const QVariant&)> onEdit);

    QObject* control() const { return m_control; }
    // Shows a value without it counting as an edit.
    void show(const QVariant& value);
    QVariant shownValue() const;

private slots:
    void propertyChanged();

private:
    QPointer<QObject> m_control;
    QByteArray m_property;
    std::function<void(const QVariant&)> m_onEdit;
    bool m_showing = false;
};

} // namespace bryx::host
