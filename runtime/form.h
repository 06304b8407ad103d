// A form: one screen of the program. The object lives for the whole run and keeps its variables; its window
// and controls exist only while it is loaded, and are built afresh from their design values on every load.
#pragma once

#include "controls.h"
#include "surface.h"

#include <QHash>
#include <QMap>
#include <QPointer>

#include <type_traits>

namespace vb {

class FormWindow;

enum : int { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };
enum : int { vbTwips = 1, vbPixels = 3 };

class Form {
public:
    explicit Form(const QString& name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const QString& Name() const { return m_name; }

    // Lifecycle.
    void Load(); // creates the window and controls and runs Form_Load, unless already loaded
    void Show(); // modeless; loads first when needed
    void Hide();
    void Unload(); // safe inside the form's own handlers: the window goes away once the handler returns
    // Designs the form out of sight and paints its controls where nobody sees them, then lets them go, as if
    // it had never been loaded: the fonts, glyphs and text layouts its first visit needs are then ready. No
    // handler runs. Nothing happens to a loaded form.
    void rehearse();
    bool isLoaded() const { return m_loaded; }
    quint64 generation() const { return m_generation; }

    // Window properties, in twips. For a decorated window Width and Height are the outer size.
    Single Left() const { return m_left; }
    Single Top() const { return m_top; }
    Single Width() const { return m_width; }
    Single Height() const { return m_height; }
    void setLeft(Single v);
    void setTop(Single v);
    void setWidth(Single v);
    void setHeight(Single v);
    Single ScaleWidth() const; // the client area
    Single ScaleHeight() const;
    void setClientSize(Single width, Single height);

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor c);
    const vb::Picture& Picture() const { return m_picture; }
    void setPicture(const vb::Picture& p);
    const vb::Picture& Icon() const { return m_icon; }
    void setIcon(const vb::Picture& p);
    const QString& Caption() const { return m_caption; }
    void setCaption(const QString& c);
    void setScaleMode(int mode);
    int WindowState() const { return m_windowState; }
    void setWindowState(int state);
    bool Decorated() const { return m_decorated; }
    bool ManyPointers() const { return m_manyPointers; }
    QWidget* hWnd() const; // the window, while loaded

    // Drawing on the form. Ink is kept as pixels, so it survives the window being covered; the form draws it
    // again in Form_Paint when a new factor needs it sharp. Every pointer has a current point of its own: a
    // handler sees the one of the pointer it runs for.
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor c) { m_foreColor = c; }
    int DrawWidth() const { return m_drawWidth; }
    void setDrawWidth(int w);
    Single CurrentX() const { return m_currentX; }
    Single CurrentY() const { return m_currentY; }
    void setCurrentX(Single x) { m_currentX = x; }
    void setCurrentY(Single y) { m_currentY = y; }
    void Line(Single x1, Single y1, Single x2, Single y2); // ends at (x2, y2), the new current point
    void Cls();
    const QImage& ink() const { return m_surface.image(); }

    // Controls by name; an element of an array by name and index (-1 for a plain control).
    Control* findControl(const QString& name, int index = -1) const;
    QList<Control*> controls() const;
    int controlCount() const;
    Handlers& handlers(const QString& name);

    // Keeps the window in front of the program's other windows (and others' where the system allows).
    bool StaysOnTop() const { return m_stayOnTop; }
    void setStaysOnTop(bool on);
    // Keeps the window behind every other window of the program (the desktop backdrop).
    bool StaysAtBottom() const { return m_stayAtBottom; }
    void setStaysAtBottom(bool on);

