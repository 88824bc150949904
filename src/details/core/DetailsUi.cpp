#include "DetailsUi.h"

#include "controls/Controls.h"
#include "controls/DataCombo.h"
#include "controls/FlexGrid.h"
#include "controls/Pictures.h"
#include "controls/RichTextBox.h"
#include "controls/Toolbar.h"
#include "hosting/UserControl.h"

#include <QGroupBox>
#include <QMenu>
#include <QPainter>

namespace bryx {

namespace {

// Left edge and width of the field column on the Identifiers, Nomenclature and Comments
// pages; labels take the column to its left.
constexpr int LabelLeft = 120;
constexpr int LabelWidth = 1990;
constexpr int FieldLeft = 2190;
constexpr int FieldWidth = 8900;
constexpr int RowHeight = 315;
constexpr int ButtonHeight = 375;
// Dark red: a record that was never stored must catch the eye.
const QColor NewRecordColour(0x99, 0x00, 0x00);

template<typename T> T* named(T* control, const char* name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

// A busy message: the operation's picture with its words beside it.
QIcon waitMessagePicture(const QString& themeName, const QString& words)
{
    QPixmap picture(220, 40);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    ThemeIcon(themeName).paint(&painter, QRect(4, 4, 32, 32));
    QFont font = painter.font();
    font.setPointSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x20, 0x20, 0x20));
    painter.drawText(QRect(44, 0, 176, 40), Qt::AlignVCenter | Qt::AlignLeft, words);
    painter.end();
    return QIcon(picture);
}

} // namespace

void DetailsUi::setupUi(UserControl& owner)
{
    m_owner = &owner;
    m_twips = TwipsPlacer(&owner);
    buildToolbar();

    lblElementName = named(new Label(QStringLiteral("Scientific Name ID:"), &owner), "lblElementName");
    m_twips.place(lblElementName, 120, 510, 1800, 255);
    lblElementNameID = named(new Label(&owner), "lblElementNameID");
    m_twips.place(lblElementNameID, 1950, 510, 1200, 255);
    lblUniversal = named(new Label(QStringLiteral("Universal Key:"), &owner), "lblUniversal");
    m_twips.place(lblUniversal, 3300, 510, 1400, 255);
    lblUniversalKey = named(new Label(&owner), "lblUniversalKey");
    m_twips.place(lblUniversalKey, 4750, 510, 2800, 255);
    lblNewRecord = named(new Label(QStringLiteral("New Record"), &owner), "lblNewRecord");
    m_twips.place(lblNewRecord, 9600, 510, 1800, 255);
    lblNewRecord->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = lblNewRecord->font();
    bold.setBold(true);
    lblNewRecord->setFont(bold);
    QPalette newRecordPalette = lblNewRecord->palette();
    newRecordPalette.setColor(QPalette::WindowText, NewRecordColour);
    lblNewRecord->setPalette(newRecordPalette);
    lblNewRecord->setVisible(false);

    tabScientificName = named(new TabControl(&owner), "tabScientificName");
    m_twips.place(tabScientificName, 60, 840, 11370, 4560);
    picFixIdentifiers = named(new QWidget, "picFixIdentifiers");
    picFixNomenclature = named(new QWidget, "picFixNomenclature");
    picFixReferences = named(new QWidget, "picFixReferences");
    picFixComments = named(new QWidget, "picFixComments");
    tabScientificName->addTab(picFixIdentifiers, QStringLiteral("&Identifiers"));
    tabScientificName->addTab(picFixNomenclature, QStringLiteral("&Nomenclature"));
    tabScientificName->addTab(picFixReferences, QStringLiteral("&References"));
    tabScientificName->addTab(picFixComments, QStringLiteral("&Comments"));
    buildIdentifiersPage();
    buildNomenclaturePage();
    buildReferencesPage();
    buildCommentsPage();
    buildSummaryAndNavigation();
    buildBusyPicture();
    buildMenus();
    SetStandardLayout();
}

