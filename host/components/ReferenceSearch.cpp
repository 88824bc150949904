#include "ReferenceSearch.h"

#include "collection/Collection.h"
#include "contracts/AppManager.h"
#include "contracts/HostWindowOf.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "db/SqlText.h"
#include "hosting/ComponentRegistry.h"
#include "hosting/ErrorReport.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "services/SqlAppManager.h"
#include "util/Misc_Functions.h"
#include "util/RS_Functions.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <vector>

namespace bryx::host {

namespace {

// The reference search is not part of the component library: it answers to no class ID of it.
constexpr const char* ClassId = "{5E0B7F4C-2B7A-4C8E-9B0D-3F7A1C2E4D60}";

QString likeText(const QString& typed)
{
    return sqlLiteral(QLatin1Char('%') + typed.toUpper() + QLatin1Char('%'));
}

// The full-text table finds runs of three letters or more, case folded. Shorter texts, and texts
// with the LIKE wildcards the user may type on purpose, are compared row by row instead.
bool fullTextCanFind(const QString& typed)
{
    return typed.size() >= 3 && !typed.contains(QLatin1Char('%')) && !typed.contains(QLatin1Char('_'));
}

QString phrase(const char* column, const QString& typed)
{
    QString quoted = typed;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\"")).replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("%1 : \"%2\"").arg(QLatin1String(column), quoted);
}

} // namespace

void ReferenceSearch::registerClass()
{
    ComponentRegistry::instance().add(
        {QLatin1String(ProgId), QLatin1String(ClassId), QString(), QString(),
         [](QWidget* parent) -> UserControl* { return new ReferenceSearch(parent); }});
}

ReferenceSearch::ReferenceSearch(QWidget* parent)
    : UserControl(parent)
    , m_txtCode(new TextBox(this))
    , m_txtCitation(new TextBox(this))
    , m_fgResults(new FlexGrid(this))
    , m_lblFound(new Label(QStringLiteral("0"), this))
    , m_cmdFind(new CommandButton(QStringLiteral("F&ind Now"), this))
    , m_cmdOk(new CommandButton(QStringLiteral("OK"), this))
    , m_cmdCancel(new CommandButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("ReferenceSearch"));
    m_txtCode->setObjectName(QStringLiteral("txtReferenceCode"));
    m_txtCitation->setObjectName(QStringLiteral("txtFullCitation"));
    m_fgResults->setObjectName(QStringLiteral("fgReferences"));
    m_fgResults->SetMultiSelect(true);
    m_fgResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lblFound->setObjectName(QStringLiteral("lblRecordsReturned"));
    m_cmdFind->setObjectName(QStringLiteral("cmdStartSearch"));
    m_cmdFind->setDefault(true);
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->SetCancel(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new Label(QStringLiteral("Reference Code"), this), 0, 0);
    layout->addWidget(m_txtCode, 0, 1);
    layout->addWidget(new Label(QStringLiteral("Words of the Full Citation"), this), 1, 0);
    layout->addWidget(m_txtCitation, 1, 1);
    layout->addWidget(m_cmdFind, 0, 2);
    layout->addWidget(m_fgResults, 2, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new Label(QStringLiteral("References Found:"), this));
    buttons->addWidget(m_lblFound);
    buttons->addStretch();
    buttons->addWidget(m_cmdOk);
    buttons->addWidget(m_cmdCancel);
    layout->addLayout(buttons, 3, 0, 1, 3);
    setSizeTwips(9600, 6600);

    connect(m_cmdFind, &QPushButton::clicked, this,
            [this] { runHandler("cmdStartSearch_Click", [this] { findNow(); }); });
    connect(m_cmdOk, &QPushButton::clicked, this, [this] { runHandler("cmdOk_Click", [this] { ok(); }); });
    connect(m_fgResults, &FlexGrid::DblClick, this,
            [this] { runHandler("fgReferences_DblClick", [this] { ok(); }); });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { emit Quit(); });
}

QString ReferenceSearch::SearchSQL(const QString& code, const QString& citationWords, TextIndex index)
{
    struct Term {
        const char* ftsColumn;
        const char* viewColumn;
        QString text;
    };
    std::vector<Term> terms;
    if (!code.trimmed().isEmpty())
        terms.push_back({"reference_code", "Reference_Code", code.trimmed()});
    for (const QString& word : citationWords.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        terms.push_back({"full_citation", "Full_Citation", word});

    QStringList phrases;
    QString scanned;
    for (const Term& term : terms) {
        if (index == TextIndex::FullTextTable && fullTextCanFind(term.text))
            phrases << phrase(term.ftsColumn, term.text);
        else
            scanned += QStringLiteral(" and upper(%1) like %2")
                           .arg(QLatin1String(term.viewColumn), likeText(term.text));
    }
    QString sql = QStringLiteral("select * from reference_wl_vw where 1=1");
    if (!phrases.isEmpty())
        sql += QStringLiteral(" and ID in (select rowid from reference_fts where reference_fts match '%1')")
                   .arg(phrases.join(QStringLiteral(" AND ")));
    return sql + scanned + QStringLiteral(" order by Reference_Code");
}

QVariant ReferenceSearch::InitModalSearch(std::shared_ptr<AppManager> objAppManager,
                                          std::shared_ptr<Recordset>& rsTemp, QString)
{
    m_appManager = std::move(objAppManager);
    m_chosen = rsTemp;
    hostWindowOf(*this)->SetCaption(QStringLiteral("Find Reference"));
    return {};
}

void ReferenceSearch::SetSelectedItems(std::shared_ptr<Collection>& colSelectedItems)
{
    m_selectedItems = colSelectedItems;
}

void ReferenceSearch::SetSingleSelect()
{
    m_fgResults->SetMultiSelect(false);
}

void ReferenceSearch::findNow()
{
    QString sql = SearchSQL(m_txtCode->text(), m_txtCitation->text(),
                            m_appManager->GetServerType() == SqlAppManager::SqliteServerType
                                ? TextIndex::FullTextTable
                                : TextIndex::TrigramIndexes);
    m_results = m_appManager->CallGetQueryRSXML(sql);
    m_fgResults->SetDataSource(m_results);
    m_fgResults->SetColHidden(0, true);
    Misc_Functions::FormatGridHeaders(*m_fgResults);
    m_lblFound->setText(QString::number(m_results->RecordCount()));
}

void ReferenceSearch::ok()
{
    if (m_results && m_fgResults->SelectedRows() > 0) {
        if (m_useRecordset && m_chosen)
            RS_Functions::ReplaceWithSelectedRows(*m_fgResults, *m_results, *m_chosen);
        if (m_selectedItems) {
            for (int index = 0; index < m_fgResults->SelectedRows(); ++index)
                m_selectedItems->Add(m_fgResults->TextMatrix(m_fgResults->SelectedRow(index), 0).toInt());
        }
    }
    emit Quit();
}

} // namespace bryx::host
