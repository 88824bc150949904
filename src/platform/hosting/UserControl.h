#pragma once

#include <QWidget>
#include <atomic>

class QMenu;

namespace bryx {

// Base of every visual component a host places in its windows. Sizes are in twips; the count
// of live components tells a library whether it may be unloaded.
class UserControl : public QWidget {
    Q_OBJECT
public:
    explicit UserControl(QWidget* parent = nullptr);
    ~UserControl() override;

    int widthTwips() const;
    int heightTwips() const;
    void setSizeTwips(int widthTwips, int heightTwips);
    // Pops a menu up at a point given in twips from the component's top left corner.
    void PopupMenu(QMenu& menu, int xTwips, int yTwips);

    // Every named control of the component (menu items and toolbar buttons included), for the
    // host's security pass.
    virtual QList<QObject*> controlsCollection() const;
    // The component's top-level menus, which its container shows in its own menu bar (the
    // menus stay the component's: they go away with it).
    virtual QList<QMenu*> Menus() const { return {}; }

    static int liveCount() noexcept { return s_live.load(); }

protected:
    // Enter that no control used presses the component's default button, as in a dialog,
    // whatever window the host puts the component in.
    void keyPressEvent(QKeyEvent* event) override;

private:
    static std::atomic<int> s_live;
};

} // namespace bryx
