#pragma once

#include "SearchCriteria.h"
#include "hosting/UserControl.h"

#include <QVariant>
#include <memory>

class QMenu;

namespace bryx {

class AppManager;
class Collection;
class ComboBox;
class CommandButton;
class FlexGrid;
class HostWindow;
class Label;
class MenuItem;
class OptionButton;
class Recordset;
class ResultGrid;
class SavedSearches;
class TabControl;
class TextBox;
class Toolbar;
class WindowManager;

// The scientific name search panel. A host embeds it beside its working list (InitSearch) or
// runs it in the modal search dialog (InitModalSearch). The user states criteria, runs Find
// Now, and adds the names found to the working list, replaces it, opens them, creates new
// names, or hands the chosen rows back to the modal caller. Searches can be saved by name and
// the criteria in use come back at the next start when the user asks for that.
class ScientificSearch : public UserControl {
    Q_OBJECT
    Q_PROPERTY(std::shared_ptr<bryx::Recordset> rsView READ rsView WRITE setRsView)
    Q_PROPERTY(QObject* ActiveControl READ ActiveControl)
public:
    // The name the host's security knows the panel by, whatever its container calls it.
    static constexpr const char* ComponentName = "ScientificSearch";
    static constexpr int DesignWidth = 9615;
    static constexpr int DesignHeight = 8595;

    explicit ScientificSearch(QWidget* parent = nullptr);
    ~ScientificSearch() override;

    // Adds the class to the process's component registry (done when the library loads).
    static void registerClass();

    // --- The public interface -------------------------------------------------------------
    const std::shared_ptr<Recordset>& rsView() const { return m_rsView; }
    void setRsView(std::shared_ptr<Recordset> recordset) { m_rsView = std::move(recordset); }

    Q_INVOKABLE QVariant InitSearch(std::shared_ptr<bryx::Recordset>& rsTemp, QVariant objAppManager,
                                    int lngView, std::shared_ptr<bryx::WindowManager> objWinMan,
                                    std::shared_ptr<bryx::Collection>& colViews, QString ExtraInfo);
    Q_INVOKABLE QVariant InitModalSearch(std::shared_ptr<bryx::AppManager> objAppManager,
                                         std::shared_ptr<bryx::Recordset>& rsTemp, QString ExtraInfo);
    Q_INVOKABLE QVariant InitModalSearch(std::shared_ptr<bryx::AppManager> objAppManager,
                                         std::shared_ptr<bryx::Recordset>& rsTemp);
    Q_INVOKABLE QVariant InitModalSearch(std::shared_ptr<bryx::AppManager> objAppManager);
    Q_INVOKABLE bool CanClose();
    Q_INVOKABLE void SelectedItems();
    Q_INVOKABLE void SetSelectedItems(std::shared_ptr<bryx::Collection>& colSelectedItems);
    Q_INVOKABLE void SetSingleSelect();
    Q_INVOKABLE void UseSelectedRecordset(bool blnUseRecordset);
    QObject* ActiveControl() const;
    Q_INVOKABLE int DisplayMessage(QString strMessageID, QString strArg1, QString strArg2 = {},
                                   QString strArg3 = {});

    QList<QMenu*> Menus() const override;

    // --- Criteria, state documents and the result, for the panel's own helpers ------------
    SearchCriteria Criteria() const;
    QString BuildSearchSQL() const;
    bool HasSearchCriteria() const;
    void NewSearch();
    QString BuildSearchState() const;
    QString BuildSearchProperties() const;
    // Resets, then applies what a SEARCH_STATE document holds; a document without one
    // applies nothing more. A comparison that is not a whole number raises an error.
    void ApplySearchState(const QString& xml);
    void ApplySearchProperties(const QString& xml);
    const QString& SearchName() const { return m_searchName; }
    void SetSearchName(const QString& name) { m_searchName = name; }
    const std::shared_ptr<AppManager>& appManager() const { return m_appManager; }
    const std::shared_ptr<Recordset>& rsResults() const { return m_rsResults; }
    bool SaveSettingsAsDefault() const;
    int32_t UserID() const { return m_userId; }
    const QString& ServerName() const { return m_serverName; }
    int32_t ServerType() const { return m_serverType; }
    // The position of the first view of that working-list type in the views collection; -1.
    int FindWorkingListView(const QString& listType) const;

signals:
    void Quit();
    void NewItem(); // declared for hosts that listen for it; the search never raises it

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void connectHandlers();
    // Tab walks the criteria in reading order, then Find Now, the result list and the buttons.
    void setTabOrder();
    // Puts the focus in the text to search for, once, as soon as the panel can take it.
    void placeInitialFocus();
    void readHostIdentity();
    void applySecurity();
    void loadDefaults(bool modal);