void DetailsUi::buildIdentifiersPage()
{
    QWidget* page = picFixIdentifiers;
    auto label = [&](const char* name, const char* caption) {
        auto* created = named(new Label(QLatin1String(caption), page), name);
        m_twips.place(created, LabelLeft, 105, LabelWidth, RowHeight);
        return created;
    };
    auto richText = [&](const char* name) {
        auto* created = named(new RichTextBox(page), name);
        m_twips.place(created, FieldLeft, 105, FieldWidth, RowHeight);
        created->SetMultiLine(false);
        return created;
    };
    lblScientificName = label("lblScientificName", "Scientific Name");
    ctrScientificName = richText("ctrScientificName");
    lblAuthor = label("lblAuthor", "Author");
    ctrAuthor = richText("ctrAuthor");
    lblTranslatedName = label("lblTranslatedName", "Translated Name");
    ctrTranslatedName = richText("ctrTranslatedName");
    lblNameCategory = label("lblNameCategory", "Name Category");
    cboCategory = named(new DataCombo(page), "cboCategory");
    m_twips.place(cboCategory, FieldLeft, 820, 4200, RowHeight);
    lblClassificationLevel = label("lblClassificationLevel", "Classification Level");
    cboClassificationLevel = named(new DataCombo(page), "cboClassificationLevel");
    m_twips.place(cboClassificationLevel, FieldLeft, 1180, 4200, RowHeight);
    chkPlaceholderName = named(new CheckBox(QStringLiteral("Placeholder Name"), page), "chkPlaceholderName");
    m_twips.place(chkPlaceholderName, FieldLeft, 1540, 2400, RowHeight);
    lblAcronym = label("lblAcronym", "Acronym");
    txtAcronym = named(new TextBox(page), "txtAcronym");
    m_twips.place(txtAcronym, FieldLeft, 2490, 2400, RowHeight);
}

void DetailsUi::buildNomenclaturePage()
{
    QWidget* page = picFixNomenclature;
    auto row = [&](const char* labelName, const char* caption, int top, Label*& labelOut) {
        labelOut = named(new Label(QLatin1String(caption), page), labelName);
        m_twips.place(labelOut, LabelLeft, top, LabelWidth, RowHeight);
        labelOut->setWordWrap(true);
    };
    row("lblNomenclaturallyEstablished", "Nomenclaturally Established", 105, lblNomenclaturallyEstablished);
    m_twips.place(lblNomenclaturallyEstablished, LabelLeft, 60, LabelWidth, 420);
    cboNomenclaturallyEst = named(new DataCombo(page), "cboNomenclaturallyEst");
    m_twips.place(cboNomenclaturallyEst, FieldLeft, 105, 4200, RowHeight);
    row("lblEstablishedName", "Nomenclaturally Established Name", 560, lblEstablishedName);
    m_twips.place(lblEstablishedName, LabelLeft, 560, LabelWidth, 420);
    txtEstablishedName = named(new TextBox(page), "txtEstablishedName");
    m_twips.place(txtEstablishedName, FieldLeft, 600, FieldWidth - 1000, RowHeight);
    txtEstablishedName->setReadOnly(true);
    cmdSelectNomenclatureName =
        named(new CommandButton(QStringLiteral("..."), page), "cmdSelectNomenclatureName");
    m_twips.place(cmdSelectNomenclatureName, FieldLeft + FieldWidth - 950, 570, 450, ButtonHeight);
    cmdSelectNomenclatureName->setToolTip(QStringLiteral("Choose the nomenclaturally established name"));
    cmdClearNomenclatureName = named(new CommandButton(page), "cmdClearNomenclatureName");
    m_twips.place(cmdClearNomenclatureName, FieldLeft + FieldWidth - 450, 570, 450, ButtonHeight);
    cmdClearNomenclatureName->setIcon(ThemeIcon(QStringLiteral("edit-clear")));
    cmdClearNomenclatureName->setToolTip(QStringLiteral("No nomenclaturally established name"));
    row("lblEstablishedAuthor", "Nomenclaturally Established Name Author", 980, lblEstablishedAuthor);
    m_twips.place(lblEstablishedAuthor, LabelLeft, 1100, LabelWidth, 640);
    txtEstablishedAuthor = named(new TextBox(page), "txtEstablishedAuthor");
    m_twips.place(txtEstablishedAuthor, FieldLeft, 1160, FieldWidth - 1000, RowHeight);
    txtEstablishedAuthor->setReadOnly(true);
    row("lblRelationship", "Relationship to Established Name", 1400, lblRelationship);
    m_twips.place(lblRelationship, LabelLeft, 1820, LabelWidth, 420);
    txtRelationship = named(new TextBox(page), "txtRelationship");
    m_twips.place(txtRelationship, FieldLeft, 1860, FieldWidth, RowHeight);
}

