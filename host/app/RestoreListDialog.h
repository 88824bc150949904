#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace bryx::host {

// A list of past changes with Restore and Close: the frame of Name History and of Recently
// Deleted Names. The subclass fills the rows and restores the chosen one.
class RestoreListDialog : public QDialog {
    Q_OBJECT
public:
    QTableWidget& table() const { return *m_table; }
    QPushButton& restoreButton() const { return *m_restore; }

protected:
    RestoreListDialog(const QString& title, const QStringList& columns, bool mayRestore, QWidget* parent);
    // Fills the table anew.
    virtual void reload() = 0;
    // Restores the row's change; answers what was done, for the user. Throws bryx::Error
    // when it is refused.
    virtual QString restoreRow(int row) = 0;
    // Whether the row's change is one Restore takes back.
    virtual bool restorable(int row) const = 0;
    void setNote(const QString& text);
    // Fills one row; a text too long for its cell reads whole in its tool tip.
    void setRow(int row, const QStringList& values);
    // Called after a restore the user was told about.
    std::function<void()> m_afterRestore;

private:
    void restoreSelected();
    void updateButton();

    QTableWidget* m_table;
    QLabel* m_note;
    QPushButton* m_restore;
    bool m_mayRestore;
};

} // namespace bryx::host
