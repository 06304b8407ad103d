// The base of every control on a form: twip geometry, colours, font, pointer and mouse events.
#pragma once

#include "basics.h"
#include "fonts.h"
#include "picture.h"

#include <QPointer>

class QPainter;
#include <QWidget>

#include <functional>

namespace vb {

class Form;

// Mouse button bits and shift bits as handlers receive them.
enum : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };
// MousePointer values.
enum : int { vbDefault = 0, vbHourglass = 11, vbCustom = 99 };

// Handlers are kept per control name, so every element of a control array shares them and receives its index.
struct Handlers {
    std::function<void(int)> click;
    std::function<void(int)> dropDown;
    std::function<void(int, int, int, Single, Single)> mouseDown, mouseMove, mouseUp;
};

class Control : public QWidget {
    Q_OBJECT
public:
    Control(Form& form, QWidget* container, const QString& name, int index);
    ~Control() override;

    const QString& Name() const { return m_name; }
    int Index() const { return m_index; } // -1 for a control that is not in an array

    Single Left() const { return m_left; }
    Single Top() const { return m_top; }
    Single Width() const { return m_width; }
    Single Height() const { return m_height; }
    virtual void setLeft(Single v);
    virtual void setTop(Single v);
    virtual void setWidth(Single v);
    virtual void setHeight(Single v);
    void Move(Single left, Single top, Single width, Single height);
    void ZOrder(int position = 0); // 0 in front of the other controls of its container, 1 behind them

    bool Visible() const { return !isHidden(); }

    OleColor BackColor() const { return m_backColor; }
    virtual void setBackColor(OleColor c);
    OleColor ForeColor() const { return m_foreColor; }
    virtual void setForeColor(OleColor c);

    const FontDesc& Font() const { return m_font; }
    void setFontDesc(const FontDesc& f);

    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);
    const Picture& MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const Picture& icon);

    // A hidden copy of this control as a new element of its array.
    virtual Control* copyAsElement(int index) const = 0;

    // The widget that takes the pointer's shape (a composite control may hand it to its inner widget).
    virtual QWidget* pointerWidget() { return this; }

    // The place in the form's keyboard order; controls that take the focus are visited in this order.
    int TabIndex() const { return m_tabIndex; }
    void setTabIndex(int index);
    // Where Tab stops for it: the control, or the inner widget it hands the focus to (a list's box); null
    // when the keyboard passes it by.
    QWidget* tabStop();

    // What a screen reader says of the control: its accessible name where the screen gave one (what a
    // picture shows), else its caption.
    virtual QString caption() const { return {}; }
    QString spokenName() const;
    bool reactsToClick() const { return bool(handlers().click); }
    void press(); // as a click: Space or Enter on a focused button, or a screen reader's press

protected:
    virtual void copyFrom(const Control& src);
    virtual void fontChanged() { update(); }
    void updatePixelGeometry();
    void applyPointer();
    bool stale() const; // the control belongs to a form that was unloaded since
    Handlers& handlers() const;

    template <class T> T* makeCopy(int index) const {
        auto* c = new T(m_form, parentWidget(), m_name, index);
        static_cast<Control*>(c)->copyFrom(*this);
        c->hide();
        return c;
    }

    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    virtual void beforeClick() {} // a check box changes its value before its Click runs
    // Only while the keyboard is in use.
    void drawFocusMark(QPainter& p, const QRect& r, const QColor& colour = Qt::black) const;

private:
    Form& m_form;
    QString m_name;
    int m_index;
    quint64 m_generation;
    Single m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    OleColor m_backColor = RGB(192, 192, 192);
    OleColor m_foreColor = RGB(0, 0, 0);
    FontDesc m_font;
    int m_mousePointer = vbDefault;
    Picture m_mouseIcon;
    bool m_pressedInside = false;
    int m_tabIndex;
};

int buttonBits(Qt::MouseButtons b);
int shiftBits(Qt::KeyboardModifiers m);

} // namespace vb
