#include "frmSelectScientificNameType.h"

#include "controls/Controls.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace bryx {

frmSelectScientificNameType::frmSelectScientificNameType(QWidget* parent)
    : Form(parent)
    , m_botanical(new OptionButton(QStringLiteral("Botanical"), 0, this))
    , m_zoological(new OptionButton(QStringLiteral("Zoological"), 1, this))
    , m_ecological(new OptionButton(QStringLiteral("Ecological"), 2, this))
    , m_next(new CommandButton(QStringLiteral("Next >"), this))
    , m_cancel(new CommandButton(QStringLiteral("Cancel"), this))
{
    SetCaption(QStringLiteral("New Scientific Name"));
    m_botanical->setObjectName(QStringLiteral("optBotanical"));
    m_zoological->setObjectName(QStringLiteral("optZoological"));
    m_ecological->setObjectName(QStringLiteral("optEcological"));
    m_next->setObjectName(QStringLiteral("cmdNext"));
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_next->setDefault(true);
    m_cancel->SetCancel(true);
    m_botanical->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new Label(QStringLiteral("Select the type of scientific name to be created:"), this));
    for (OptionButton* option : {m_botanical, m_zoological, m_ecological})
        layout->addWidget(option);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_next);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    connect(m_next, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_canceled = true;
        hide();
    });
}

void frmSelectScientificNameType::showEvent(QShowEvent* event)
{
    m_canceled = false; // set afresh each time the dialog loads
    Form::showEvent(event);
}

QString frmSelectScientificNameType::ChosenTypeCaption() const
{
    if (m_botanical->isChecked())
        return QStringLiteral("Botanical...");
    if (m_ecological->isChecked())
        return QStringLiteral("Ecological...");
    if (m_zoological->isChecked())
        return QStringLiteral("Zoological...");
    return {};
}

} // namespace bryx
