// The top-level window of a loaded form.
#pragma once

#include <QWidget>

namespace vb {

class Form;

class FormWindow : public QWidget {
    Q_OBJECT
public:
    explicit FormWindow(Form& form);
    void applyDesign(); // window flags, title and icon from the form's design
    void applyIcon();
    void detach() { m_form = nullptr; } // the form was unloaded; the window only waits to be deleted
    Form* form() const { return m_form; }
    // The frame the window manager drew, once the window is mapped; none before, or without a window manager.
    QMargins realFrame();
    QPoint framePosition() const; // where its frame is, the real one where known

protected:
    void paintEvent(QPaintEvent*) override;
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
    QMargins m_usedFrame;
    bool m_framePending = false;
};

} // namespace vb
