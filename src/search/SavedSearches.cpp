#include "SavedSearches.h"

#include "SearchStateXml.h"
#include "common/BusyPointer.h"
#include "common/ComponentHost.h"
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

SavedSearches::SavedSearches(const ComponentHost& host)
    : m_host(host)
{
}

UserOptionStore SavedSearches::store() const
{
    return UserOptionStore(m_host.strServerName, m_host.lngServerType);
}

QString SavedSearches::userIdText() const
{
    return QString::number(m_host.lngUserID);
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

void SavedSearches::report(const char* messageId, const QString& description) const
{
    try {
        m_host.DisplayMessage(QLatin1String(messageId), description);
    } catch (const std::exception&) {
        // The host that failed to store an option may fail to show the message too; the panel
        // goes on either way.
    }
}

std::optional<QString> SavedSearches::LoadDefaultProperties()
{
    const BusyPointer busy;
    try {
        const auto options =
            store().findOptions(QStringLiteral("Category_Option_Name"),
                                {QLatin1String(DefaultProperties), OptionName, userIdText()});
        if (!options)
            report("APP010", {});
        else if (options->Count() >= 1)
            return valueOfFirst(*options);
    } catch (const std::exception& caught) {
        report("APP010", Error::from(caught).Description());
    }
    return std::nullopt;
}

std::optional<QString> SavedSearches::LoadDefaultCriteria()
{
    const BusyPointer busy;
    try {
        const auto options = store().findOptions(QStringLiteral("Category_Option_Name"),
                                                 {QLatin1String(DefaultCriteria), OptionName, userIdText()});
        if (!options) {
            report("APP009", {});
        } else if (options->Count() >= 1) {
            return valueOfFirst(*options);
        }
    } catch (const std::exception& caught) {
        report("APP009", Error::from(caught).Description());
    }
    return std::nullopt;
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
        else if (!options.addOption(QLatin1String(category), OptionName, value, m_host.lngUserID))
            report(messageId, {});
    } catch (const std::exception& caught) {
        report(messageId, Error::from(caught).Description());
    }
}

void SavedSearches::SaveDefaultProperties(const QString& properties)
{
    saveDefault("CATEGORY_OPTION_NAME", DefaultProperties, properties, "APP012");
}

void SavedSearches::SaveDefaultCriteria(const QString& state)
{
    saveDefault("Category_Option_Name", DefaultCriteria, state, "APP013");
}

QString SavedSearches::SaveSearch(const QString& currentName, const QString& state, bool& saveAs)
{
    QString name = currentName;
    if (saveAs || name.isEmpty()) {
        const QString chosen = ShowSearchDialog(QLatin1String(UserSearches), frmUserSearchSaveOpen::Save);
        if (chosen.isEmpty())
            return currentName;
        name = chosen;
        saveAs = true;
    }
    const BusyPointer busy;
    try {
        const UserOptionStore options = store();
        const auto found = findUserSearch(options, "Category_Option_Name", name);
        if (!found) {
            report("APP013", {});
        } else if (found->Count() >= 1) {
            if (saveAs && m_host.DisplayMessage(QStringLiteral("APP007"), name) == MsgBoxResult::No)
                return name;
            setValueOfFirst(*found, state);
        } else if (!options.addOption(QLatin1String(UserSearches), name, state, m_host.lngUserID)) {
            report("APP013", {});
        }
    } catch (const std::exception& caught) {
        report("APP013", Error::from(caught).Description());
    }
    return name;
}

std::optional<SavedSearches::Opened> SavedSearches::OpenSearch()
{
    const QString name = ShowSearchDialog(QLatin1String(UserSearches), frmUserSearchSaveOpen::Open);
    if (name.isEmpty())
        return std::nullopt;
    Opened opened {name, std::nullopt};
    const BusyPointer busy;
    try {
        const auto found = findUserSearch(store(), "Category_Option_Name", name);
        if (!found)
            report("APP010", {});
        else if (found->Count() >= 1)
            opened.state = valueOfFirst(*found);
        else
            m_host.DisplayMessage(QStringLiteral("APP011"), name);
    } catch (const std::exception& caught) {
        report("APP010", Error::from(caught).Description());
    }
    return opened;
}

QString SavedSearches::DeleteSearch()
{
    const QString name = ShowSearchDialog(QLatin1String(UserSearches), frmUserSearchSaveOpen::Delete);
    if (name.isEmpty())
        return name;
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
    return name;
}

QString SavedSearches::ShowSearchDialog(const QString& category, int mode)
{
    frmUserSearchSaveOpen dialog(m_host.component().window());
    dialog.Init(category, mode, m_host.objAppManager);
    dialog.ShowModal();
    const QString name = dialog.IsCanceled() ? QString() : dialog.GetSearchName();
    dialog.Unload();
    return name;
}

} // namespace bryx
