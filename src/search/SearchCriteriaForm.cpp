#include "SearchCriteriaForm.h"

#include "SearchSession.h"
#include "SearchUi.h"
#include "common/LookupLists.h"
#include "contracts/AppManager.h"
#include "controls/Controls.h"
#include "error/Error.h"

#include <QSignalBlocker>

namespace bryx {

namespace {

// Name type codes in the order of the name type buttons.
constexpr const char* NameTypeCodes[] = {"P", "A", "C"};

} // namespace

SearchCriteria SearchCriteriaForm::Criteria() const
{
    SearchCriteria criteria;
    criteria.nameTypeIndex = m_ui.optNameType[0]->isChecked() ? 0 : m_ui.optNameType[1]->isChecked() ? 1 : 2;
    criteria.category = m_ui.cboNameCategory->Text();
    criteria.classificationLevel = m_ui.cboClassificationLevel->Text();
    criteria.comparison = m_ui.cboFindNameComparison->ListIndex();
    criteria.nameText = m_ui.txtFindNameSciName->text();
    criteria.idText = m_ui.txtSciNameID->text();
    return criteria;
}

void SearchCriteriaForm::SetNameType(int index)
{
    // Code switching a button on runs its click as the user's click would, but here, so that
    // a failing lookup reaches the trap of the operation that switched it (a saved search
    // opening, defaults loading) instead of the controls' own error report.
    if (m_ui.optNameType[index]->isChecked())
        return;
    {
        const QSignalBlocker quiet(m_ui.optNameType[index]);
        m_ui.optNameType[index]->setChecked(true);
    }
    NameTypeChosen(index);
}

void SearchCriteriaForm::SwitchOnNameType(int index)
{
    // A button already on is clicked explicitly.
    if (m_ui.optNameType[index]->isChecked())
        NameTypeChosen(index);
    else
        SetNameType(index);
}

void SearchCriteriaForm::NameTypeChosen(int index)
{
    m_ui.cboNameCategory->Clear();
    m_ui.cboClassificationLevel->Clear();
    if (index >= 0 && index < int(std::size(NameTypeCodes)) && m_session.objAppManager)
        LoadNameCategories(*m_session.objAppManager, *m_ui.cboNameCategory,
                           QLatin1String(NameTypeCodes[index]));
}

void SearchCriteriaForm::CategoryChosen()
{
    m_ui.cboClassificationLevel->Clear();
    LoadClassificationLevels(*m_session.objAppManager, *m_ui.cboClassificationLevel,
                             m_ui.cboNameCategory->Text());
}

void SearchCriteriaForm::Reset()
{
    m_ui.txtFindNameSciName->clear();
    m_ui.txtSciNameID->clear();
    m_ui.cboNameCategory->Clear();
    m_ui.cboClassificationLevel->Clear();
    SetNameType(0);
    LoadCategoriesOf(0);
    m_ui.cboFindNameComparison->SetListIndex(0);
}

void SearchCriteriaForm::Apply(const SearchStateXml::SavedState& state)
{
    if (state.nameTypeDesc) {
        if (const int index = SearchStateXml::NameTypeIndex(*state.nameTypeDesc); index >= 0)
            SwitchOnNameType(index);
    } else {
        NameTypeChosen(0);
    }
    if (state.category) {
        m_ui.cboNameCategory->SetText(*state.category);
        if (m_ui.cboNameCategory->ListIndex() >= 0)
            CategoryChosen();
    }
    if (state.classificationLevel)
        m_ui.cboClassificationLevel->SetText(*state.classificationLevel);
    if (state.scientificName)
        m_ui.txtFindNameSciName->setText(*state.scientificName);
    if (state.comparison) {
        bool whole = false;
        const int comparison = state.comparison->trimmed().toInt(&whole);
        if (!whole)
            throw Error(
                ErrorNumber::TypeMismatch,
                QStringLiteral("The saved comparison \"%1\" is not a whole number").arg(*state.comparison));
        // A number the list has no entry for raises "Invalid property value".
        m_ui.cboFindNameComparison->SetListIndex(comparison);
    }
    if (state.id)
        m_ui.txtSciNameID->setText(*state.id);
}

void SearchCriteriaForm::LoadCategoriesOf(int index)
{
    LoadNameCategories(*m_session.objAppManager, *m_ui.cboNameCategory, QLatin1String(NameTypeCodes[index]));
}

} // namespace bryx
