#pragma once

#include <QList>

class QMenu;

namespace bryx {

class ComboBox;
class CommandButton;
class FlexGrid;
class Label;
class MenuItem;
class OptionButton;
class TabControl;
class TextBox;
class Toolbar;
class UserControl;

// The search panel's controls, menus and toolbar, laid out in twips on its fixed design size,
// and the order Tab walks them in. The panel owns every control through Qt's parent chain.
class SearchUi {
public:
    // Builds everything on `panel`, whose design width the toolbar spans.
    void setupUi(UserControl& panel, int panelWidth);

    TabControl* tabFindName = nullptr;
    OptionButton* optNameType[3] = {};
    ComboBox* cboNameCategory = nullptr;
    ComboBox* cboClassificationLevel = nullptr;
    ComboBox* cboFindNameComparison = nullptr;
    TextBox* txtFindNameSciName = nullptr;
    TextBox* txtSciNameID = nullptr;
    FlexGrid* fgSearchResults = nullptr;
    Label* lblRecordsReturned = nullptr;
    CommandButton* cmdStartSearch = nullptr;
    CommandButton* cmdDetails = nullptr;
    CommandButton* cmdNew = nullptr;
    CommandButton* cmdSelectAll = nullptr;
    CommandButton* cmdDeselectAll = nullptr;
    CommandButton* cmdAddToList = nullptr;
    CommandButton* cmdReplaceList = nullptr;
    CommandButton* cmdOk = nullptr;
    CommandButton* cmdCancel = nullptr;
    Toolbar* tbFindSciName = nullptr;
    QList<QMenu*> menus;
    MenuItem* mnuFileNew = nullptr;
    MenuItem* mnuFileOpenSearch = nullptr;
    MenuItem* mnuFileSaveSearch = nullptr;
    MenuItem* mnuFileSaveSearchAs = nullptr;
    MenuItem* mnuFileDeleteSearch = nullptr;
    MenuItem* mnuFileClose = nullptr;
    MenuItem* mnuEditCut = nullptr;
    MenuItem* mnuEditCopy = nullptr;
    MenuItem* mnuEditPaste = nullptr;
    MenuItem* mnuOptionsSaveDefault = nullptr;
    MenuItem* mnuOptionsViewSQL = nullptr;
    MenuItem* mnuHelpBRYXHelp = nullptr;
    MenuItem* mnuHelpAbout = nullptr;
    MenuItem* mnuNewPlant = nullptr;
    MenuItem* mnuNewAnimal = nullptr;
    MenuItem* mnuNewCommunity = nullptr;

private:
    void buildControls(UserControl& panel);
    void buildMenus(UserControl& panel);
    void buildToolbar(UserControl& panel, int panelWidth);
    // Tab walks the criteria in reading order, then Find Now, the result list and the buttons.
    void setTabOrder();
};

} // namespace bryx
