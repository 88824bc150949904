#pragma once

#include "controls/TwipsPlacer.h"

#include <QList>

class QGroupBox;
class QMenu;
class QWidget;

namespace bryx {

class CheckBox;
class CommandButton;
class DataCombo;
class FlexGrid;
class ImageList;
class Label;
class MenuItem;
class PictureBox;
class RichTextBox;
class TabControl;
class TextBox;
class Toolbar;
class UserControl;

// The controls and menus of the details editor, laid out in twips on its fixed design size,
// and the two arrangements of the Identifiers page: standard (botanical and zoological names)
// and ecological (community names, with a tall name box, a translated name and an acronym).
// The editor's owner widget owns every control through Qt's parent chain.
class DetailsUi {
public:
    // Reference grid columns.
    static constexpr int RefColReferenceCode = 1;
    static constexpr int RefColFullCitation = 2;
    static constexpr int RefColPrimary = 3;
    static constexpr int RefColOriginal = 4;
    static constexpr int RefColReferenceId = 5;
    static constexpr int RefColLinkId = 6;

    void setupUi(UserControl& owner);

    void SetStandardLayout();
    void SetEcologicalLayout();
    // Empties what the pages show; bindings are the record's business.
    void ClearFields();

    TabControl* tabScientificName = nullptr;
    QWidget* picFixIdentifiers = nullptr;
    QWidget* picFixNomenclature = nullptr;
    QWidget* picFixReferences = nullptr;
    QWidget* picFixComments = nullptr;

    // Identifiers.
    Label* lblScientificName = nullptr;
    RichTextBox* ctrScientificName = nullptr;
    Label* lblAuthor = nullptr;
    RichTextBox* ctrAuthor = nullptr;
    Label* lblTranslatedName = nullptr;
    RichTextBox* ctrTranslatedName = nullptr;
    Label* lblNameCategory = nullptr;
    DataCombo* cboCategory = nullptr;
    Label* lblClassificationLevel = nullptr;
    DataCombo* cboClassificationLevel = nullptr;
    CheckBox* chkPlaceholderName = nullptr;
    Label* lblAcronym = nullptr;
    TextBox* txtAcronym = nullptr;

    // Nomenclature.
    Label* lblNomenclaturallyEstablished = nullptr;
    DataCombo* cboNomenclaturallyEst = nullptr;
    Label* lblEstablishedName = nullptr;
    TextBox* txtEstablishedName = nullptr;
    Label* lblEstablishedAuthor = nullptr;
    TextBox* txtEstablishedAuthor = nullptr;
    CommandButton* cmdSelectNomenclatureName = nullptr;
    CommandButton* cmdClearNomenclatureName = nullptr;
    Label* lblRelationship = nullptr;
    TextBox* txtRelationship = nullptr;

    // References.
    FlexGrid* fgReferences = nullptr;
    CommandButton* cmdAddReferences = nullptr;
    CommandButton* cmdRemoveReferences = nullptr;

    // Comments.
    Label* lblNameComments = nullptr;
    RichTextBox* ctrNameComments = nullptr;
    Label* lblNameNotes = nullptr;
    RichTextBox* ctrNameNotes = nullptr;

    // Summary strip and identification.
    QGroupBox* fraSummary = nullptr;
    Label* lblSummarySciName = nullptr;
    TextBox* txtSummarySciName = nullptr;
    Label* lblSummaryAuthor = nullptr;
    TextBox* txtSummaryAuthor = nullptr;
    Label* lblSummaryNameType = nullptr;
    TextBox* txtSummaryNameType = nullptr;
    Label* lblElementName = nullptr;
    Label* lblElementNameID = nullptr;
    Label* lblUniversal = nullptr;
    Label* lblUniversalKey = nullptr;
    Label* lblNewRecord = nullptr;

    // Navigation strip.
    CommandButton* cmdNavFirst = nullptr;
    CommandButton* cmdNavPrev = nullptr;
    TextBox* txtCurrentRecord = nullptr;
    Label* lblOf = nullptr;
    Label* lblTotalRecords = nullptr;
    CommandButton* cmdNavNext = nullptr;
    CommandButton* cmdNavLast = nullptr;

    // Busy picture.
    PictureBox* picActivityWait = nullptr;
    PictureBox* picWaitMessage = nullptr;
    ImageList* ilWaitMessages = nullptr;

    Toolbar* tbElementName = nullptr;

    QList<QMenu*> menus;
    // Entries with a submenu are menu items too (security reaches them by name); their
    // pop-ups are the ...Menu members.
    QMenu* mnuFileNewMenu = nullptr;
    QMenu* mnuFileNewSciNameMenu = nullptr;
    QMenu* mnuFileOpenMenu = nullptr;
    QMenu* mnuEditGotoMenu = nullptr;
    MenuItem* mnuFileNew = nullptr;
    MenuItem* mnuFileNewSciName = nullptr;
    MenuItem* mnuFileNewBotanical = nullptr;
    MenuItem* mnuFileNewEcological = nullptr;
    MenuItem* mnuFileNewZoological = nullptr;
    MenuItem* mnuFileNewEGT = nullptr;
    MenuItem* mnuFileOpen = nullptr;
    MenuItem* mnuFileOpenNomenclature = nullptr;
    MenuItem* mnuFileOpenReferences = nullptr;
    MenuItem* mnuFileOpenRecordMaintenance = nullptr;
    MenuItem* mnuFileOpenAttributeMaintenance = nullptr;
    MenuItem* mnuFileSave = nullptr;
    MenuItem* mnuFilePrint = nullptr;
    MenuItem* mnuFileClose = nullptr;
    MenuItem* mnuEditCut = nullptr;
    MenuItem* mnuEditCopy = nullptr;
    MenuItem* mnuEditPaste = nullptr;
    MenuItem* mnuEditGoto = nullptr;
    MenuItem* mnuEditGotoFirstRecord = nullptr;
    MenuItem* mnuEditGotoLastRecord = nullptr;
    MenuItem* mnuEditGotoNextRecord = nullptr;
    MenuItem* mnuEditGotoPreviousRecord = nullptr;
    MenuItem* mnuEditGotoRecord = nullptr;
    MenuItem* mnuEditDelete = nullptr;
    MenuItem* mnuToolsFind = nullptr;
    MenuItem* mnuToolsCopy = nullptr;
    MenuItem* mnuToolsTextEditor = nullptr;
    MenuItem* mnuToolsSpellcheck = nullptr;
    MenuItem* mnuHelpBRYXHelp = nullptr;
    MenuItem* mnuHelpAbout = nullptr;

private:
    void buildIdentifiersPage();
    void buildNomenclaturePage();
    void buildReferencesPage();
    void buildCommentsPage();
    void buildSummaryAndNavigation();
    void buildBusyPicture();
    void buildMenus();
    void buildToolbar();

    UserControl* m_owner = nullptr;
    TwipsPlacer m_twips;
};

} // namespace bryx
