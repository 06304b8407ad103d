// The top-level window of a loaded form.
#pragma once

#include <QWidget>

namespace vb {

class Form;

class FormWindow : public QWidget {
    Q_OBJECT
public:
    explicit FormWindow(Form* form); // none for a window made ahead, to be kept until a form needs one
    // A window for a form being loaded: one an unloaded form left with the same flags, once its controls are
    // gone, else a new one. The flags are those of the form's window when it was last unloaded: a change of
    // flags can make the window system replace the window.
    static FormWindow* obtain(Form& form, Qt::WindowFlags flags);
    // The window of a form being unloaded: hidden, its controls deleted once their handlers return, and, if
    // it is frameless, kept for the next forms (the two newest are kept).
    static void retire(FormWindow* window);
    // Each window holds its picture, shown or hidden: 24 MB for a screen at 3840 x 2160. Windows are kept
    // and made ready only while all of them together stay within this: there, the deepest a lesson goes
    // (the opening screen, a menu, an activity). The smaller factors never reach it.
    static constexpr qint64 kHeldBytes = qint64(80) << 20;
    static void dropSpares(); // the kept windows go too, once the handler running returns
    // Makes a content window of this size ahead, when none is kept, so that the next screen finds one.
    static void prepareSpare(QSize size);
    void applyDesign(); // window flags, title and icon from the form's design
    void applyIcon();
    // The form's colour or picture changed. A window that shows its colour alone (the backdrop) is filled by
    // the X server from that colour, and holds no picture of its own; any other is painted again.
    void contentChanged();
    bool holdsPicture() const { return !m_filledByDisplay; }
    Form* form() const { return m_form; }
    // The frame the window manager drew, once the window is mapped; none before, or without a window manager.
    QMargins realFrame();
    QPoint framePosition() const; // where its frame is, the real one where known

protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;

private:
    void forward(int kind, QMouseEvent* e);
    QMargins currentFrame() const;
    void checkFrame();
    Form* m_form;
    bool m_filledByDisplay = false;
    QMargins m_usedFrame;
    bool m_framePending = false;
};

} // namespace vb
