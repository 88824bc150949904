#pragma once

#include "SearchCriteria.h"
#include "SearchSession.h"
#include "hosting/UserControl.h"

#include <QVariant>
#include <memory>
#include <optional>

class QMenu;

namespace bryx {

class AppManager;
class Collection;
class Recordset;
class SavedSearches;
class SearchUi;
class DetailsLauncher;
class SearchCriteriaForm;
class ResultList;
class WorkingListChanges;
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
    const std::shared_ptr<Recordset>& rsView() const { return m_session.rsView; }
    void setRsView(std::shared_ptr<Recordset> recordset) { m_session.rsView = std::move(recordset); }

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
    const QString& SearchName() const { return m_session.strSearchName; }
    const std::shared_ptr<Recordset>& rsResults() const { return m_session.rsResults; }
    bool SaveSettingsAsDefault() const;
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
    void connectHandlers();
    // Puts the focus in the text to search for, once, as soon as the panel can take it.
    void placeInitialFocus();
    void loadDefaults(bool modal);
    // Applies a saved document; a failure is reported under `messageId`. True once applied.
    bool applySaved(const std::optional<QString>& document, const char* messageId,
                    void (ScientificSearch::*apply)(const QString&));
    void openSearch();
    void saveSearch(bool saveAs);

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
    void cmdDetails_Click();
    void cmdNew_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
    void CreateNewName(const QString& typeCaption);
    void mnuOptionsViewSQL_Click();
    void tbFindSciName_ButtonClick(const QString& key);

    SearchSession m_session;
    std::unique_ptr<SavedSearches> m_saved;
    std::unique_ptr<SearchUi> m_ui;
    std::unique_ptr<SearchCriteriaForm> m_criteria;
    std::unique_ptr<ResultList> m_results;
    std::unique_ptr<WorkingListChanges> m_changes;
    std::unique_ptr<DetailsLauncher> m_launcher;
};

} // namespace bryx
