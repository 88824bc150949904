// bryx-host: the desktop application that hosts the scientific name components over the
// reference database (embedded SQLite by default, PostgreSQL with --database).
#include "ComponentWindow.h"
#include "DuplicateGroupsModel.h"
#include "DuplicateNamesWindow.h"
#include "HostDesktopServices.h"
#include "HostLogin.h"
#include "LocalDatabase.h"
#include "MainWindow.h"
#include "NameHistoryDialog.h"
#include "WorkingListView.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "error/Error.h"
#include "hosting/LateBinding.h"
#include "hosting/UserControl.h"
#include "registration/Identities.h"
#include "services/SqlAppManager.h"
#include "tools/CommandLine.h"

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <limits>

using namespace bryx;
using namespace bryx::host;

namespace {

// How often the picture taker looks for the dialog it is to photograph.
constexpr int WatchMilliseconds = 50;

const char* const Help = R"(Usage: bryx-host [--database URL] [--user NAME] [CHECKLIST]

Opens the working list of scientific names, from which names are found, added and opened.
With a CHECKLIST (a Darwin Core Archive, a ColDP package or a spreadsheet) it first shows
what the checklist holds and offers to import it.

Options:
  --database URL     sqlite:/path/file.sqlite or postgresql://login@host:port/db
                     (default: an embedded database in the user's data folder, created with
                     the sample names on first start). On PostgreSQL you are the login,
                     authenticated by the server (a dialog asks for a password it wants)
  --user NAME        SQLite only: the user whose role applies (default: the system user
                     when the database knows it, else "editor")
  --screenshot FILE  search for --search TEXT (default "abies"), add the names found to the
                     working list, save a picture of the main window to FILE and quit
  --details ID       with --screenshot: put the name with that ID in the working list and open
                     it in a details window instead of searching
  --page N           with --details: the tab page shown (0 Identifiers, 1 Nomenclature,
                     2 References, 3 Comments)
  --duplicates RULE  with --screenshot: open Find Duplicate Names, find by RULE (0 same name
                     and author, 1 author written another way, 2 same name, 3 spelling) and
                     select the first name found
  --history ID       with --screenshot: open the name with that ID and picture its Name
                     History
  --screenshot FILE with a CHECKLIST: save a picture of its import preview to FILE and quit
                     without importing
  --exit-when-ready  quit as soon as the main window is shown (for timing the start)
  --version          show the program's version
)";

struct Arguments {
    DatabaseUrl url = LocalDatabase::defaultUrl();
    QString user;
    QString screenshot;
    QString searchText = QStringLiteral("abies");
    bool exitWhenReady = false;
    int detailsId = 0;
    int page = 0;
    int duplicates = -1;
    int historyId = 0;
    QString checklist;
};

int numberArgument(const QCommandLineParser& parser, const char* name, int lowest, int highest)
{
    bool ok = false;
    const int value = parser.value(QLatin1String(name)).toInt(&ok);
    if (!ok || value < lowest || value > highest)
        throw UsageError(QStringLiteral("--%1 takes a number from %2 to %3, not \"%4\"")
                             .arg(QLatin1String(name))
                             .arg(lowest)
                             .arg(highest)
                             .arg(parser.value(QLatin1String(name))));
    return value;
}

Arguments parse(const QStringList& args)
{
    QCommandLineParser parser;
    parser.addOption(databaseOption());
    for (const char* valued : {"user", "screenshot", "search", "details", "page", "duplicates", "history"})
        parser.addOption({QLatin1String(valued), QString(), QStringLiteral("value")});
    parser.addOption({QStringLiteral("exit-when-ready"), QString()});
    parseArguments(parser, args, 1);

    Arguments parsed;
    parsed.url = databaseArgument(parser, LocalDatabase::defaultUrl());
    parsed.user = parser.value(QStringLiteral("user"));
    parsed.screenshot = parser.value(QStringLiteral("screenshot"));
    if (parser.isSet(QStringLiteral("search")))
        parsed.searchText = parser.value(QStringLiteral("search"));
    parsed.exitWhenReady = parser.isSet(QStringLiteral("exit-when-ready"));
    if (parser.isSet(QStringLiteral("details")))
        parsed.detailsId = numberArgument(parser, "details", 1, std::numeric_limits<int>::max());
    if (parser.isSet(QStringLiteral("page")))
        parsed.page = numberArgument(parser, "page", 0, 3);
    if (parser.isSet(QStringLiteral("duplicates")))
        parsed.duplicates = numberArgument(parser, "duplicates", 0, 3);
    if (parser.isSet(QStringLiteral("history")))
        parsed.historyId = numberArgument(parser, "history", 1, std::numeric_limits<int>::max());
    parsed.checklist = parser.positionalArguments().value(0);
    return parsed;
}