void DetailsUi::buildReferencesPage()
{
    QWidget* page = picFixReferences;
    fgReferences = named(new FlexGrid(page), "fgReferences");
    m_twips.place(fgReferences, LabelLeft, 105, 10400, 3800);
    fgReferences->SetCols(7);
    fgReferences->SetRows(1);
    fgReferences->SetMultiSelect(true);
    const char* headers[] = {
        "", "Reference Code", "Full Citation", "Primary Reference", "Original Publication", "", ""};
    const int widths[] = {15, 1605, 4800, 1410, 1575, 960, 960};
    for (int col = 0; col < 7; ++col) {
        fgReferences->SetTextMatrix(0, col, QLatin1String(headers[col]));
        fgReferences->SetColWidth(col, widths[col]);
    }
    fgReferences->SetEditable(true);
    // The user orders the references by sorting a column; the display order follows.
    fgReferences->SetUserSort(true);
    fgReferences->SetColCheckBoxes(RefColPrimary, true);
    fgReferences->SetColCheckBoxes(RefColOriginal, true);
    cmdAddReferences = named(new CommandButton(QStringLiteral("..."), page), "cmdAddReferences");
    m_twips.place(cmdAddReferences, 10620, 105, 450, ButtonHeight);
    cmdAddReferences->setToolTip(QStringLiteral("Add references"));
    cmdRemoveReferences = named(new CommandButton(page), "cmdRemoveReferences");
    m_twips.place(cmdRemoveReferences, 10620, 560, 450, ButtonHeight);
    cmdRemoveReferences->setIcon(ThemeIcon(QStringLiteral("list-remove")));
    cmdRemoveReferences->setToolTip(QStringLiteral("Remove the selected references"));
}

void DetailsUi::buildCommentsPage()
{
    QWidget* page = picFixComments;
    lblNameComments = named(new Label(QStringLiteral("Name Comments"), page), "lblNameComments");
    m_twips.place(lblNameComments, LabelLeft, 105, LabelWidth, RowHeight);
    ctrNameComments = named(new RichTextBox(page), "ctrNameComments");
    m_twips.place(ctrNameComments, FieldLeft, 105, FieldWidth, 1800);
    lblNameNotes = named(new Label(QStringLiteral("Internal Notes"), page), "lblNameNotes");
    m_twips.place(lblNameNotes, LabelLeft, 2010, LabelWidth, RowHeight);
    ctrNameNotes = named(new RichTextBox(page), "ctrNameNotes");
    m_twips.place(ctrNameNotes, FieldLeft, 2010, FieldWidth, 1800);
}

