#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace bryx::host {

class DuplicateGroupsModel;
class SqlAppManager;

// Tools > Find Duplicate Names: the groups one rule finds, with what a curator weighs to choose
// the name to keep; opens any of them in a details window and merges a group into the chosen
// name after showing what the merge will do.
class DuplicateNamesWindow : public QWidget {
    Q_OBJECT
public:
    struct Callbacks {
        std::function<void(int32_t id)> openName;
        // After a merge: the names that are gone and the one that kept them.
        std::function<void(const std::vector<int32_t>& merged, int32_t kept)> merged;
    };
    DuplicateNamesWindow(std::shared_ptr<SqlAppManager> appManager, Callbacks callbacks,
                         QWidget* parent = nullptr);
    ~DuplicateNamesWindow() override;

    void find();
    DuplicateGroupsModel& groups() const { return *m_model; }
    QTableView& view() const { return *m_view; }

private:
    // The summary line: how many groups and names the list holds, and how it came to.
    void showCounts(const QString& how);
    void openSelected();
    void mergeIntoSelected();
    void updateButtons();
    int selectedRow() const;

    std::shared_ptr<SqlAppManager> m_appManager;
    Callbacks m_callbacks;
    DuplicateGroupsModel* m_model;
    QComboBox* m_mode;
    QComboBox* m_type;
    QTableView* m_view;
    QLabel* m_summary;
    QPushButton* m_open;
    QPushButton* m_merge;
};

} // namespace bryx::host
