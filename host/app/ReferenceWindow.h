#pragma once

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace bryx {
class FlexGrid;
class Recordset;
} // namespace bryx

namespace bryx::host {

class SqlAppManager;

// The host's window for its "REF" view: one reference at a time (its code, its full citation
// and the scientific names that cite it), paged through the list it was opened with.
class ReferenceWindow : public QWidget {
    Q_OBJECT
public:
    ReferenceWindow(std::shared_ptr<SqlAppManager> appManager, std::shared_ptr<Recordset> references,
                    QWidget* parent = nullptr);

    // Shows the reference with that ID when the list holds it; false when it does not.
    bool showReference(int32_t id);
    int32_t shownId() const { return m_shownId; }
    int position() const;

private:
    void showRow(int position);

    std::shared_ptr<SqlAppManager> m_appManager;
    std::shared_ptr<Recordset> m_references;
    std::shared_ptr<Recordset> m_citingNames;
    int32_t m_shownId = 0;
    QLineEdit* m_code;
    QPlainTextEdit* m_citation;
    FlexGrid* m_names;
    QLabel* m_position;
    QPushButton* m_previous;
    QPushButton* m_next;
};

} // namespace bryx::host