void DetailsUi::buildSummaryAndNavigation()
{
    fraSummary = named(new QGroupBox(QStringLiteral("Summary"), m_owner), "fraSummary");
    m_twips.place(fraSummary, 60, 5460, 11370, 1020);
    auto summaryBox = [&](const char* name, int x, int y, int width) {
        auto* created = named(new TextBox(fraSummary), name);
        m_twips.place(created, x, y, width, 316);
        created->setReadOnly(true);
        created->setFocusPolicy(Qt::NoFocus);
        return created;
    };
    lblSummarySciName = named(new Label(QStringLiteral("Scientific Name"), fraSummary), "lblSummarySciName");
    m_twips.place(lblSummarySciName, 120, 290, 1500, 255);
    txtSummarySciName = summaryBox("txtSummarySciName", 1650, 270, 5000);
    lblSummaryAuthor = named(new Label(QStringLiteral("Author"), fraSummary), "lblSummaryAuthor");
    m_twips.place(lblSummaryAuthor, 6800, 290, 700, 255);
    txtSummaryAuthor = summaryBox("txtSummaryAuthor", 7520, 270, 3700);
    lblSummaryNameType = named(new Label(QStringLiteral("Name Type"), fraSummary), "lblSummaryNameType");
    m_twips.place(lblSummaryNameType, 120, 650, 1500, 255);
    txtSummaryNameType = summaryBox("txtSummaryNameType", 1650, 630, 1800);

    auto navButton = [&](const char* name, const char* toolTip, const char* themeName, int x) {
        auto* created = named(new CommandButton(m_owner), name);
        m_twips.place(created, x, 6660, 450, ButtonHeight);
        created->setToolTip(QLatin1String(toolTip));
        created->setIcon(ThemeIcon(QLatin1String(themeName)));
        created->setFocusPolicy(Qt::TabFocus);
        return created;
    };
    cmdNavFirst = navButton("cmdNavFirst", "First Record", "go-first", 60);
    cmdNavPrev = navButton("cmdNavPrev", "Previous Record", "go-previous", 540);
    txtCurrentRecord = named(new TextBox(m_owner), "txtCurrentRecord");
    m_twips.place(txtCurrentRecord, 1050, 6690, 900, RowHeight);
    txtCurrentRecord->setToolTip(QStringLiteral("Record ..."));
    txtCurrentRecord->setAlignment(Qt::AlignRight);
    lblOf = named(new Label(QStringLiteral("of"), m_owner), "lblOf");
    m_twips.place(lblOf, 2010, 6720, 300, 255);
    lblOf->setAlignment(Qt::AlignCenter);
    lblTotalRecords = named(new Label(QStringLiteral("0"), m_owner), "lblTotalRecords");
    m_twips.place(lblTotalRecords, 2370, 6720, 900, 255);
    cmdNavNext = navButton("cmdNavNext", "Next Record", "go-next", 3330);
    cmdNavLast = navButton("cmdNavLast", "Last Record", "go-last", 3810);
}

void DetailsUi::buildBusyPicture()
{
    ilWaitMessages = new ImageList(m_owner);
    ilWaitMessages->setObjectName(QStringLiteral("ilWaitMessages"));
    const std::tuple<const char*, const char*, const char*> messages[] = {
        {"Loading", "document-open", "Loading..."},
        {"Saving", "document-save", "Saving..."},
        {"Deleting", "edit-delete", "Deleting..."},
        {"PleaseWait", "content-loading", "Please wait..."},
        {"Copying", "edit-copy", "Copying..."}};
    for (const auto& [key, themeName, words] : messages)
        ilWaitMessages->Add(QLatin1String(key),
                            waitMessagePicture(QLatin1String(themeName), QLatin1String(words)));

    picActivityWait = named(new PictureBox(m_owner), "picActivityWait");
    m_twips.place(picActivityWait, 3900, 2700, 600, 600);
    picActivityWait->SetPicture(ThemeIcon(QStringLiteral("content-loading")));
    picActivityWait->setAutoFillBackground(true);
    picWaitMessage = named(new PictureBox(m_owner), "picWaitMessage");
    m_twips.place(picWaitMessage, 4500, 2700, 3300, 600);
    picWaitMessage->setAutoFillBackground(true);
    picActivityWait->setVisible(false);
    picWaitMessage->setVisible(false);
}

