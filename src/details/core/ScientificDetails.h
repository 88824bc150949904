#pragma once

#include "DetailsSession.h"
#include "hosting/UserControl.h"

#include <QVariant>
#include <array>
#include <cstdint>
#include <memory>

class QMenu;

namespace bryx {

class AppManager;
class BusyPicture;
class Collection;
class DetailsUi;
class Recordset;
class EstablishedName;
class ReferencesPage;
class MaintenanceWindows;
class TextTools;
class RecordCopies;
class RecordNavigation;
class RecordPages;
class RecordStore;
class WindowManager;

// The editor of one scientific name record. A host window embeds it (InitDetails) with the
// list the user pages through, or the modal detail dialog runs it (InitModalDetails) on one
// record. The record lives in a record object of the host's data framework: the four tab
// pages bind their controls to its fields the first time each is shown, and File > Save
// stores it after the duplicate-name test and the host's permission check.
class ScientificDetails : public UserControl, private DetailsEvents {
    Q_OBJECT
    Q_PROPERTY(QObject* ActiveControl READ ActiveControl)
public:
    // The name the host's security knows the editor by, whatever its container calls it.
    static constexpr const char* ComponentName = DetailsSession::ComponentName;
    static constexpr int DesignWidth = 11490;
    static constexpr int DesignHeight = 7320;

    explicit ScientificDetails(QWidget* parent = nullptr);
    ~ScientificDetails() override;

    // Adds the class to the process's component registry (done when the library loads).
    static void registerClass();

    // --- The public interface -------------------------------------------------------------
    Q_INVOKABLE int32_t GetID() const { return m_session.lngID; }
    Q_INVOKABLE QVariant InitDetails(std::shared_ptr<bryx::Recordset>& rsView,
                                     std::shared_ptr<bryx::AppManager> objAppManager, int lngViewID,
                                     std::shared_ptr<bryx::WindowManager> objWinMan,
                                     std::shared_ptr<bryx::Collection>& colViews, QString ExtraInfo);
    Q_INVOKABLE void InitModalDetails(std::shared_ptr<bryx::AppManager> objAppManager, QString strExtraInfo);
    Q_INVOKABLE void LoadData(int lngIDLocal);
    Q_INVOKABLE int NewData(int ID = 0);
    Q_INVOKABLE int CloneData(int lngIDLocal);
    Q_INVOKABLE bool CanClose();
    Q_INVOKABLE void NotifyListChanges(QString strEvent);
    QObject* ActiveControl() const;
    Q_INVOKABLE int DisplayMessage(QString strMessageID, QString strArg1, QString strArg2 = {},
                                   QString strArg3 = {});
    Q_INVOKABLE void Deactivate();

    QList<QMenu*> Menus() const override;

    // --- What the editor shows, for its hosts and tests -----------------------------------
    int32_t NameType() const { return m_session.nameType; }
    bool IsModal() const { return m_session.modal; }
    const DetailsUi& ui() const { return *m_ui; }
    const std::shared_ptr<Recordset>& rsList() const { return m_session.rsList; }
    bool PageLoaded(int page) const { return m_session.tabLoaded.at(size_t(page)); }
    // True once a confirmed delete went through and nothing else was shown since.
    bool Deleted() const { return m_session.blnDeleted; }
    // A reference link was removed and the name not saved since.
    Q_INVOKABLE bool ReferencesChanged() const { return m_session.changedReferences; }
    // The tab page shown first, before the record is loaded (0 to 3).
    Q_INVOKABLE void ShowPage(int page);

signals:
    void Quit();
    void UpdateList(int lngID);
    void NewItem(); // declared for hosts that listen for it; the editor never raises it
    void RemoveItem(int lngID);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void raiseQuit() override { emit Quit(); }
    void raiseUpdateList(int32_t lngID) override { emit UpdateList(lngID); }
    void raiseRemoveItem(int32_t lngID) override { emit RemoveItem(lngID); }

    void connectHandlers();
    void connectMenus();
    void startRecordExtension();
    void disableForModalUse();
    static int32_t NameTypeFromExtraInfo(const QString& extraInfo);

    void tbElementName_ButtonClick(const QString& key);
    void notYetAvailable(const QString& what);

    DetailsSession m_session;
    std::unique_ptr<DetailsUi> m_ui;
    std::unique_ptr<BusyPicture> m_busy;
    std::unique_ptr<RecordPages> m_pages;
    std::unique_ptr<RecordStore> m_store;
    std::unique_ptr<RecordNavigation> m_navigation;
    std::unique_ptr<RecordCopies> m_copies;
    std::unique_ptr<EstablishedName> m_established;
    std::unique_ptr<ReferencesPage> m_references;
    std::unique_ptr<MaintenanceWindows> m_maintenance;
    std::unique_ptr<TextTools> m_textTools;
};

} // namespace bryx
