#include "DataCombo.h"

#include "hosting/ErrorReport.h"

namespace bryx {

DataCombo::DataCombo(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this] {
        m_unresolved.clear();
        setPlaceholderText({});
        runHandler("Click", [this] { emit Click(); });
    });
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (currentIndex() >= 0)
            runHandler("Change", [this] { emit Change(); });
    });
}

void DataCombo::SetList(const QList<std::pair<QString, QString>>& rows)
{
    const QString key = BoundText();
    {
        const QSignalBlocker quiet(this);
        clear();
        for (const auto& [rowKey, description] : rows)
            addItem(description, rowKey);
    }
    // The bound key survives a refill: shown by description when the new list has it.
    const int index = findData(key);
    if (index >= 0 && !key.isEmpty()) {
        const QSignalBlocker quiet(this);
        choose(index, {});
    } else {
        const QSignalBlocker quiet(this);
        choose(-1, key);
    }
}

QString DataCombo::BoundText() const
{
    return currentIndex() >= 0 ? currentData().toString() : m_unresolved;
}

void DataCombo::SetBoundText(const QString& key)
{
    const QString before = BoundText();
    const int index = key.isEmpty() ? -1 : findData(key);
    {
        const QSignalBlocker quiet(this);
        choose(index, index < 0 ? key : QString());
    }
    if (BoundText() != before)
        runHandler("Change", [this] { emit Change(); });
}

QString DataCombo::Text() const
{
    return currentIndex() >= 0 ? currentText() : m_unresolved;
}

void DataCombo::SetText(const QString& text)
{
    int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 && !text.isEmpty())
        index = findData(text);
    if (index >= 0)
        SetBoundText(itemData(index).toString());
    else
        SetBoundText(text);
}

void DataCombo::choose(int index, const QString& unresolved)
{
    m_unresolved = unresolved;
    // An unresolved key is shown in place of a chosen item, so what is bound stays visible.
    // The placeholder goes first: clearing it makes the combo choose its first item.
    setPlaceholderText(unresolved);
    setCurrentIndex(index);
}

} // namespace bryx
