#pragma once

#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <memory>

class QWidget;

namespace bryx {

class EventRelay;
class UserControl;

// Holds a component that a form added by ProgID: its size in twips, its visibility, its own
// members (through LateBinding on object()), and every event it raises, by name, through the
// Event signal. Destroying the extender removes the component from its form at once and
// destroys it when the event loop next runs (or when deferred deletions are sent).
class ControlExtender : public QObject {
    Q_OBJECT
public:
    // Adds a component of the ProgID to the container under the name; an unknown ProgID raises
    // Error 429 and a name already in use raises 457.
    static std::unique_ptr<ControlExtender> add(QWidget& container, const QString& progId,
                                                const QString& name);
    // Holds a component made elsewhere (by a library loaded at run time); the container it
    // is placed in is the caller's business.
    static std::unique_ptr<ControlExtender> adopt(UserControl& component);
    ~ControlExtender() override;

    UserControl* object() const { return m_component; }
    QString name() const;
    int widthTwips() const;
    int heightTwips() const;
    void setSizeTwips(int widthTwips, int heightTwips);
    bool isVisible() const;
    void setVisible(bool visible);

signals:
    // Every event of the component, with its name as declared and its arguments.
    void Event(const QString& name, const QVariantList& arguments);

private:
    explicit ControlExtender(UserControl& component);

    QPointer<UserControl> m_component;
    std::unique_ptr<EventRelay> m_relay;
};

} // namespace bryx