    // Handlers of the controls.
    void optNameType_Click(int index);
    void cboNameCategory_Click();
    void cmdStartSearch_Click();
    void fgSearchResults_SelChange();
    void fgSearchResults_DblClick();
    void cmdSelectAll_Click();
    void cmdDeselectAll_Click();
    void cmdAddToList_Click();
    void cmdReplaceList_Click();
    void changeWorkingList(void (*change)(const ResultGrid&, Recordset&, Recordset&));
    void cmdDetails_Click();
    void cmdNew_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
    void CreateNewName(const QString& typeCaption);
    std::shared_ptr<Recordset> GetSearchRowByID(int32_t id);
    void mnuOptionsViewSQL_Click();
    void tbFindSciName_ButtonClick(const QString& key);
    // Switches a name type button on from code, running its click here; nothing when on.
    void setNameTypeValue(int index);
    // Switches a name type button on, or clicks it again when it is on already.
    void switchOnNameType(int index);
    // The result row Details acts on: the first selected row, else the current row.
    int chosenRow() const;
    void showRecordCount();
    std::shared_ptr<HostWindow> hostWindow();

    // Host services and state.
    std::shared_ptr<Recordset> m_rsView;
    std::shared_ptr<AppManager> m_appManager;
    std::shared_ptr<WindowManager> m_winMan;
    std::shared_ptr<Collection> m_colViews;
    int m_lngView = 0;
    QString m_extraInfo;
    QString m_serverName;
    int32_t m_serverType = 0;
    int32_t m_userId = 0;
    bool m_modal = false;
    bool m_initialFocusPlaced = false;
    std::shared_ptr<Recordset> m_rsResults;
    std::shared_ptr<Collection> m_colSelectedItems;
    bool m_useRecordset = false;
    QString m_searchName;
    std::unique_ptr<SavedSearches> m_saved;

    // Controls (owned by the panel through Qt's parent chain).
    TabControl* m_tabFindName = nullptr;
    OptionButton* m_optNameType[3] = {};
    ComboBox* m_cboNameCategory = nullptr;
    ComboBox* m_cboClassificationLevel = nullptr;
    ComboBox* m_cboFindNameComparison = nullptr;
    TextBox* m_txtFindNameSciName = nullptr;
    TextBox* m_txtSciNameID = nullptr;
    FlexGrid* m_fgSearchResults = nullptr;
    Label* m_lblRecordsReturned = nullptr;
    CommandButton* m_cmdStartSearch = nullptr;
    CommandButton* m_cmdDetails = nullptr;
    CommandButton* m_cmdNew = nullptr;
    CommandButton* m_cmdSelectAll = nullptr;
    CommandButton* m_cmdDeselectAll = nullptr;
    CommandButton* m_cmdAddToList = nullptr;
    CommandButton* m_cmdReplaceList = nullptr;
    CommandButton* m_cmdOk = nullptr;
    CommandButton* m_cmdCancel = nullptr;
    Toolbar* m_tbFindSciName = nullptr;
    QList<QMenu*> m_menus;
    MenuItem* m_mnuFileNew = nullptr;
    MenuItem* m_mnuFileOpenSearch = nullptr;
    MenuItem* m_mnuFileSaveSearch = nullptr;
    MenuItem* m_mnuFileSaveSearchAs = nullptr;
    MenuItem* m_mnuFileDeleteSearch = nullptr;
    MenuItem* m_mnuFileClose = nullptr;
    MenuItem* m_mnuEditCut = nullptr;
    MenuItem* m_mnuEditCopy = nullptr;
    MenuItem* m_mnuEditPaste = nullptr;
    MenuItem* m_mnuOptionsSaveDefault = nullptr;
    MenuItem* m_mnuOptionsViewSQL = nullptr;
    MenuItem* m_mnuHelpBRYXHelp = nullptr;
    MenuItem* m_mnuHelpAbout = nullptr;
    MenuItem* m_mnuNewPlant = nullptr;
    MenuItem* m_mnuNewAnimal = nullptr;
    MenuItem* m_mnuNewCommunity = nullptr;
};

} // namespace bryx