void DetailsUi::buildMenus()
{
    auto menu = [this](const char* name, const char* caption) {
        auto* created = new QMenu(QLatin1String(caption), m_owner);
        created->setObjectName(QLatin1String(name));
        menus << created;
        return created;
    };
    auto item = [](QMenu* menu, const char* name, const char* caption) {
        auto* created = new MenuItem(QLatin1String(name), QLatin1String(caption), menu);
        menu->addAction(created);
        return created;
    };
    // An entry that opens a submenu: named like any item, so that security finds it.
    auto submenu = [this](QMenu* parent, const char* name, const char* caption, MenuItem*& entry) {
        auto* popup = new QMenu(QLatin1String(caption), m_owner);
        popup->setObjectName(QLatin1String(name) + QStringLiteral("Menu"));
        entry = new MenuItem(QLatin1String(name), QLatin1String(caption), parent);
        entry->setMenu(popup);
        parent->addAction(entry);
        return popup;
    };

    QMenu* file = menu("mnuFile", "&File");
    mnuFileNewMenu = submenu(file, "mnuFileNew", "&New", mnuFileNew);
    mnuFileNewSciNameMenu =
        submenu(mnuFileNewMenu, "mnuFileNewSciName", "&Scientific Name", mnuFileNewSciName);
    mnuFileNewBotanical = item(mnuFileNewSciNameMenu, "mnuFileNewBotanical", "&Botanical...");
    mnuFileNewEcological = item(mnuFileNewSciNameMenu, "mnuFileNewEcological", "&Ecological...");
    mnuFileNewZoological = item(mnuFileNewSciNameMenu, "mnuFileNewZoological", "&Zoological...");
    mnuFileNewEGT = item(mnuFileNewMenu, "mnuFileNewEGT", "&Element Global Tracking (EGT)...");
    mnuFileOpenMenu = submenu(file, "mnuFileOpen", "&Open", mnuFileOpen);
    mnuFileOpenNomenclature =
        item(mnuFileOpenMenu, "mnuFileOpenNomenclature", "&Nomenclaturally Established Name...");
    mnuFileOpenReferences = item(mnuFileOpenMenu, "mnuFileOpenReferences", "R&eferences...");
    mnuFileOpenMenu->addSeparator();
    mnuFileOpenRecordMaintenance =
        item(mnuFileOpenMenu, "mnuFileOpenRecordMaintenance", "&Record Maintenance");
    mnuFileOpenAttributeMaintenance =
        item(mnuFileOpenMenu, "mnuFileOpenAttributeMaintenance", "&Attribute Maintenance");
    mnuFileSave = item(file, "mnuFileSave", "&Save");
    mnuFileSave->setShortcut(QKeySequence::Save);
    mnuFilePrint = item(file, "mnuFilePrint", "&Print...");
    file->addSeparator();
    mnuFileClose = item(file, "mnuFileClose", "&Close");

    QMenu* edit = menu("mnuEdit", "&Edit");
    mnuEditCut = item(edit, "mnuEditCut", "Cu&t");
    mnuEditCopy = item(edit, "mnuEditCopy", "&Copy");
    mnuEditPaste = item(edit, "mnuEditPaste", "&Paste");
    edit->addSeparator();
    mnuEditGotoMenu = submenu(edit, "mnuEditGoto", "&Goto...", mnuEditGoto);
    mnuEditGotoFirstRecord = item(mnuEditGotoMenu, "mnuEditGotoFirstRecord", "&First Record");
    mnuEditGotoLastRecord = item(mnuEditGotoMenu, "mnuEditGotoLastRecord", "&Last Record");
    mnuEditGotoNextRecord = item(mnuEditGotoMenu, "mnuEditGotoNextRecord", "&Next Record");
    mnuEditGotoPreviousRecord = item(mnuEditGotoMenu, "mnuEditGotoPreviousRecord", "&Previous Record");
    mnuEditGotoRecord = item(mnuEditGotoMenu, "mnuEditGotoRecord", "&Record...");
    edit->addSeparator();
    mnuEditDelete = item(edit, "mnuEditDelete", "&Delete");

    QMenu* tools = menu("mnuTools", "&Tools");
    mnuToolsFind = item(tools, "mnuToolsFind", "&Find...");
    mnuToolsCopy = item(tools, "mnuToolsCopy", "&Copy Data From...");
    mnuToolsTextEditor = item(tools, "mnuToolsTextEditor", "&Text Editor...");
    mnuToolsSpellcheck = item(tools, "mnuToolsSpellcheck", "&Spell Check");

    QMenu* help = menu("mnuHelp", "&Help");
    mnuHelpBRYXHelp = item(help, "mnuHelpBRYXHelp", "Sorrel &Help");
    mnuHelpBRYXHelp->setShortcut(Qt::Key_F1);
    // The host's context help answers F1; the shortcut is shown, the key reaches the host.
    mnuHelpBRYXHelp->setShortcutContext(Qt::WidgetShortcut);
    mnuHelpAbout = item(help, "mnuHelpAbout", "&About Sorrel...");
}

