#pragma once

#include <QIcon>
#include <QString>

namespace bryx {

// The host window that contains a component. Sizes are in twips.
class HostWindow {
public:
    virtual ~HostWindow() = default;

    virtual QString Caption() const = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual int Height() const = 0;
    virtual void SetHeight(int twips) = 0;
    // Given to the dialogs a component opens, so that they carry the host window's icon.
    virtual QIcon Icon() const = 0;
    // False before and True after rows are added to the host's main list, so it repaints once.
    virtual void SetMainGridRedraw(bool redraw) = 0;
    virtual void SetFocus() = 0;
};

} // namespace bryx
