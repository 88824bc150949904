#pragma once

#include "collection/Collection.h"
#include "contracts/AppManager.h"
#include "error/Error.h"
#include "hosting/ComponentRegistry.h"
#include "hosting/UserControl.h"
#include "recordset/Recordset.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <utility>

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

    // What the modal dialogs call; each call is recorded.
    Q_INVOKABLE void InitModalSearch(std::shared_ptr<bryx::AppManager> appManager,
                                     std::shared_ptr<bryx::Recordset>& rsTemp, QString extraInfo)
    {
        this->appManager = appManager;
        calls << "InitModalSearch(" + extraInfo + ")";
        if (failInit)
            throw Error(ErrorNumber::InvalidArgument, QStringLiteral("the host refused"));
        received = rsTemp;
        if (nextReplacement)
            rsTemp = std::exchange(nextReplacement, nullptr);
    }
    Q_INVOKABLE void InitModalDetails(std::shared_ptr<bryx::AppManager> appManager, QString extraInfo)
    {
        this->appManager = appManager;
        calls << "InitModalDetails(" + extraInfo + ")";
    }
    Q_INVOKABLE void UseSelectedRecordset(bool use)
    {
        calls << QStringLiteral("UseSelectedRecordset(%1)").arg(use);
    }
    Q_INVOKABLE void SetSelectedItems(std::shared_ptr<bryx::Collection>& items)
    {
        calls << "SetSelectedItems";
        items->Add(QStringLiteral("seen by the component"));
    }
    Q_INVOKABLE void SetNameType(int type, bool enabled)
    {
        calls << QStringLiteral("SetNameType(%1,%2)").arg(type).arg(enabled);
    }
    Q_INVOKABLE void SetNameType(int type, bool enabled, QString keyword)
    {
        calls << QStringLiteral("SetNameType(%1,%2,%3)").arg(type).arg(enabled).arg(keyword);
    }
    Q_INVOKABLE void LoadData(int id) { calls << QStringLiteral("LoadData(%1)").arg(id); }
    Q_INVOKABLE int NewData(int id)
    {
        calls << QStringLiteral("NewData(%1)").arg(id);
        return 4711;
    }
    // What a host's details window calls.
    Q_INVOKABLE QVariant InitDetails(std::shared_ptr<bryx::Recordset>& rsView, QVariant, int lngViewID,
                                     QVariant, std::shared_ptr<bryx::Collection>&, QString extraInfo)
    {
        received = rsView;
        calls << QStringLiteral("InitDetails(%1,%2)").arg(lngViewID).arg(extraInfo);
        return {};
    }
    Q_INVOKABLE void NotifyListChanges(QString event) { calls << "NotifyListChanges(" + event + ")"; }
    Q_INVOKABLE void Deactivate()
    {
        calls << "Deactivate";
        journal << "Deactivate";
    }

    QStringList calls;
    // Outlives the components, for what happens as they go.
    static inline QStringList journal;
    std::shared_ptr<bryx::AppManager> appManager;
    std::shared_ptr<bryx::Recordset> received;
    // A recordset the next InitModalSearch puts in place of the one it was given.
    static inline std::shared_ptr<bryx::Recordset> nextReplacement;
    bool failInit = false;

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }

    bool canClose = true;

signals:
    void Quit();
    void UpdateList(int lngID);
    void RemoveItem(int lngID);
    void NewItem();
    void qUIT(); // the same event, spelled as another component might

private:
    QString m_caption;
};

} // namespace bryx::test
