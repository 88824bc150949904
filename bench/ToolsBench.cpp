// The details editor's maintenance and text tools on the generated database of a million names
// (BRYX_BENCH_DB, default /tmp/bryx-1m.sqlite; see SearchPanelBench.cpp for how to make it):
// Record Maintenance of a name with 1,000 audit rows, from the menu to the dialog painted; the
// names' vocabulary read at the first spelling check; and a check of a 2,000-word comment to the
// first suggestion shown, against Hunspell alone spelling the same words and suggesting once.
// The first run adds the audited name and its audit rows to that database.
#include "BenchEditor.h"
#include "clients/ClientCollection.h"
#include "controls/Controls.h"
#include "controls/RichTextBox.h"
#include "db/Database.h"
#include "hosting/ComponentLibrary.h"
#include "services/Screen.h"
#include "spelling/NameVocabulary.h"
#include "spelling/SpellingCheck.h"
#include "spelling/SpellingDialog.h"
#include "spelling/SpellingDictionary.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <hunspell/hunspell.hxx>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::bench;

namespace {

constexpr int AuditRows = 1000;
constexpr int CommentWords = 2000;

// A name with 1,000 logged changes, a tenth of them commented, made once in the database.
int32_t auditedName()
{
    Database& db = appManager().writable();
    const QVariant made =
        db.scalar("select scientific_name_id from scientific_name where scientific_name = 'Bench audited'");
    if (!made.isNull())
        return made.toInt();
    int32_t id = 0;
    db.transaction([&] {
        id = db.reserveIds(1);
        db.exec("insert into scientific_name (scientific_name_id, scientific_name, d_name_category_id) "
                "values (?, "
                "'Bench audited', 1)",
                {id});
        const int32_t first = db.reserveIds(AuditRows);
        const char* const columns[] = {"author_name", "acronym", "scientific_name_com", "translated_name"};
        for (int row = 0; row < AuditRows; ++row) {
            const int32_t auditId = first + row;
            db.exec("insert into audit_log (audit_log_id, audit_date, user_name, table_name, action, "
                    "column_name, "
                    "old_value, primary_key, org_unit_id, audit_log_column_id) values (?, ?, 'editor', "
                    "'SCIENTIFIC_NAME', 'U', ?, ?, ?, 1, ?)",
                    {auditId, QDateTime(QDate(2025, 1, 1), QTime(0, 0)).addSecs(row * 60),
                     QString::fromLatin1(columns[row % 4]),
                     QStringLiteral("Earlier value number %1").arg(row), id, auditId});
            if (row % 10 == 0)
                db.exec(
                    "insert into audit_comment (audit_comment_id, audit_log_column_id, comment_text) values "
                    "(?, ?, ?)",
                    {auditId, auditId, QStringLiteral("Checked against the protologue, row %1").arg(row)});
        }
    });
    return id;
}

// Shows each modal dialog, lets it paint, and closes it again, as a user glancing at it.
class DialogGlanced : public QtDesktopServices {
public:
    void showModal(QDialog& dialog) override
    {
        dialog.show();
        QApplication::processEvents();
        dialog.hide();
    }
};

void BM_RecordMaintenanceShownAndPainted(benchmark::State& state)
{
    const int32_t id = auditedName();
    QString one = QStringLiteral("select * from scientific_wl_vw where id = %1").arg(id);
    StartedEditor started(appManager().CallGetQueryRSXML(one));
    CallByName(*started.editor, "LoadData", {id});
    auto previous = DesktopServices::install(std::make_unique<DialogGlanced>());
    QAction* item = started.editor->findChild<QAction*>("mnuFileOpenRecordMaintenance");
    for (auto _ : state)
        item->trigger();
    DesktopServices::install(std::move(previous));
    state.counters["audit_rows"] = double(
        appManager().readOnly().scalar("select count(*) from audit_log where primary_key = ?", {id}).toInt());
}

void BM_VocabularyLoadAtFirstCheck(benchmark::State& state)
{
    int words = 0;
    for (auto _ : state) {
        SpellingDictionary dictionary(SpellingDictionary::systemAffixFile(),
                                      SpellingDictionary::systemDictionaryFile(), QString());
        NameVocabulary vocabulary = NameVocabulary::load(appManager().readOnly());
        words = int(vocabulary.size());
        dictionary.setVocabulary(std::move(vocabulary));
    }
    state.counters["words"] = words;
}

// 2,000 words of a comment, English and names, with one misspelt epithet at the very end.
QString longComment(const QStringList& vocabulary)
{
    const QStringList english =
        QStringLiteral("the specimen was collected near a small lake in the northern forest and "
                       "compared with material from the herbarium after the survey of wetland plots")
            .split(QLatin1Char(' '));
    QStringList words;
    for (int i = 0; words.size() < CommentWords - 1; ++i)
        words << (i % 5 == 4 ? vocabulary.at((i * 7919) % vocabulary.size())
                             : english.at(i % english.size()));
    words << QStringLiteral("albba");
    return words.join(QLatin1Char(' '));
}

// Answers the spelling dialog at once, noting when its first question (with its suggestions)
// was ready.
class FirstSuggestionTimed : public QtDesktopServices {
public:
    QElapsedTimer clock;
    qint64 firstSuggestionNs = -1;
    QString firstSuggestion;
    void showModal(QDialog& dialog) override
    {
        if (firstSuggestionNs < 0) {
            firstSuggestionNs = clock.nsecsElapsed();
            firstSuggestion = static_cast<SpellingDialog&>(dialog).txtChangeTo()->text();
        }
        dialog.findChild<CommandButton*>("cmdCancel")->click();
    }
};

struct SpellingSetup {
    SpellingDictionary dictionary {SpellingDictionary::systemAffixFile(),
                                   SpellingDictionary::systemDictionaryFile(), QString()};
    QStringList vocabulary =
        NameVocabulary::wordsOf(QStringLiteral("Abies alba Picea abies Pinus sylvestris Larix decidua "
                                               "Quercus robur Fagus sylvatica Betula pendula"));
    SpellingSetup() { dictionary.setVocabulary(NameVocabulary::load(appManager().readOnly())); }
};

SpellingSetup& spelling()
{
    static SpellingSetup setup;
    return setup;
}

void BM_SpellCheckToFirstSuggestion(benchmark::State& state)
{
    SpellingSetup& setup = spelling();
    RichTextBox box;
    const QString text = longComment(setup.vocabulary);
    auto* timed = new FirstSuggestionTimed;
    auto previous = DesktopServices::install(std::unique_ptr<DesktopServices>(timed));
    for (auto _ : state) {
        state.PauseTiming();
        box.SetPlainText(text);
        timed->firstSuggestionNs = -1;
        state.ResumeTiming();
        SpellingDialog dialog;
        SpellingCheck check(setup.dictionary, dialog);
        timed->clock.start();
        check.run(box);
        state.SetIterationTime(double(timed->firstSuggestionNs) / 1e9);
    }
    DesktopServices::install(std::move(previous));
    state.SetLabel(timed->firstSuggestion.toStdString());
}

// Hunspell alone: the same words spelt, and one suggestion for the last.
void BM_HunspellAloneSameWords(benchmark::State& state)
{
    SpellingSetup& setup = spelling();
    Hunspell hunspell(SpellingDictionary::systemAffixFile().toUtf8().constData(),
                      SpellingDictionary::systemDictionaryFile().toUtf8().constData());
    std::vector<std::string> words;
    for (const QString& word : longComment(setup.vocabulary).split(QLatin1Char(' ')))
        words.push_back(word.toStdString());
    for (auto _ : state) {
        int wrong = 0;
        for (const std::string& word : words)
            wrong += hunspell.spell(word) ? 0 : 1;
        benchmark::DoNotOptimize(hunspell.suggest(words.back()));
        benchmark::DoNotOptimize(wrong);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!bench::haveBenchDatabase())
        return 1;
    host::registerClientComponents();
    ComponentLibrary library(registration::thisLibraryPath());
    benchmark::RegisterBenchmark("BM_RecordMaintenanceShownAndPainted", BM_RecordMaintenanceShownAndPainted)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_VocabularyLoadAtFirstCheck", BM_VocabularyLoadAtFirstCheck)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("BM_SpellCheckToFirstSuggestion", BM_SpellCheckToFirstSuggestion)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_HunspellAloneSameWords", BM_HunspellAloneSameWords)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
