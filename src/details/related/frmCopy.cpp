#include "frmCopy.h"

#include "controls/Controls.h"
#include "hosting/ErrorReport.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace bryx {

frmCopy::frmCopy(QWidget* parent)
    : Form(parent)
    , m_lblOriginalScientificName(new Label(QStringLiteral("Original Name=''"), this))
    , m_txtCopyName(new TextBox(this))
    , m_okButton(new CommandButton(QStringLiteral("OK"), this))
    , m_cancelButton(new CommandButton(QStringLiteral("Cancel"), this))
{
    SetCaption(QStringLiteral("Copy Record"));
    m_lblOriginalScientificName->setObjectName(QStringLiteral("lblOriginalScientificName"));
    QFont arial(QStringLiteral("Arial"));
    arial.setStyleHint(QFont::SansSerif);
    m_lblOriginalScientificName->setFont(arial);
    m_lblOriginalScientificName->setWordWrap(true);
    auto* prompt = new Label(QStringLiteral("Name of the new record:"), this);
    prompt->setObjectName(QStringLiteral("Label1"));
    prompt->setBuddy(m_txtCopyName);
    m_txtCopyName->setObjectName(QStringLiteral("txtCopyName"));
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setDefault(true);
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));
    m_cancelButton->SetCancel(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblOriginalScientificName);
    layout->addSpacing(8);
    layout->addWidget(prompt);
    layout->addWidget(m_txtCopyName);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons);
    SetWidthTwips(5400);
    SetHeightTwips(2200);

    connect(m_okButton, &QPushButton::clicked, this, [this] {
        runHandler("OKButton_Click", [this] {
            // Without a name there is nothing to copy to: the dialog waits for one.
            if (m_txtCopyName->text().isEmpty()) {
                m_txtCopyName->setFocus();
                return;
            }
            m_ok = true;
            hide();
        });
    });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        runHandler("CancelButton_Click", [this] {
            m_ok = false;
            hide();
        });
    });
}

void frmCopy::SetOriginalName(const QString& scientificName)
{
    m_lblOriginalScientificName->setText(QStringLiteral("Original Name = '") + scientificName
                                         + QLatin1Char('\''));
}

QString frmCopy::CopyName() const
{
    return m_txtCopyName->text();
}

} // namespace bryx
