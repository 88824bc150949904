#pragma once

#include "controls/Form.h"

namespace bryx {

class CommandButton;
class MenuItem;
class RichTextBox;

// Shows a search statement (caption "View SQL"); Edit > Copy copies the selected text.
class frmSQL : public Form {
    Q_OBJECT
public:
    explicit frmSQL(QWidget* parent = nullptr);
    RichTextBox* txtSQL() const { return m_txtSQL; }
    CommandButton* cmdOk() const { return m_cmdOk; }
    MenuItem* mnuEditCopy() const { return m_mnuEditCopy; }

private:
    RichTextBox* m_txtSQL;
    CommandButton* m_cmdOk;
    MenuItem* m_mnuEditCopy;
};

} // namespace bryx
