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

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void forward(int kind, QMouseEvent* e);
    Form* m_form;
};

} // namespace vb
