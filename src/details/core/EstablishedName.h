#pragma once

#include "common/BusyPointer.h"

#include <QString>
#include <memory>
#include <optional>

namespace bryx {

class DetailsSession;
class DetailsUi;
class Recordset;
class frmModalSearch;

// The nomenclaturally established name of the record shown: picked through a search of
// scientific names, cleared, and opened in a window of its own; and the shared opening of the
// records the host relates to this one from the File > Open menu.
class EstablishedName {
public:
    EstablishedName(DetailsSession& session, DetailsUi& ui)
        : m_session(session)
        , m_ui(ui)
    {
    }

    void cmdSelectNomenclatureName_Click();
    void cmdClearNomenclatureName_Click();
    void mnuFileOpenNomenclature_Click();
    // Opens the records of `targetCode` related to this one through the menu caption; false
    // when the host relates none.
    bool OpenRelatedRecords(const QString& targetCode, const QString& caption);

private:
    // Runs the search dialog and takes the name picked; the caller cleans up after it.
    void selectFromSearch(frmModalSearch& dialog, std::shared_ptr<Recordset>& picked,
                          std::optional<BusyPointer>& busy);
    DetailsSession& m_session;
    DetailsUi& m_ui;
};

} // namespace bryx