    // Used by controls and the window.
    void registerControl(Control* c);
    void unregisterControl(Control* c);
    void dispatchMouse(int kind, int button, int shift, Single x, Single y);
    void applyTabOrder(); // the controls that take the focus, chained by TabIndex
    // A titled window moved (by hand, perhaps): it is placed from there after a change of display.
    void noteMove();
    // After the display changed: the window placed again for the display as it is, and its pictures and ink
    // drawn at the new factor.
    void refit();
    virtual void closeRequested() {} // the window manager's close button; screens decide what it means

protected:
    // Sets the design values of the window and creates the controls.
    virtual void Design() = 0;
    virtual void Form_Load() {}
    virtual void Form_MouseDown(int /*Button*/, int /*Shift*/, Single /*X*/, Single /*Y*/) {}
    virtual void Form_MouseMove(int /*Button*/, int /*Shift*/, Single /*X*/, Single /*Y*/) {}
    virtual void Form_MouseUp(int /*Button*/, int /*Shift*/, Single /*X*/, Single /*Y*/) {}
    // The ink is to be drawn again (on an emptied surface, at the window's new factor): a form that draws
    // keeps what it drew and draws it here.
    virtual void Form_Paint() {}
    // The form is being unloaded, by its screen or by End (Runtime::ended() tells which, and exitCode()
    // whether End came from an error report). Runs even after End, so it raises no runtime error.
    virtual void Form_Unload() {}

    // For Design: a decorated window has a title bar and frame; a content screen has neither.
    void setDecorated(bool on) { m_decorated = on; }
    // For Design: every finger on the screen is a pointer of its own; elsewhere only the first one counts.
    void setManyPointers(bool on) { m_manyPointers = on; }

    // Creates a control at its design place. `container` is a Frame to place it in, or none for the form.
    template <class T>
    T& add(const QString& name, int index, Single left, Single top, Single width, Single height,
           Control* container = nullptr) {
        static_assert(std::is_base_of_v<Control, T>);
        auto* c = new T(*this, container ? static_cast<QWidget*>(container) : clientWidget(), name, index);
        c->Move(left, top, width, height);
        return *c;
    }
    template <class T>
    T& add(const QString& name, Single left, Single top, Single width, Single height,
           Control* container = nullptr) {
        return add<T>(name, -1, left, top, width, height, container);
    }

private:
    friend class FormWindow;
    friend class Runtime;
    QWidget* clientWidget() const;
    void applyWindowGeometry();
    void designDefaults();
    void destroyWindow();
    void checkSizable() const;
    void redrawAtFactor();
    // Calls visit(picture, give) for every picture the form shows; give(other) puts another in its place.
    template <class Visit> void eachPicture(Visit&& visit);
    QList<vb::Picture> pictures();

    QString m_name;
    bool m_loaded = false;
    quint64 m_generation = 1;
    QPointer<FormWindow> m_window;
    Qt::WindowFlags m_windowFlags; // its window's when it was last unloaded: a kept window must match them
    QHash<QString, QMap<int, Control*>> m_controls;
    QHash<QString, Handlers> m_handlers;

    bool m_decorated = false;
    Single m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    QSizeF m_placedFor; // the display's size in twips and its corner when Left and Top were last set
    QPoint m_placedAt;
    QPoint m_movedTo;   // where a titled window was last put
    int m_putBacks = 0; // how often a screen moved by the window manager may yet be put back
    OleColor m_backColor = RGB(192, 192, 192);
    vb::Picture m_picture, m_icon;
    QString m_caption;
    int m_scaleMode = vbTwips;
    int m_windowState = vbNormal;
    bool m_stayOnTop = false;
    bool m_stayAtBottom = false;
    bool m_manyPointers = false;

    OleColor m_foreColor = RGB(0, 0, 0);
    int m_drawWidth = 1;
    Single m_currentX = 0, m_currentY = 0;
    int m_pointer = 0;                   // whose current point m_currentX and m_currentY are; -1 nobody's
    QHash<int, QPointF> m_pointerPlaces; // the others', while they are down
    Surface m_surface;
    void drawInkAgain();
};

// The nominal frame of a decorated window (title bar and borders), so Width and Height mean the same outer
// size on every desktop: 6 pixels across and 32 pixels down.
inline constexpr Single kFrameExtraWidth = 90;
inline constexpr Single kFrameExtraHeight = 480;