void DetailsUi::buildToolbar()
{
    auto* images = new ImageList(m_owner);
    images->setObjectName(QStringLiteral("ilElementName"));
    const std::pair<const char*, const char*> pictures[] = {{"New", "document-new"},
                                                            {"Save", "document-save"},
                                                            {"Open", "document-open"},
                                                            {"Print", "document-print"},
                                                            {"Cut", "edit-cut"},
                                                            {"Copy", "edit-copy"},
                                                            {"Paste", "edit-paste"},
                                                            {"Delete", "edit-delete"},
                                                            {"Goto", "go-jump"},
                                                            {"Find", "edit-find"},
                                                            {"TextEditor", "accessories-text-editor"},
                                                            {"SpellCheck", "tools-check-spelling"},
                                                            {"Help", "help-browser"}};
    for (const auto& [key, themeName] : pictures)
        images->Add(QLatin1String(key), ThemeIcon(QLatin1String(themeName)));

    tbElementName = named(new Toolbar(m_owner), "tbElementName");
    tbElementName->SetImageList(images);
    // Buttons 1 and 3 drop the File > New and File > Open menus down.
    tbElementName->AddButton(QStringLiteral("New"), QStringLiteral("New"));
    tbElementName->AddButton(QStringLiteral("Save"), QStringLiteral("Save"));
    tbElementName->AddButton(QStringLiteral("Open"), QStringLiteral("Open"));
    tbElementName->AddButton(QStringLiteral("Print"), QStringLiteral("Print"));
    tbElementName->AddSeparator();
    tbElementName->AddButton(QStringLiteral("Cut"), QStringLiteral("Cut"));
    tbElementName->AddButton(QStringLiteral("Copy"), QStringLiteral("Copy"));
    tbElementName->AddButton(QStringLiteral("Paste"), QStringLiteral("Paste"));
    tbElementName->AddSeparator();
    tbElementName->AddButton(QStringLiteral("Delete"), QStringLiteral("Delete"));
    tbElementName->AddButton(QStringLiteral("Goto"), QStringLiteral("Goto Record"));
    tbElementName->AddButton(QStringLiteral("Find"), QStringLiteral("Find"));
    tbElementName->AddSeparator();
    tbElementName->AddButton(QStringLiteral("TextEditor"), QStringLiteral("Text Editor"));
    tbElementName->AddButton(QStringLiteral("SpellCheck"), QStringLiteral("Spell Check"));
    tbElementName->AddSeparator();
    tbElementName->AddButton(QStringLiteral("Help"), QStringLiteral("Help"));
    m_twips.place(tbElementName, 0, 0, 11490, 420);
}

