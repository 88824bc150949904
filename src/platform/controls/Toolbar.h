#pragma once

#include "ControlProperties.h"

#include <QAction>
#include <QToolBar>

class QMenu;

namespace bryx {

class ImageList;

// One toolbar button, addressed by its key. It is a named action, so a form's controls
// collection (and the host's security pass) reaches it like a menu item.
class ToolbarButton : public QAction {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Key READ Key CONSTANT)
public:
    ToolbarButton(const QString& key, QObject* parent);
    QString TypeName() const { return QStringLiteral("Button"); }
    QString Key() const { return objectName(); }

private:
    QString m_tag;
};

// A toolbar whose buttons are found by key and report clicks by key. A button may carry a
// drop-down menu, shown under it when its arrow is pressed.
class Toolbar : public QToolBar {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
public:
    explicit Toolbar(QWidget* parent = nullptr);
    QString TypeName() const { return QStringLiteral("Toolbar"); }

    // Pictures for the buttons, by the buttons' keys.
    void SetImageList(const ImageList* images) { m_images = images; }
    ToolbarButton* AddButton(const QString& key, const QString& toolTip);
    void AddSeparator() { addSeparator(); }
    // The button with the key (case-insensitive); error 35601 when there is none.
    ToolbarButton* Buttons(const QString& key) const;
    // The button at a 1-based position among the buttons.
    ToolbarButton* Buttons(int index) const;
    int ButtonCount() const { return int(m_buttons.size()); }
    void SetButtonMenu(const QString& key, QMenu* menu);

signals:
    void ButtonClick(const QString& key);

private:
    QString m_tag;
    const ImageList* m_images = nullptr;
    QList<ToolbarButton*> m_buttons; // owned as children
};

} // namespace bryx