bool haveDisplay()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void savePicture(MainWindow& window, const QString& file)
{
    QApplication::processEvents();
    if (!window.grab().save(file))
        throw Error(ErrorNumber::Unexpected,
                    QStringLiteral("The picture could not be written to %1").arg(file));
}

// What the gallery's picture shows: the search window after a search, and the names it found
// in the working list.
void takeScreenshot(MainWindow& window, const QString& text, const QString& file)
{
    ComponentWindow* search = window.openSearch();
    UserControl& panel = *search->component();
    panel.findChild<TextBox*>(QStringLiteral("txtFindNameSciName"))->setText(text);
    panel.findChild<CommandButton*>(QStringLiteral("cmdStartSearch"))->click();
    panel.findChild<CommandButton*>(QStringLiteral("cmdSelectAll"))->click();
    panel.findChild<CommandButton*>(QStringLiteral("cmdAddToList"))->click();
    // The search window on the left at its own size, the working list beside it.
    search->move(0, 0);
    if (QWidget* list = window.workingList().parentWidget()) {
        list->move(search->width(), 0);
        list->resize(std::max(320, window.mdiArea().width() - search->width()), search->height());
    }
    savePicture(window, file);
    std::printf("bryx-host: %d names found, picture in %s\n", window.workingList().count(), qPrintable(file));
}

// A details window on the name, which joins the working list first; null when it cannot open.
ComponentWindow* openFromWorkingList(MainWindow& window, int32_t id)
{
    if (!window.addToWorkingList(id))
        throw Error(ErrorNumber::ItemNotFound,
                    QStringLiteral("There is no scientific name with ID %1").arg(id));
    return window.openDetailsFromWorkingList(id);
}

// The details window of one name, opened from the working list as a double-click would, on the
// page asked for. True when the editor shows that name.
bool takeDetailsScreenshot(MainWindow& window, int32_t id, int page, const QString& file)
{
    ComponentWindow* details = openFromWorkingList(window, id);
    if (!details)
        return false;
    UserControl& editor = *details->component();
    CallByName(editor, QStringLiteral("ShowPage"), {page});
    details->move(0, 0);
    if (QWidget* list = window.workingList().parentWidget()) {
        list->move(details->width(), 0);
        list->resize(std::max(320, window.mdiArea().width() - details->width()), details->height());
    }
    window.mdiArea().setActiveSubWindow(details);
    savePicture(window, file);
    const QString shown = editor.findChild<TextBox*>(QStringLiteral("txtSummarySciName"))->text();
    const bool showsIt = CallByName(editor, QStringLiteral("GetID")).toInt() == id && !shown.isEmpty();
    std::printf("bryx-host: name %d (%s) in a details window, picture in %s\n", id, qPrintable(shown),
                qPrintable(file));
    return showsIt;
}

// Find Duplicate Names after a search by one rule, the first name found selected.
bool takeDuplicatesScreenshot(MainWindow& window, int rule, const QString& file)
{
    DuplicateNamesWindow* duplicates = window.curation().openDuplicates();
    duplicates->findChild<QComboBox*>(QStringLiteral("cboRule"))->setCurrentIndex(rule);
    duplicates->find();
    window.workingList().parentWidget()->hide();
    duplicates->parentWidget()->move(0, 0);
    duplicates->parentWidget()->resize(window.mdiArea().size());
    if (duplicates->groups().rowCount() > 0)
        duplicates->view().selectRow(0);
    savePicture(window, file);
    std::printf("bryx-host: %d duplicate group(s) of %d names, picture in %s\n",
                duplicates->groups().groupCount(), duplicates->groups().nameCount(), qPrintable(file));
    return true;
}

