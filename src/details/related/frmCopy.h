#pragma once

#include "controls/Form.h"

namespace bryx {

class CommandButton;
class Label;
class TextBox;

// Asks for the name of a copy (caption "Copy Record"): OK needs a name and closes with Ok
// set; Cancel (or the close box) closes without.
class frmCopy : public Form {
    Q_OBJECT
    Q_PROPERTY(bool Ok READ Ok)
public:
    explicit frmCopy(QWidget* parent = nullptr);

    bool Ok() const { return m_ok; }
    // Shows the name of the record being copied.
    void SetOriginalName(const QString& scientificName);
    QString CopyName() const;

    Label* lblOriginalScientificName() const { return m_lblOriginalScientificName; }
    TextBox* txtCopyName() const { return m_txtCopyName; }
    CommandButton* OKButton() const { return m_okButton; }
    CommandButton* CancelButton() const { return m_cancelButton; }

private:
    Label* m_lblOriginalScientificName;
    TextBox* m_txtCopyName;
    CommandButton* m_okButton;
    CommandButton* m_cancelButton;
    bool m_ok = false;
};

} // namespace bryx
