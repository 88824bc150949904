#pragma once

#include "ModalHostForm.h"

namespace bryx {

class Collection;
class Recordset;

// Runs a search component modally (caption "Search"); the chosen rows or identifiers come back
// through the recordset and collection the caller hands over.
class frmModalSearch : public ModalHostForm {
    Q_OBJECT
public:
    explicit frmModalSearch(QWidget* parent = nullptr);

    bool InitDialog(const QString& progId, std::shared_ptr<AppManager> appManager,
                    std::shared_ptr<Recordset>& rsTemp, const QString& extraInfo);
    void UseSelectedRecordset(bool blnUseRecordset);
    void SetSelectedItems(std::shared_ptr<Collection>& colSelectedItems);
    void SetSingleSelect();
    void SetMutliSelect(bool blnSelect);
    bool GetMutliSelect();
    void SetNameType(int intNameTypeRadioBut, bool blnEnabled, const QString& strClassLevelKeyword = {});
    void SetIdEnabled(bool blnEnabled);

protected:
    void componentEvent(const QString& lowerCaseName) override;
    bool queryUnload(UnloadMode mode) override;
    void onUnload() override;
};

} // namespace bryx