// The Name History of one name, opened over its details window.
bool takeHistoryScreenshot(MainWindow& window, int32_t id, const QString& file)
{
    ComponentWindow* details = openFromWorkingList(window, id);
    if (!details)
        return false;
    window.mdiArea().setActiveSubWindow(details);
    NameHistoryDialog* history = window.curation().showNameHistory();
    if (!history)
        return false;
    QApplication::processEvents();
    const bool saved = history->grab().save(file);
    std::printf("bryx-host: %d change(s) of name %d, picture in %s\n", int(history->entries().size()), id,
                qPrintable(file));
    history->close();
    return saved;
}

// The import preview of a checklist, pictured: the first pass runs as the user would see it,
// and the preview is photographed and cancelled, so nothing is imported. A refusal the user
// would read in a message box is printed instead.
bool takeImportPreviewScreenshot(MainWindow& window, const QString& checklist, const QString& file)
{
    bool saved = false;
    QTimer watcher;
    watcher.setInterval(WatchMilliseconds);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal)
            return;
        if (auto* message = qobject_cast<QMessageBox*>(modal)) {
            std::fprintf(stderr, "bryx-host: %s\n", qPrintable(message->text()));
            message->reject();
            return;
        }
        if (modal->objectName() != QLatin1String("dlgImportPreview"))
            return;
        watcher.stop();
        QApplication::processEvents();
        saved = modal->grab().save(file);
        modal->reject();
    });
    watcher.start();
    window.checklists().importChecklist(checklist);
    if (saved)
        std::printf("bryx-host: import preview of %s, picture in %s\n", qPrintable(checklist),
                    qPrintable(file));
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0) {
            std::fputs(Help, stdout);
            return 0;
        }
        if (qstrcmp(argv[i], "--version") == 0) {
            std::puts("bryx-host " BRYX_VERSION);
            return 0;
        }
    }
    if (!haveDisplay()) {
        std::fputs("bryx-host: no display; run it in a desktop session, or with QT_QPA_PLATFORM=offscreen "
                   "or under xvfb-run\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("BRYX"));
    QApplication::setApplicationName(QStringLiteral("bryx-host"));
    QApplication::setApplicationVersion(QStringLiteral(BRYX_VERSION));
    try {
        const Arguments arguments = parse(QApplication::arguments());
        DesktopServices::install(std::make_unique<HostDesktopServices>());
        const HostLogin::Result login = HostLogin::signIn(arguments.url, arguments.user);
        std::fprintf(stderr, "bryx-host: %s\n", qPrintable(login.prepared));
        MainWindow window(login.appManager, registration::thisLibraryPath());
        window.show();
        if (arguments.exitWhenReady) {
            QApplication::processEvents(); // laid out and painted: what the user would see
            return 0;
        }
        if (!arguments.screenshot.isEmpty()) {
            int status = 0;
            QTimer::singleShot(0, &window, [&] {
                try {
                    if (!arguments.checklist.isEmpty())
                        status =
                            takeImportPreviewScreenshot(window, arguments.checklist, arguments.screenshot)
                            ? 0
                            : 1;
                    else if (arguments.duplicates >= 0)
                        status = takeDuplicatesScreenshot(window, arguments.duplicates, arguments.screenshot)
                            ? 0
                            : 1;
                    else if (arguments.historyId > 0)
                        status =
                            takeHistoryScreenshot(window, arguments.historyId, arguments.screenshot) ? 0 : 1;
                    else if (arguments.detailsId > 0)
                        status = takeDetailsScreenshot(window, arguments.detailsId, arguments.page,
                                                       arguments.screenshot)
                            ? 0
                            : 1;
                    else
                        takeScreenshot(window, arguments.searchText, arguments.screenshot);
                } catch (const std::exception& error) {
                    std::fprintf(stderr, "bryx-host: %s\n", qPrintable(Error::from(error).Description()));
                    status = 1;
                }
                QApplication::exit(status);
            });
            return QApplication::exec() == 0 ? status : 1;
        }
        if (!arguments.checklist.isEmpty())
            QTimer::singleShot(0, &window, [&] { window.checklists().importChecklist(arguments.checklist); });
        return QApplication::exec();
    } catch (const UsageError& error) {
        std::fprintf(stderr, "bryx-host: %s (see bryx-host --help)\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bryx-host: %s\n", qPrintable(Error::from(error).Description()));
        return 1;
    }
}
