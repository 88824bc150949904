#pragma once

class QWidget;

namespace bryx {

// Puts a form's controls where its design says, in twips, converted for the screen the form is
// on: the one way every form here lays out its controls.
class TwipsPlacer {
public:
    explicit TwipsPlacer(const QWidget* form = nullptr)
        : m_form(form)
    {
    }

    void place(QWidget* widget, int x, int y, int width, int height) const;
    // Moves a control up or down, keeping where it stands across.
    void setTop(QWidget* widget, int top) const;
    void setTopAndHeight(QWidget* widget, int top, int height) const;
    int pixels(int twips) const;

private:
    const QWidget* m_form;
};

} // namespace bryx
