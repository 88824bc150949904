#include "PasswordDialog.h"

#include "services/Screen.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace bryx::host {

PasswordDialog::PasswordDialog(const DatabaseUrl& url, bool refused, QWidget* parent)
    : QDialog(parent)
    , m_password(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmPassword"));
    setMinimumWidth(MinimumWidth);
    setWindowTitle(tr("Connect to %1").arg(url.databaseName));
    const QString login = url.user.isEmpty() ? qEnvironmentVariable("USER") : url.user;
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(
        refused ? tr("The server %1 refused the password of %2. Type it again:").arg(url.host, login)
                : tr("The server %1 asks for the password of %2:").arg(url.host, login),
        this);
    question->setObjectName(QStringLiteral("lblPasswordQuestion"));
    question->setWordWrap(true);
    layout->addWidget(question);
    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    layout->addWidget(m_password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Connect"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_password->setFocus();
}

std::optional<QString> PasswordDialog::ask(const DatabaseUrl& url, bool refused, QWidget* parent)
{
    PasswordDialog dialog(url, refused, parent);
    DesktopServices::current().showModal(dialog);
    if (dialog.result() != QDialog::Accepted)
        return std::nullopt;
    return dialog.m_password->text();
}

} // namespace bryx::host
