// Signing in to the desktop application: who the user is on each engine, and the password the
// server asks for when no ~/.pgpass or PGPASSWORD gave it.
#include "../../support/ErrorMatchers.h"
#include "../../support/QtPrinters.h"
#include "../../support/ScriptedDesktop.h"
#include "../../support/UserInput.h"
#include "../TestDatabase.h"
#include "HostLogin.h"
#include "PasswordDialog.h"
#include "services/SqlAppManager.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

// Points libpq at an empty password file for as long as it lives, so that the server's
// question reaches the user.
class NoStoredPasswords {
public:
    NoStoredPasswords()
        : m_previous(qgetenv("PGPASSFILE"))
    {
        QFile empty(m_folder.filePath("pgpass"));
        empty.open(QIODevice::WriteOnly);
        qputenv("PGPASSFILE", empty.fileName().toLocal8Bit());
        qunsetenv("PGPASSWORD");
    }
    ~NoStoredPasswords() { qputenv("PGPASSFILE", m_previous); }
    NoStoredPasswords(const NoStoredPasswords&) = delete;
    NoStoredPasswords& operator=(const NoStoredPasswords&) = delete;

private:
    QTemporaryDir m_folder;
    QByteArray m_previous;
};

void typeText(QWidget& widget, const QString& text)
{
    for (const QChar c : text)
        keyClick(widget, c.toUpper().unicode(), {}, QString(c));
}

} // namespace

class SignIn : public OnEachEngine {
protected:
    // Answers each password dialog with the next text typed and Enter, or Escape for none;
    // records what each dialog asked.
    void answerPasswords(const QList<std::optional<QString>>& answers)
    {
        desktop.whileShown = [this, answers](QDialog& dialog) {
            auto* password = dialog.findChild<QLineEdit*>("txtPassword");
            ASSERT_NE(password, nullptr);
            EXPECT_EQ(dialog.focusWidget(), password) << "the password box takes the typing";
            EXPECT_EQ(password->echoMode(), QLineEdit::Password);
            questions << dialog.findChild<QLabel*>("lblPasswordQuestion")->text();
            const std::optional<QString> answer = answers.value(questions.size() - 1);
            if (!answer) {
                keyClick(*password, Qt::Key_Escape);
                return;
            }
            typeText(*password, *answer);
            keyClick(*password, Qt::Key_Return);
        };
    }
    ScriptedDesktop desktop;
    QStringList questions;
};
INSTANTIATE_ON_EACH_ENGINE(SignIn);

TEST_P(SignIn, AnSqliteUserIsChosenByNameAndAServersByItsLogin)
{
    TestDatabase database(GetParam());
    if (GetParam() == Dialect::SQLite) {
        const HostLogin::Result viewer = HostLogin::signIn(database.url(), "viewer");
        EXPECT_EQ(viewer.appManager->GetUserName(), QString("viewer"));
        return;
    }
    const HostLogin::Result editor = HostLogin::signIn(database.url(), {});
    EXPECT_EQ(editor.appManager->GetUserName(), QString("editor"));
    const QString message =
        EXPECT_BRYX_ERROR(HostLogin::signIn(database.url(), "viewer"), ErrorNumber::InvalidArgument);
    EXPECT_TRUE(message.contains("--user")) << message.toStdString();
    EXPECT_TRUE(message.contains("postgresql://viewer@")) << "how to be the viewer instead";
    EXPECT_TRUE(questions.isEmpty()) << "the password came from the password file";
}

TEST_P(SignIn, TheServersQuestionForAPasswordIsAskedAgainUntilRightOrCancelled)
{
    if (GetParam() == Dialect::SQLite)
        GTEST_SKIP() << "nobody logs in to an SQLite file";
    TestDatabase database(GetParam());
    const NoStoredPasswords noneStored;
    const QString right = qEnvironmentVariable("BRYX_TEST_PG_PASSWORD");

    answerPasswords({QString("wrong"), right});
    const HostLogin::Result signedIn = HostLogin::signIn(database.urlFor("viewer"), {});
    EXPECT_EQ(signedIn.appManager->GetUserName(), QString("viewer"));
    ASSERT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions[0].contains("asks for the password of viewer")) << questions[0].toStdString();
    EXPECT_TRUE(questions[1].contains("refused")) << questions[1].toStdString();

    questions.clear();
    answerPasswords({std::nullopt});
    const QString message =
        EXPECT_BRYX_ERROR(HostLogin::signIn(database.urlFor("viewer"), {}), ErrorNumber::InvalidArgument);
    EXPECT_EQ(questions.size(), 1);
    EXPECT_TRUE(message.contains("No password")) << message.toStdString();
}
