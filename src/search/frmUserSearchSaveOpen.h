#pragma once

#include "controls/Form.h"

#include <memory>

namespace bryx {

class AppManager;
class CommandButton;
class ListBox;
class TextBox;

// Asks for the name of a user search to save, open or delete, listing the user's saved
// searches of one option category.
class frmUserSearchSaveOpen : public Form {
    Q_OBJECT
public:
    enum Mode { Save = 1, Open = 2, Delete = 3 };

    explicit frmUserSearchSaveOpen(QWidget* parent = nullptr);
    bool Init(const QString& strCategoryName, int enMode, std::shared_ptr<AppManager> objAppManager);
    bool IsCanceled() const { return m_canceled; }
    QString GetSearchName() const;

    ListBox* lstUserSearches() const { return m_list; }
    TextBox* txtSearchName() const { return m_name; }
    CommandButton* cmdSave() const { return m_cmdSave; }
    CommandButton* cmdCancel() const { return m_cmdCancel; }

protected:
    bool queryUnload(UnloadMode mode) override;

private:
    void fillList();
    void listClicked();

    ListBox* m_list;
    TextBox* m_name;
    CommandButton* m_cmdSave;
    CommandButton* m_cmdCancel;
    QString m_category;
    int m_mode = Save;
    int32_t m_userId = 0;
    QString m_serverName;
    int32_t m_serverType = 0;
    bool m_canceled = false;
};

} // namespace bryx
