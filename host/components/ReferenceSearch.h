#pragma once

#include "hosting/UserControl.h"

#include <memory>

namespace bryx {
class AppManager;
class Collection;
class CommandButton;
class FlexGrid;
class Label;
class Recordset;
class TextBox;
} // namespace bryx

namespace bryx::host {

// The application's reference search (BRYX_Reference.ReferenceSearch), run in the modal search
// dialog: references found by their code and by words of their citation, several chosen at
// once, and handed back as rows of the recordset the caller passed in.
class ReferenceSearch : public UserControl {
    Q_OBJECT
public:
    static constexpr const char* ProgId = "BRYX_Reference.ReferenceSearch";
    static void registerClass();

    explicit ReferenceSearch(QWidget* parent = nullptr);

    Q_INVOKABLE QVariant InitModalSearch(std::shared_ptr<bryx::AppManager> objAppManager,
                                         std::shared_ptr<bryx::Recordset>& rsTemp, QString ExtraInfo);
    Q_INVOKABLE void UseSelectedRecordset(bool blnUseRecordset) { m_useRecordset = blnUseRecordset; }
    Q_INVOKABLE void SetSelectedItems(std::shared_ptr<bryx::Collection>& colSelectedItems);
    Q_INVOKABLE void SetSingleSelect();
    Q_INVOKABLE bool CanClose() { return true; }

    // How the engine indexes the texts searched: SQLite through its full-text table of trigrams,
    // PostgreSQL through trigram indexes on the upper-case columns.
    enum class TextIndex { FullTextTable, TrigramIndexes };

    // The statement for the criteria typed: the code and each word of the citation found anywhere
    // in their column, case ignored, quotes doubled.
    static QString SearchSQL(const QString& code, const QString& citationWords, TextIndex index);

signals:
    void Quit();

private:
    void findNow();
    void ok();

    std::shared_ptr<AppManager> m_appManager;
    std::shared_ptr<Recordset> m_chosen;
    std::shared_ptr<Recordset> m_results;
    std::shared_ptr<Collection> m_selectedItems;
    bool m_useRecordset = false;
    TextBox* m_txtCode;
    TextBox* m_txtCitation;
    FlexGrid* m_fgResults;
    Label* m_lblFound;
    CommandButton* m_cmdFind;
    CommandButton* m_cmdOk;
    CommandButton* m_cmdCancel;
};

} // namespace bryx::host
