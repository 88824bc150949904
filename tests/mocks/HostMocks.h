#pragma once

#include "collection/Collection.h"
#include "contracts/AppManager.h"
#include "contracts/ClientComponents.h"
#include "contracts/HostWindow.h"
#include "contracts/ScientificNameRecord.h"
#include "contracts/WindowManager.h"
#include "recordset/Recordset.h"

#include <gmock/gmock.h>

namespace bryx::test {

class MockMenuBuilder : public MenuBuilder {
public:
    MOCK_METHOD(QString, GetConvertFromParentSQL, (const QString&, const QString&, const QString&),
                (override));
};

class MockViewManager : public ViewManager {
public:
    MOCK_METHOD(std::shared_ptr<Collection>, colViews, (), (override));
};

class MockAppManager : public AppManager {
public:
    MOCK_METHOD(std::shared_ptr<Recordset>, CallGetQueryRSXML, (QString&), (override));
    MOCK_METHOD(std::shared_ptr<Recordset>, GetPrototypeRSForView, (const QString&), (override));
    MOCK_METHOD(QString, GetServerName, (), (override));
    MOCK_METHOD(int32_t, GetServerType, (), (override));
    MOCK_METHOD(int32_t, GetUserID, (), (override));
    MOCK_METHOD(QString, GetUserName, (), (override));
    MOCK_METHOD(int32_t, GetSystemOrgUnitID, (), (override));
    MOCK_METHOD(QString, GetOrgUnitCode, (const QVariant&), (override));
    MOCK_METHOD(int, Message, (const QString&, const std::shared_ptr<Collection>&), (override));
    MOCK_METHOD(void, ApplySecurity, (QObject&, const QVariant&, const QString&, const ControlList&),
                (override));
    MOCK_METHOD(void, EnableControl, (QObject&, const QString&), (override));
    MOCK_METHOD(QString, GetControlAccess, (const QString&, const QString&), (override));
    MOCK_METHOD(bool, CheckPermission, (int32_t&), (override));
    MOCK_METHOD(bool, Delete, (const QString&, int32_t&, QString&, const QString&), (override));
    MOCK_METHOD(bool, Copy, (const QString&, const QVariant&, int32_t&, QString&), (override));
    MOCK_METHOD(std::shared_ptr<Recordset>, Auditing, (const QString&, int32_t, const QString&), (override));
    MOCK_METHOD(std::shared_ptr<bryx::MenuBuilder>, MenuBuilder, (), (override));
    MOCK_METHOD(std::shared_ptr<bryx::ViewManager>, ViewManager, (), (override));
    MOCK_METHOD(QString, HelpFile, (), (override));
    MOCK_METHOD(bool, GetHelpTopicID, (QObject&, int32_t&), (override));
    MOCK_METHOD(void, DisplaySystemControlEntry, (QObject&), (override));
    MOCK_METHOD(void, ShowAbout, (), (override));
    MOCK_METHOD(void, PopupEdit, (QObject&), (override));
};

class MockWindowManager : public WindowManager {
public:
    MOCK_METHOD(void, OpenDetails, (int32_t, int32_t, int32_t, const QString&, std::shared_ptr<Recordset>*),
                (override));
    MOCK_METHOD(void, NewDetails, (int32_t, int32_t, const QString&, int32_t*), (override));
};

class MockHostWindow : public HostWindow {
public:
    MOCK_METHOD(QString, Caption, (), (const, override));
    MOCK_METHOD(void, SetCaption, (const QString&), (override));
    MOCK_METHOD(int, Height, (), (const, override));
    MOCK_METHOD(void, SetHeight, (int), (override));
    MOCK_METHOD(QIcon, Icon, (), (const, override));
    MOCK_METHOD(void, SetMainGridRedraw, (bool), (override));
    MOCK_METHOD(void, SetFocus, (), (override));
};

class MockLookupList : public LookupList {
public:
    MOCK_METHOD(int, Count, (), (const, override));
    MOCK_METHOD(QVariant, ValueForKey, (const QVariant&, const QString&), (const, override));
    MOCK_METHOD(QVariant, Value, (int, const QString&), (const, override));
    MOCK_METHOD(QVariant, Key, (int), (const, override));
    MOCK_METHOD(int, AddRow, (), (override));
    MOCK_METHOD(void, SetValue, (int, const QString&, const QVariant&), (override));
};

class MockReferenceLink : public ReferenceLink {
public:
    MOCK_METHOD(QVariant, Field, (const QString&), (const, override));
    MOCK_METHOD(void, SetField, (const QString&, const QVariant&), (override));
    MOCK_METHOD(bool, IsNew, (), (const, override));
    MOCK_METHOD(bool, IsChanged, (), (const, override));
    MOCK_METHOD(void, Delete, (), (override));
    MOCK_METHOD(bool, Save, (), (override));
};

class MockReferenceLinks : public ReferenceLinks {
public:
    MOCK_METHOD(int, Count, (), (const, override));
    MOCK_METHOD(std::shared_ptr<ReferenceLink>, Item, (int), (const, override));
    MOCK_METHOD(std::shared_ptr<ReferenceLink>, Find, (const QString&), (const, override));
    MOCK_METHOD(std::shared_ptr<ReferenceLink>, Add, (), (override));
};

class MockScientificNameRecord : public ScientificNameRecord {
public:
    MOCK_METHOD(void, Connect, (const QString&, int32_t), (override));
    MOCK_METHOD(bool, Retrieve, (const QVariant&, const QVariant&, const QVariant&), (override));
    MOCK_METHOD(void, NewRecord, (const QVariant&, const QVariant&), (override));
    MOCK_METHOD(void, BindField, (QObject&, const QString&, const QString&, const QVariant&), (override));
    MOCK_METHOD(void, UnbindField, (const QString&), (override));
    MOCK_METHOD(std::shared_ptr<LookupList>, GetLookup, (const QString&, const QVariant&, bool), (override));
    MOCK_METHOD(bool, IsNew, (), (const, override));
    MOCK_METHOD(bool, IsChanged, (int), (const, override));
    MOCK_METHOD(int32_t, ID, (), (const, override));
    MOCK_METHOD(QString, ScientificName, (), (const, override));
    MOCK_METHOD(QString, FormattedScientificName, (), (const, override));
    MOCK_METHOD(QString, AuthorName, (), (const, override));
    MOCK_METHOD(QVariant, DNameCategoryId, (), (const, override));
    MOCK_METHOD(QVariant, DClassificationLevelId, (), (const, override));
    MOCK_METHOD(QString, PlaceholderNameIndicator, (), (const, override));
    MOCK_METHOD(QVariant, NomenclaturallyEstablishedId, (), (const, override));
    MOCK_METHOD(QVariant, OrgUnit, (), (const, override));
    MOCK_METHOD(QVariant, KeyNumber, (), (const, override));
    MOCK_METHOD(void, SetScientificName, (const QString&), (override));
    MOCK_METHOD(void, SetFormattedScientificName, (const QString&), (override));
    MOCK_METHOD(void, SetAuthorName, (const QString&), (override));
    MOCK_METHOD(void, SetPlaceholderNameIndicator, (const QString&), (override));
    MOCK_METHOD(void, SetNomenclaturallyEstablishedId, (const QVariant&), (override));
    MOCK_METHOD(void, SetOrgUnit, (const QVariant&), (override));
    MOCK_METHOD(void, SetCreatedBy, (const QString&), (override));
    MOCK_METHOD(void, SetLastModifiedBy, (const QString&), (override));
    MOCK_METHOD(QVariant, Field, (const QString&), (const, override));
    MOCK_METHOD(void, SetField, (const QString&, const QVariant&), (override));
    MOCK_METHOD(QString, PropertyDescription, (), (const, override));
    MOCK_METHOD(void, SetModifiedBy, (const QString&), (override));
    MOCK_METHOD(bool, Save, (), (override));
    MOCK_METHOD(std::shared_ptr<bryx::ReferenceLinks>, ReferenceLinks, (), (override));
    MOCK_METHOD(void, Release, (), (override));
};

class MockRecordExtension : public RecordExtension {
public:
    MOCK_METHOD(void, Initialize, (int32_t, std::shared_ptr<AppManager>), (override));
    MOCK_METHOD(void, Attach, (QObject&, const QString&, const ControlList&), (override));
    MOCK_METHOD(void, RecordShown, (QObject&, const QString&, const ControlList&, int32_t), (override));
    MOCK_METHOD(bool, IsChanged, (), (const, override));
    MOCK_METHOD(bool, Save, (int32_t, QObject&, const QString&, const ControlList&), (override));
    MOCK_METHOD(void, AcceptSaved, (), (override));
};

class MockQueryObject : public QueryObject {
public:
    MOCK_METHOD(void, Connect, (const QString&, int32_t), (override));
    MOCK_METHOD(std::shared_ptr<Recordset>, Run, (const QString&), (override));
};

class MockDataFramework : public DataFramework {
public:
    MOCK_METHOD(std::unique_ptr<ScientificNameRecord>, CreateScientificNameRecord, (), (override));
    MOCK_METHOD(std::unique_ptr<bryx::RecordExtension>, CreateRecordExtension, (), (override));
    MOCK_METHOD(std::unique_ptr<bryx::QueryObject>, CreateQueryObject, (), (override));
};

class MockComponentCollection : public ComponentCollection {
public:
    MOCK_METHOD(void, Initialize, (const QString&, const QString&, int32_t), (override));
    MOCK_METHOD(bool, Find,
                (const QString&, const QStringList&, const QVariant&, const QVariant&, const QVariant&),
                (override));
    MOCK_METHOD(bool, Load,
                (const QString&, const QVariant&, const QVariant&, const QVariant&, const QVariant&),
                (override));
    MOCK_METHOD(int, Count, (), (const, override));
    MOCK_METHOD(std::shared_ptr<ClientObject>, Item, (int), (const, override));
    MOCK_METHOD(std::shared_ptr<ClientObject>, ItemByKey, (const QString&), (const, override));
    MOCK_METHOD(std::vector<std::shared_ptr<ClientObject>>, Items, (), (const, override));
    MOCK_METHOD(std::shared_ptr<ClientObject>, FindItem, (const QString&), (const, override));
    MOCK_METHOD(void, Add, (std::shared_ptr<ClientObject>, const QString&), (override));
    MOCK_METHOD(void, Remove, (int), (override));
    MOCK_METHOD(bool, Save, (), (override));
};

class MockUserOption : public UserOption {
public:
    MOCK_METHOD(void, Connect, (const QString&, int32_t), (override));
    MOCK_METHOD(void, NewRecord, (const QVariant&, const QVariant&), (override));
    MOCK_METHOD(QString, Name, (), (const, override));
    MOCK_METHOD(void, SetName, (const QString&), (override));
    MOCK_METHOD(QString, Value, (), (const, override));
    MOCK_METHOD(void, SetValue, (const QString&), (override));
    MOCK_METHOD(void, SetUserID, (int32_t), (override));
};

class MockUserOptionCategory : public UserOptionCategory {
public:
    MOCK_METHOD(std::shared_ptr<ComponentCollection>, Options, (), (override));
};

class MockReference : public Reference {
public:
    MOCK_METHOD(int32_t, ID, (), (const, override));
    MOCK_METHOD(QString, ReferenceCode, (), (const, override));
    MOCK_METHOD(QString, FullCitation, (), (const, override));
};

class MockAuditComment : public AuditComment {
public:
    MOCK_METHOD(void, Connect, (const QString&, int32_t), (override));
    MOCK_METHOD(bool, Load, (int32_t), (override));
    MOCK_METHOD(QString, Comment, (), (const, override));
    MOCK_METHOD(void, SetComment, (const QString&), (override));
};

} // namespace bryx::test
