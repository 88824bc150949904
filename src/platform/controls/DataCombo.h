#pragma once

#include "ControlProperties.h"

#include <QComboBox>
#include <QVariant>

namespace bryx {

// A combo box bound to a code list: it shows the descriptions and its BoundText is the key of
// the row chosen. A key assigned before the list holds it is shown as it is; assigning the
// shown text to itself afterwards resolves it to its description (text matching a description
// chooses that row, text matching a key chooses that row).
class DataCombo : public QComboBox {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(QString BoundText READ BoundText WRITE SetBoundText NOTIFY Change)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
public:
    explicit DataCombo(QWidget* parent = nullptr);
    QString TypeName() const { return QStringLiteral("DataCombo"); }

    // The code list: (key, description) rows in display order. The bound key is kept.
    void SetList(const QList<std::pair<QString, QString>>& rows);
    void ClearList() { SetList({}); }
    int ListCount() const { return count(); }

    QString BoundText() const;
    void SetBoundText(const QString& key);
    QString Text() const;
    void SetText(const QString& text);

signals:
    // The bound key changed, by the user or by code.
    void Change();
    // The user chose a row.
    void Click();

private:
    void choose(int index, const QString& unresolved);

    QString m_tag;
    QString m_unresolved; // a key shown as it is until the list holds it
};

} // namespace bryx
