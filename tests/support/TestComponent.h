#pragma once

#include "error/Error.h"
#include "hosting/ComponentRegistry.h"
#include "hosting/UserControl.h"

#include <QString>

namespace bryx::test {

// A small component that stands in for a hosted search or details component.
class TestComponent : public UserControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
public:
    static constexpr const char* ProgId = "BryxTest.TestComponent";
    static constexpr const char* ClassId = "{00000000-0000-4000-8000-00000000BEEF}";

    explicit TestComponent(QWidget* parent = nullptr)
        : UserControl(parent)
    {
        setSizeTwips(9615, 8595);
    }
    static void registerClass()
    {
        ComponentRegistry::instance().add(
            {ProgId, ClassId, "{IID}", "{EVENTS}",
             [](QWidget* parent) -> UserControl* { return new TestComponent(parent); }});
    }

    Q_INVOKABLE int Add(int a, int b) { return a + b; }
    Q_INVOKABLE QString Greet(const QString& who) { return QStringLiteral("Hello, ") + who; }
    Q_INVOKABLE void Double(int& value) { value *= 2; }
    Q_INVOKABLE bool CanClose() { return canClose; }
    Q_INVOKABLE void Fail() { throw Error(ErrorNumber::InvalidArgument, QStringLiteral("asked to fail")); }

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }

    bool canClose = true;

signals:
    void Quit();
    void UpdateList(int lngID);
    void NewItem();

private:
    QString m_caption;
};

} // namespace bryx::test
