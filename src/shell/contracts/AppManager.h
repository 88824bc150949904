#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

namespace bryx {

class Collection;
class Recordset;

// The controls of a component as the host's security pass sees them: every named control,
// menu item and toolbar button, each a QObject whose "Enabled" and "Visible" the host may set.
using ControlList = QList<QObject*>;

// Answers SQL that selects the records of one list related to a record of another.
class MenuBuilder {
public:
    virtual ~MenuBuilder() = default;
    // SQL with "?" standing for the parent record's ID; empty when no such relation exists.
    virtual QString GetConvertFromParentSQL(const QString& parentCode, const QString& targetCode,
                                            const QString& menuCaption) = 0;
};

// The host's list views; in modal use the components reach the views collection through it.
class ViewManager {
public:
    virtual ~ViewManager() = default;
    virtual std::shared_ptr<Collection> colViews() = 0;
};

// The host's application manager (objAppManager): every query, message, permission and help
// request of the components goes through it. The host owns it; components hold references.
class AppManager {
public:
    virtual ~AppManager() = default;

    // The rows of one statement; an empty answer is an empty recordset, never null.
    virtual std::shared_ptr<Recordset> CallGetQueryRSXML(QString& sql) = 0;
    // An empty, open recordset with the columns of a working list ("SNM", "REF").
    virtual std::shared_ptr<Recordset> GetPrototypeRSForView(const QString& workingListCode) = 0;

    virtual QString GetServerName() = 0;
    virtual int32_t GetServerType() = 0;
    virtual int32_t GetUserID() = 0;
    virtual QString GetUserName() = 0;
    virtual int32_t GetSystemOrgUnitID() = 0;
    virtual QString GetOrgUnitCode(const QVariant& orgUnit) = 0;

    // Shows a catalogued message with its arguments; answers the button code (1 OK, 2 Cancel,
    // 6 Yes, 7 No). The arguments may be null when the message takes none.
    virtual int Message(const QString& messageId, const std::shared_ptr<Collection>& arguments) = 0;

    // Applies the user's rights to a component's controls; called once per initialisation.
    virtual void ApplySecurity(QObject& component, const QVariant& omitted, const QString& componentName,
                               const ControlList& controls) = 0;
    virtual void EnableControl(QObject& control, const QString& componentName) = 0;
    // One-letter access code; "F" is full access.
    virtual QString GetControlAccess(const QString& componentName, const QString& controlName) = 0;
    // Whether the user may change or delete that record.
    virtual bool CheckPermission(int32_t& recordId) = 0;

    // Generic delete ("delete_table_data") and copy ("COPY_SNM"); true on success.
    virtual bool Delete(const QString& operation, int32_t& recordId, QString& userName,
                        const QString& tableName) = 0;
    virtual bool Copy(const QString& operation, const QVariant& chosenId, int32_t& currentId,
                      QString& userName) = 0;
    // The audit rows of a record, or of one column of it when the column name is not empty.
    virtual std::shared_ptr<Recordset> Auditing(const QString& tableName, int32_t recordId,
                                                const QString& columnName) = 0;

    virtual std::shared_ptr<bryx::MenuBuilder> MenuBuilder() = 0;
    virtual std::shared_ptr<bryx::ViewManager> ViewManager() = 0;

    virtual QString HelpFile() = 0;
    // True when the component has a help topic; the topic is then written to topicId.
    virtual bool GetHelpTopicID(QObject& component, int32_t& topicId) = 0;
    virtual void DisplaySystemControlEntry(QObject& component) = 0;
    virtual void ShowAbout() = 0;
    // Hands a grid to the host's pop-up text editor.
    virtual void PopupEdit(QObject& grid) = 0;
};

} // namespace bryx

Q_DECLARE_METATYPE(std::shared_ptr<bryx::AppManager>)
