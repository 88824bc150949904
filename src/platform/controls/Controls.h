#pragma once

#include "ControlProperties.h"
#include "ListSink.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace bryx {

// Desktop controls on Qt widgets with the names and behaviour form code expects. Each carries
// a Tag and answers its TypeName; Enabled and Visible are properties so a host's security pass
// can set them by name.

// The character codes a key-press handler sees for keys that type no character of their own.
namespace KeyAscii {
inline constexpr int Discard = 0; // a handler sets this to swallow the key
inline constexpr int Backspace = 8;
inline constexpr int Enter = 13;
} // namespace KeyAscii

// A text box whose key presses can be filtered: KeyPress hands the key code by reference and
// a handler sets it to KeyAscii::Discard to drop the key. Enter arrives as KeyAscii::Enter
// whatever the text, so a handler sees it for input no validator would accept. Pasted text is
// not filtered.
class TextBox : public QLineEdit {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ text WRITE setText NOTIFY Change)
public:
    explicit TextBox(QWidget* parent = nullptr);
    QString TypeName() const { return QStringLiteral("TextBox"); }
    // A number box: typing or pasting anything but digits leaves the text as it was and shows
    // `why` beside the box. Code may still set any text.
    void SetDigitsOnly(const QString& why);
signals:
    void KeyPress(int& keyAscii);
    // The text changed, by typing, pasting or code.
    void Change();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_tag;
};

// A combo box addressed by list index (-1: nothing chosen) and text.
class ComboBox : public QComboBox, public ListSink {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int ListIndex READ ListIndex WRITE SetListIndex)
public:
    explicit ComboBox(QWidget* parent = nullptr);
    QString TypeName() const { return QStringLiteral("ComboBox"); }

    int ListIndex() const { return currentIndex(); }
    // -1 chooses nothing; an index outside the list raises "Invalid property value" (380).
    void SetListIndex(int index);
    QString Text() const { return currentIndex() < 0 ? QString() : currentText(); }
    // Chooses the first item with exactly this text; nothing when there is none.
    void SetText(const QString& text)
    {
        setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    int ListCount() const { return count(); }
    QString List(int index) const { return itemText(index); }
    void Clear() override;
    void AddItem(const QString& item) override;

signals:
    // The user chose an item (not raised when code fills or clears the list).
    void Click();

private:
    QString m_tag;
    bool m_filling = false;
};

class Label : public QLabel {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ text WRITE setText)
public:
    using QLabel::QLabel;
    QString TypeName() const { return QStringLiteral("Label"); }

private:
    QString m_tag;
};

// A check box whose Value is 1 checked, 0 unchecked.
class CheckBox : public QCheckBox {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(int Value READ Value WRITE SetValue)
public:
    using QCheckBox::QCheckBox;
    QString TypeName() const { return QStringLiteral("CheckBox"); }
    int Value() const { return isChecked() ? 1 : 0; }
    void SetValue(int value) { setChecked(value != 0); }

private:
    QString m_tag;
};

// One button of an option group: exactly one of a group is on (Qt's auto-exclusivity among
// siblings); Index is its place in the control array.
class OptionButton : public QRadioButton {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(bool Value READ isChecked WRITE setChecked)
    Q_PROPERTY(int Index MEMBER m_index)
public:
    OptionButton(const QString& caption, int index, QWidget* parent = nullptr);
    QString TypeName() const { return QStringLiteral("OptionButton"); }
    int index() const { return m_index; }
signals:
    // The user (or code) switched this button on.
    void Click(int index);

private:
    QString m_tag;
    int m_index;
};

// A command button; the Default one answers Enter, the Cancel one Escape.
class CommandButton : public QPushButton {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ text WRITE setText)
public:
    using QPushButton::QPushButton;
    QString TypeName() const { return QStringLiteral("CommandButton"); }
    void SetCancel(bool cancel) { m_cancel = cancel; }
    bool Cancel() const { return m_cancel; }

private:
    QString m_tag;
    bool m_cancel = false;
};

// A list box addressed by list index (-1: nothing chosen).
class ListBox : public QListWidget, public ListSink {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(int ListIndex READ ListIndex WRITE SetListIndex)
    Q_PROPERTY(QString Text READ Text)
public:
    explicit ListBox(QWidget* parent = nullptr);
    QString TypeName() const { return QStringLiteral("ListBox"); }
    int ListIndex() const { return currentRow(); }
    void SetListIndex(int index);
    QString Text() const { return currentRow() < 0 ? QString() : currentItem()->text(); }
    int ListCount() const { return count(); }
    QString List(int index) const { return item(index) ? item(index)->text() : QString(); }
    void Clear() override { clear(); }
    void AddItem(const QString& text) override { addItem(text); }
signals:
    // The user clicked an item, or code chose one; DblClick after a double-click.
    void Click();
    void DblClick();

private:
    QString m_tag;
};

// A tab control whose pages can be made unavailable; Click tells the page that was left.
class TabControl : public QTabWidget {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(int Tab READ Tab WRITE SetTab)
public:
    explicit TabControl(QWidget* parent = nullptr);
    QString TypeName() const { return QStringLiteral("SSTab"); }
    int Tab() const { return currentIndex(); }
    void SetTab(int tab) { setCurrentIndex(tab); }
    bool TabEnabled(int tab) const { return isTabEnabled(tab); }
    void SetTabEnabled(int tab, bool enabled) { setTabEnabled(tab, enabled); }
    QString TabCaption(int tab) const { return tabText(tab); }
signals:
    void Click(int previousTab);

private:
    QString m_tag;
    int m_shown = -1;
};

// A menu item by name: caption with "&" accelerators, Enabled, Visible, Checked.
class MenuItem : public QAction {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(bool Checked READ isChecked WRITE setChecked)
public:
    MenuItem(const QString& name, const QString& caption, QObject* parent);
    QString TypeName() const { return QStringLiteral("Menu"); }

private:
    QString m_tag;
};

} // namespace bryx
