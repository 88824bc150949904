#pragma once

#include "ModalHostForm.h"

#include <cstdint>

namespace bryx {

// Runs a details component modally (caption "Modal Details"); on the component's Quit it
// hides, and its caller reads the record by the identifier NewData answered.
class frmModalDetail : public ModalHostForm {
    Q_OBJECT
public:
    explicit frmModalDetail(QWidget* parent = nullptr);

    bool InitDialog(const QString& progId, std::shared_ptr<AppManager> appManager, const QString& extraInfo);
    void LoadData(int32_t lngIDLocal);
    int32_t NewData(int32_t lngIDLocal);

protected:
    void componentEvent(const QString& lowerCaseName) override;
    bool queryUnload(UnloadMode mode) override;
    void onUnload() override;
};

} // namespace bryx