namespace detail {
template <class F> void bindClick(Handlers& h, F f) {
    if constexpr (std::is_invocable_v<F, int>)
        h.click = std::move(f);
    else
        h.click = [f = std::move(f)](int) { f(); };
}
template <class F> std::function<void(int, int, int, Single, Single)> mouse(F f) {
    if constexpr (std::is_invocable_v<F, int, int, int, Single, Single>)
        return f;
    else
        return [f = std::move(f)](int, int b, int s, Single x, Single y) { f(b, s, x, y); };
}
} // namespace detail

// Handle to a plain control of a form. Touching it loads the form first, as referring to a control of an
// unloaded form does; the pointer is looked up again after every load.
template <class T> class Ctl {
public:
    Ctl(Form* form, const char* name) : m_form(form), m_name(QString::fromLatin1(name)) {}
    T* operator->() const { return &get(); }
    T& operator*() const { return get(); }
    T& get() const {
        if (!m_form->isLoaded()) m_form->Load();
        if (m_gen != m_form->generation() || !m_cache) {
            Control* c = m_form->findControl(m_name);
            if (!c)
                throw RuntimeError(err::ControlArrayElementMissing,
                                   QStringLiteral("Control '%1' doesn't exist").arg(m_name));
            m_cache = static_cast<T*>(c);
            m_gen = m_form->generation();
        }
        return *m_cache;
    }
    const QString& name() const { return m_name; }
    template <class F> void onClick(F f) { detail::bindClick(m_form->handlers(m_name), std::move(f)); }
    template <class F> void onMouseDown(F f) {
        m_form->handlers(m_name).mouseDown = detail::mouse(std::move(f));
    }
    template <class F> void onMouseMove(F f) {
        m_form->handlers(m_name).mouseMove = detail::mouse(std::move(f));
    }
    template <class F> void onMouseUp(F f) { m_form->handlers(m_name).mouseUp = detail::mouse(std::move(f)); }
    template <class F> void onDropDown(F f) {
        if constexpr (std::is_invocable_v<F, int>)
            m_form->handlers(m_name).dropDown = std::move(f);
        else
            m_form->handlers(m_name).dropDown = [f = std::move(f)](int) { f(); };
    }

private:
    Form* m_form;
    QString m_name;
    mutable T* m_cache = nullptr;
    mutable quint64 m_gen = 0;
};

// Handle to a control array: elements share the name and the handlers, and are told apart by index.
template <class T> class Arr {
public:
    Arr(Form* form, const char* name) : m_form(form), m_name(QString::fromLatin1(name)) {}
    T& operator()(int index) const {
        if (!m_form->isLoaded()) m_form->Load();
        Control* c = m_form->findControl(m_name, index);
        if (!c)
            throw RuntimeError(err::ControlArrayElementMissing,
                               QStringLiteral("Control array element '%1' doesn't exist").arg(index));
        return *static_cast<T*>(c);
    }
    bool exists(int index) const { return m_form->isLoaded() && m_form->findControl(m_name, index); }
    // Creates element `index` at run time as a hidden copy of element 0.
    T& Load(int index) {
        T& first = (*this)(0);
        if (m_form->findControl(m_name, index))
            throw RuntimeError(360, QStringLiteral("Object already loaded"));
        return *static_cast<T*>(first.copyAsElement(index));
    }
    const QString& name() const { return m_name; }
    template <class F> void onClick(F f) { detail::bindClick(m_form->handlers(m_name), std::move(f)); }
    template <class F> void onMouseDown(F f) {
        m_form->handlers(m_name).mouseDown = detail::mouse(std::move(f));
    }
    template <class F> void onMouseMove(F f) {
        m_form->handlers(m_name).mouseMove = detail::mouse(std::move(f));
    }
    template <class F> void onMouseUp(F f) { m_form->handlers(m_name).mouseUp = detail::mouse(std::move(f)); }

private:
    Form* m_form;
    QString m_name;
};

} // namespace vb
