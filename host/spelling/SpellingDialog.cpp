#include "SpellingDialog.h"

#include "controls/Controls.h"

#include <QGridLayout>
#include <QListWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace bryx::host {

namespace {

constexpr int DialogWidthTwips = 7200;
constexpr int DialogHeightTwips = 4800;
// The word asked about stands out in its sentence.
const QColor MisspeltWordColour(192, 0, 0);

} // namespace

SpellingDialog::SpellingDialog(QWidget* parent)
    : Form(parent)
    , m_context(new QTextEdit(this))
    , m_suggestions(new QListWidget(this))
    , m_changeTo(new TextBox(this))
    , m_cmdChange(new CommandButton(tr("&Change"), this))
    , m_cmdChangeAll(new CommandButton(tr("Change A&ll"), this))
{
    SetCaption(tr("Spelling"));
    m_context->setObjectName(QStringLiteral("txtContext"));
    m_context->setReadOnly(true);
    m_suggestions->setObjectName(QStringLiteral("lstSuggestions"));
    m_changeTo->setObjectName(QStringLiteral("txtChangeTo"));
    m_cmdChange->setObjectName(QStringLiteral("cmdChange"));
    m_cmdChangeAll->setObjectName(QStringLiteral("cmdChangeAll"));
    auto button = [this](const QString& caption, const char* name, Action action) {
        auto* made = new CommandButton(caption, this);
        made->setObjectName(QLatin1String(name));
        connect(made, &QPushButton::clicked, this, [this, action] { answer(action); });
        return made;
    };
    CommandButton* ignore = button(tr("&Ignore"), "cmdIgnore", Action::Ignore);
    CommandButton* ignoreAll = button(tr("I&gnore All"), "cmdIgnoreAll", Action::IgnoreAll);
    CommandButton* add = button(tr("&Add to Dictionary"), "cmdAdd", Action::Add);
    CommandButton* cancel = button(tr("Cancel"), "cmdCancel", Action::Cancel);
    cancel->SetCancel(true);
    connect(m_cmdChange, &QPushButton::clicked, this, [this] { answer(Action::Change); });
    connect(m_cmdChangeAll, &QPushButton::clicked, this, [this] { answer(Action::ChangeAll); });
    connect(m_suggestions, &QListWidget::currentTextChanged, m_changeTo, &QLineEdit::setText);
    connect(m_suggestions, &QListWidget::itemDoubleClicked, this, [this] { answer(Action::Change); });
    connect(m_changeTo, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_cmdChange->setEnabled(!text.trimmed().isEmpty());
        m_cmdChangeAll->setEnabled(!text.trimmed().isEmpty());
    });

    auto* layout = new QGridLayout(this);
    layout->addWidget(new Label(tr("Not in dictionary:"), this), 0, 0);
    layout->addWidget(m_context, 1, 0, 2, 1);
    auto* topButtons = new QVBoxLayout;
    topButtons->addWidget(ignore);
    topButtons->addWidget(ignoreAll);
    topButtons->addWidget(add);
    topButtons->addStretch();
    layout->addLayout(topButtons, 1, 1);
    layout->addWidget(new Label(tr("Change to:"), this), 3, 0);
    layout->addWidget(m_changeTo, 4, 0);
    layout->addWidget(new Label(tr("Suggestions:"), this), 5, 0);
    layout->addWidget(m_suggestions, 6, 0, 2, 1);
    auto* lowerButtons = new QVBoxLayout;
    lowerButtons->addWidget(m_cmdChange);
    lowerButtons->addWidget(m_cmdChangeAll);
    lowerButtons->addStretch();
    lowerButtons->addWidget(cancel);
    layout->addLayout(lowerButtons, 6, 1);
    SetWidthTwips(DialogWidthTwips);
    SetHeightTwips(DialogHeightTwips);
}

SpellingDialog::Action SpellingDialog::ask(const QString& word, const QString& context, qsizetype wordStart,
                                           const QStringList& suggestions)
{
    m_action = Action::Cancel;
    const QString before = context.left(wordStart).toHtmlEscaped();
    const QString after = context.mid(wordStart + word.size()).toHtmlEscaped();
    m_context->setHtml(QStringLiteral("%1<b><span style=\"color:%2\">%3</span></b>%4")
                           .arg(before, MisspeltWordColour.name(), word.toHtmlEscaped(), after));
    m_suggestions->clear();
    m_suggestions->addItems(suggestions);
    m_changeTo->setText(suggestions.value(0, word));
    if (!suggestions.isEmpty())
        m_suggestions->setCurrentRow(0);
    m_changeTo->setFocus();
    ShowModal();
    return m_action;
}

QString SpellingDialog::replacement() const
{
    return m_changeTo->text().trimmed();
}

void SpellingDialog::answer(Action action)
{
    m_action = action;
    hide();
}

} // namespace bryx::host
