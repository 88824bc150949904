#pragma once

#include "common/ComponentHost.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class QObject;
class QWidget;

namespace bryx {

class Collection;
class DataFramework;
class RecordExtension;
class Recordset;
class ScientificNameRecord;
class UserControl;
class WindowManager;

// The name types a record can have, by their codes; Unknown until the record's category says.
namespace NameTypeCode {
inline constexpr int32_t Botanical = 0;
inline constexpr int32_t Zoological = 1;
inline constexpr int32_t Ecological = 2;
inline constexpr int32_t Unknown = 3;
} // namespace NameTypeCode

// Everything one editor knows while it runs: the host objects it was given and who the user is,
// the record shown and its ID, the list paged through (and the host's list it started from), and
// the editor's flags. The editor's helpers share it and change it; they reach the editor's window
// only through the few questions below, never through the editor itself.
class DetailsSession : public ComponentHost {
public:
    // The name the host's security knows the editor by, whatever its container calls it.
    static constexpr const char* ComponentName = "ScientificDetails";

    explicit DetailsSession(UserControl& editor);
    ~DetailsSession();
    DetailsSession(const DetailsSession&) = delete;
    DetailsSession& operator=(const DetailsSession&) = delete;

    // --- Host objects -------------------------------------------------------------
    std::shared_ptr<WindowManager> objWinMan;
    std::shared_ptr<Collection> colViews;
    std::shared_ptr<DataFramework> dataFramework;
    std::unique_ptr<RecordExtension> recordExtension;
    int32_t lngViewID = 0;
    QString strExtraInfo;

    // --- The record shown and the lists ------------------------------------------------------
    std::unique_ptr<ScientificNameRecord> objRecord;
    int32_t lngID = 0;
    int32_t nameType = NameTypeCode::Botanical;
    // The list the host handed over, and the one paged through (the same until Tools > Find
    // or a single-record view replaces it).
    std::shared_ptr<Recordset> rsOriginal;
    std::shared_ptr<Recordset> rsList;

    // --- Flags ---------------------------------------------------------------------------------
    std::array<bool, 4> tabLoaded {};
    bool blnInTabChange = false;
    bool blnLoading = false;
    bool blnDeleted = false;
    bool changedReferences = false;
    bool modal = false;

    // Reads the server and the user from the application manager.
    void readHostIdentity();
    // Lets go of every host object and the record (the editor is deactivated or goes).
    void release();

    // --- Host services -------------------------------------------------------------------------
    // A fresh record object of the data framework, connected to the editor's server.
    std::unique_ptr<ScientificNameRecord> CreateRecord() const;
    // Tells the host's record extension which record is shown now.
    void announceRecordShown() const;

    // --- Record views, each through a query object of its own ---------------------------------
    std::shared_ptr<Recordset> RunQuery(const QString& sql) const;
    std::shared_ptr<Recordset> GetSingleRecordView(int32_t id) const;
    bool RecordExists(int32_t id) const;
    std::shared_ptr<Recordset> GetEmptyView() const;
    int FindViewIndex(const QString& code) const;
};

// The component's events, raised by the editor alone; the helpers say when.
class DetailsEvents {
public:
    virtual void raiseQuit() = 0;
    virtual void raiseUpdateList(int32_t lngID) = 0;
    virtual void raiseRemoveItem(int32_t lngID) = 0;

protected:
    ~DetailsEvents() = default;
};

} // namespace bryx