void DetailsUi::SetStandardLayout()
{
    m_twips.setTopAndHeight(ctrScientificName, 105, 315);
    ctrScientificName->SetMultiLine(false);
    for (QWidget* widget : {static_cast<QWidget*>(lblAuthor), static_cast<QWidget*>(ctrAuthor)}) {
        m_twips.setTop(widget, 460);
        widget->setVisible(true);
    }
    lblTranslatedName->setVisible(false);
    ctrTranslatedName->setVisible(false);
    m_twips.setTop(lblNameCategory, 820);
    m_twips.place(cboCategory, FieldLeft, 820, 4200, RowHeight);
    m_twips.setTop(lblClassificationLevel, 1180);
    m_twips.place(cboClassificationLevel, FieldLeft, 1180, 4200, RowHeight);
    m_twips.setTop(chkPlaceholderName, 1540);
    lblAcronym->setVisible(false);
    txtAcronym->setVisible(false);
    tabScientificName->SetTabEnabled(1, false);
    fgReferences->SetColHidden(RefColOriginal, false);
    fgReferences->SetColWidth(RefColFullCitation, 5600);
    m_twips.setTopAndHeight(txtSummarySciName, 270, 316);
    for (QWidget* widget :
         {static_cast<QWidget*>(lblSummaryAuthor), static_cast<QWidget*>(txtSummaryAuthor),
          static_cast<QWidget*>(lblSummaryNameType), static_cast<QWidget*>(txtSummaryNameType)})
        widget->setVisible(true);
}

void DetailsUi::SetEcologicalLayout()
{
    m_twips.setTopAndHeight(ctrScientificName, 105, 630);
    ctrScientificName->SetMultiLine(true);
    lblAuthor->setVisible(false);
    ctrAuthor->setVisible(false);
    m_twips.setTop(lblTranslatedName, 770);
    m_twips.setTopAndHeight(ctrTranslatedName, 770, 600);
    ctrTranslatedName->SetMultiLine(true);
    lblTranslatedName->setVisible(true);
    ctrTranslatedName->setVisible(true);
    m_twips.setTop(lblNameCategory, 1435);
    m_twips.place(cboCategory, FieldLeft, 1435, 4200, RowHeight);
    m_twips.setTop(lblClassificationLevel, 1800);
    m_twips.place(cboClassificationLevel, FieldLeft, 1800, 4200, RowHeight);
    m_twips.setTop(chkPlaceholderName, 2180);
    m_twips.setTop(lblAcronym, 2490);
    m_twips.setTop(txtAcronym, 2490);
    lblAcronym->setVisible(true);
    txtAcronym->setVisible(true);
    tabScientificName->SetTabEnabled(1, true);
    fgReferences->SetColHidden(RefColOriginal, true);
    fgReferences->SetColWidth(RefColFullCitation, 7175);
    m_twips.setTopAndHeight(txtSummarySciName, 270, 570);
    for (QWidget* widget :
         {static_cast<QWidget*>(lblSummaryAuthor), static_cast<QWidget*>(txtSummaryAuthor),
          static_cast<QWidget*>(lblSummaryNameType), static_cast<QWidget*>(txtSummaryNameType)})
        widget->setVisible(false);
}

void DetailsUi::ClearFields()
{
    for (RichTextBox* box : {ctrScientificName, ctrAuthor, ctrTranslatedName, ctrNameComments, ctrNameNotes})
        box->clear();
    for (TextBox* box : {txtAcronym, txtRelationship, txtSummarySciName, txtSummaryAuthor, txtSummaryNameType,
                         txtEstablishedName, txtEstablishedAuthor})
        box->setText(QString());
    lblElementNameID->setText(QString());
    lblUniversalKey->setText(QString());
    fgReferences->SetRows(1);
    for (TextBox* box : {txtSummarySciName, txtSummaryAuthor, txtSummaryNameType})
        box->setToolTip(QString());
}

} // namespace bryx
