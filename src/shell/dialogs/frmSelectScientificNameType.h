#pragma once

#include "controls/Form.h"

namespace bryx {

class CommandButton;
class OptionButton;

// Asks which type of scientific name to create (caption "New Scientific Name"). Next and
// Cancel only hide the dialog; the caller reads Canceled and the option buttons afterwards.
class frmSelectScientificNameType : public Form {
    Q_OBJECT
    Q_PROPERTY(bool Canceled READ Canceled)
public:
    explicit frmSelectScientificNameType(QWidget* parent = nullptr);
    bool Canceled() const { return m_canceled; }

    OptionButton* optBotanical() const { return m_botanical; }
    OptionButton* optZoological() const { return m_zoological; }
    OptionButton* optEcological() const { return m_ecological; }
    CommandButton* cmdNext() const { return m_next; }
    CommandButton* cmdCancel() const { return m_cancel; }

    // The caption of the chosen type, tested Botanical, Ecological, Zoological; empty when
    // none is on.
    QString ChosenTypeCaption() const;

protected:
    void showEvent(QShowEvent* event) override;
    // Closing by the close box or Escape is a cancel.
    bool queryUnload(UnloadMode mode) override
    {
        if (mode == UnloadMode::ControlMenu)
            m_canceled = true;
        return true;
    }

private:
    OptionButton* m_botanical;
    OptionButton* m_zoological;
    OptionButton* m_ecological;
    CommandButton* m_next;
    CommandButton* m_cancel;
    bool m_canceled = false;
};

} // namespace bryx
