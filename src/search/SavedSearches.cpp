#include "SavedSearches.h"

#include "ScientificSearch.h"
#include "SearchStateXml.h"
#include "common/BusyPointer.h"
#include "common/SqlText.h"
#include "common/UserOptionStore.h"
#include "contracts/ClientComponents.h"
#include "error/Error.h"
#include "frmUserSearchSaveOpen.h"
#include "services/MessageBox.h"

namespace bryx {

namespace {

QString valueOfFirst(const ComponentCollection& options)
{
    const auto option = std::dynamic_pointer_cast<UserOption>(options.Item(1));
    if (!option)
        throw Error(ErrorNumber::TypeMismatch,
                    QStringLiteral("The option store answered an item that is not an option"));
    return option->Value();
}

void setValueOfFirst(ComponentCollection& options, const QString& value)
{
    const auto option = std::dynamic_pointer_cast<UserOption>(options.Item(1));
    if (!option)
        throw Error(ErrorNumber::TypeMismatch,
                    QStringLiteral("The option store answered an item that is not an option"));
    option->SetValue(value);
    if (!options.Save())
        throw Error(ErrorNumber::Unexpected, QStringLiteral("The option store did not save the option"));
}

const QString OptionName = QLatin1String(SearchStateXml::ControlName);

} // namespace

SavedSearches::SavedSearches(ScientificSearch& panel)
    : m_panel(panel)
{
}

UserOptionStore SavedSearches::store() const
{
    return UserOptionStore(m_panel.ServerName(), m_panel.ServerType());
}

QString SavedSearches::userIdText() const
{
    return QString::number(m_panel.UserID());
}

QString SavedSearches::EscapeQuotes(const QString& text)
{
    return doubledQuotes(text);
}

std::shared_ptr<ComponentCollection> SavedSearches::findUserSearch(const UserOptionStore& options,
                                                                   const char* finderName,
                                                                   const QString& name) const
{
    // The name is looked up with its quotes doubled; it is stored as typed.
    return options.findOptions(QLatin1String(finderName),
                               {QLatin1String(UserSearches), EscapeQuotes(name), userIdText()});
}

void SavedSearches::report(const char* messageId, const QString& description)
{
    try {
        m_panel.DisplayMessage(QLatin1String(messageId), description);
    } catch (const std::exception&) {
        // The host that failed to store an option may fail to show the message too; the panel
        // goes on either way.
    }
}

void SavedSearches::LoadDefaultProperties()
{
    const BusyPointer busy;
    try {
        const auto options =
            store().findOptions(QStringLiteral("Category_Option_Name"),
                                {QLatin1String(DefaultProperties), OptionName, userIdText()});
        if (!options)
            report("APP010", {});
        else if (options->Count() >= 1)
            m_panel.ApplySearchProperties(valueOfFirst(*options));
    } catch (const std::exception& caught) {
        report("APP010", Error::from(caught).Description());
    }
}

bool SavedSearches::LoadDefaultCriteria()
{
    bool applied = false;
    const BusyPointer busy;
    try {
        const auto options = store().findOptions(QStringLiteral("Category_Option_Name"),
                                                 {QLatin1String(DefaultCriteria), OptionName, userIdText()});
        if (!options) {
            report("APP009", {});
        } else if (options->Count() >= 1) {
            m_panel.ApplySearchState(valueOfFirst(*options));
            applied = true;
        }
    } catch (const std::exception& caught) {
        report("APP009", Error::from(caught).Description());
        applied = false;
    }
    return applied;
}

void SavedSearches::saveDefault(const char* finderName, const char* category, const QString& value,
                                const char* messageId)
{
    const BusyPointer busy;
    try {
        const UserOptionStore options = store();
        const auto found = options.findOptions(QLatin1String(finderName),
                                               {QLatin1String(category), OptionName, userIdText()});
        if (!found)
            report(messageId, {});
        else if (found->Count() >= 1)
            setValueOfFirst(*found, value);
        else if (!options.addOption(QLatin1String(category), OptionName, value, m_panel.UserID()))
            report(messageId, {});
    } catch (const std::exception& caught) {
        report(messageId, Error::from(caught).Description());
    }
}

void SavedSearches::SaveDefaultProperties()
{
    saveDefault("CATEGORY_OPTION_NAME", DefaultProperties, m_panel.BuildSearchProperties(), "APP012");
}

void SavedSearches::SaveDefaultCriteria()
{
    saveDefault("Category_Option_Name", DefaultCriteria, m_panel.BuildSearchState(), "APP013");
}

void SavedSearches::SaveSearch(bool& saveAs)
{
    if (saveAs || m_panel.SearchName().isEmpty()) {
        const QString name = ShowSearchDialog(QLatin1String(UserSearches), frmUserSearchSaveOpen::Save);
        if (name.isEmpty())
            return;
        m_panel.SetSearchName(name);
        saveAs = true;
    }
    const BusyPointer busy;
    try {
        const QString name = m_panel.SearchName();
        const UserOptionStore options = store();
        const auto found = findUserSearch(options, "Category_Option_Name", name);
        if (!found) {
            report("APP013", {});
        } else if (found->Count() >= 1) {
            if (saveAs && m_panel.DisplayMessage(QStringLiteral("APP007"), name) == MsgBoxResult::No)
                return;
            setValueOfFirst(*found, m_panel.BuildSearchState());
        } else if (!options.addOption(QLatin1String(UserSearches), name, m_panel.BuildSearchState(),
                                      m_panel.UserID())) {
            report("APP013", {});
        }
    } catch (const std::exception& caught) {
        report("APP013", Error::from(caught).Description());
    }
}

void SavedSearches::OpenSearch()
{
    const QString name = ShowSearchDialog(QLatin1String(UserSearches), frmUserSearchSaveOpen::Open);
    if (name.isEmpty())
        return;
    m_panel.SetSearchName(name);
    const BusyPointer busy;
    try {
        const auto found = findUserSearch(store(), "Category_Option_Name", name);
        if (!found) {
            report("APP010", {});
        } else if (found->Count() >= 1) {
            m_panel.ApplySearchState(valueOfFirst(*found));
            m_panel.SetSearchName(name); // the reset inside the apply emptied it
        } else {
            m_panel.DisplayMessage(QStringLiteral("APP011"), name);
        }
    } catch (const std::exception& caught) {
        report("APP010", Error::from(caught).Description());
    }
}

void SavedSearches::DeleteSearch()
{
    const QString name = ShowSearchDialog(QLatin1String(UserSearches), frmUserSearchSaveOpen::Delete);
    if (name.isEmpty())
        return;
    const BusyPointer busy;
    // Deleting asks nothing and says nothing: a step that fails is skipped.
    try {
        const auto found = findUserSearch(store(), "CATEGORY_OPTION_NAME", name);
        if (found && found->Count() >= 1) {
            found->Remove(1);
            found->Save();
        }
    } catch (const std::exception&) {
    }
    if (name == m_panel.SearchName())
        m_panel.SetSearchName({});
}

QString SavedSearches::ShowSearchDialog(const QString& category, int mode)
{
    frmUserSearchSaveOpen dialog(m_panel.window());
    dialog.Init(category, mode, m_panel.appManager());
    dialog.ShowModal();
    const QString name = dialog.IsCanceled() ? QString() : dialog.GetSearchName();
    dialog.Unload();
    return name;
}

} // namespace bryx
