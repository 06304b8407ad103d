// The controls the screens are built from.
#pragma once

#include "control.h"

#include <QComboBox>
#include <QTextLayout>

#include <memory>

namespace vb {

enum : int { vbTransparent = 0, vbOpaque = 1 };
enum : int { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };
enum : int { vbBSNone = 0, vbFixedSingle = 1 };

// Text on the form, and the label buttons: painted by hand so that BackStyle, borders and wrapping match
// the screens' design exactly.
class Label : public Control {
    Q_OBJECT
public:
    Label(Form& form, QWidget* container, const QString& name, int index);

    const QString& Caption() const { return m_caption; }
    QString caption() const override { return m_caption; }
    void setCaption(const QString& text);
    int BackStyle() const { return m_backStyle; }
    void setBackStyle(int style);
    void setBorderStyle(int style);
    int Alignment() const { return m_alignment; }
    void setAlignment(int alignment);

    // The box the caption is laid out in, in pixels, and whether the wrapped caption fits it whole.
    QRect textRect() const;
    bool captionFits() const;

    Control* copyAsElement(int index) const override { return makeCopy<Label>(index); }

protected:
    void copyFrom(const Control& src) override;
    void fontChanged() override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent* e) override;

private:
    void relayout();
    void ensureLayout() const;
    QString m_caption;
    int m_backStyle = vbOpaque;
    int m_borderStyle = vbBSNone;
    int m_alignment = vbLeftJustify;
    QFont m_qfont;
    // Laid out when next painted or measured after a change of caption, font, alignment, border or size.
    // Shared by every label, loaded now or before, that shows the same text in the same font and box width.
    mutable std::shared_ptr<const QTextLayout> m_layout;
    mutable bool m_layoutStale = true;
    mutable int m_layoutWidth = -1;
};

class CommandButton : public Control {
    Q_OBJECT
public:
    CommandButton(Form& form, QWidget* container, const QString& name, int index);

    const QString& Caption() const { return m_caption; }
    QString caption() const override { return m_caption; }
    void setCaption(const QString& text);
    const vb::Picture& Picture() const { return m_picture; }
    void setPicture(const vb::Picture& p);
    void setStyle(int style);

    Control* copyAsElement(int index) const override { return makeCopy<CommandButton>(index); }

protected:
    void copyFrom(const Control& src) override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QString m_caption;
    vb::Picture m_picture;
    int m_style = 0;
    bool m_down = false;
};

// A picture at its own size (Stretch off) or stretched to the control.
class Image : public Control {
    Q_OBJECT
public:
    Image(Form& form, QWidget* container, const QString& name, int index);
    const vb::Picture& Picture() const { return m_picture; }
    void setPicture(const vb::Picture& p);
    bool Stretch() const { return m_stretch; }
    void setStretch(bool s);
    Control* copyAsElement(int index) const override { return makeCopy<Image>(index); }

protected:
    void copyFrom(const Control& src) override;
    void paintEvent(QPaintEvent*) override;

private:
    vb::Picture m_picture;
    bool m_stretch = false;
};

class PictureBox : public Control {
    Q_OBJECT
public:
    PictureBox(Form& form, QWidget* container, const QString& name, int index);
    const vb::Picture& Picture() const { return m_picture; }
    void setPicture(const vb::Picture& p);
    Control* copyAsElement(int index) const override { return makeCopy<PictureBox>(index); }

protected:
    void copyFrom(const Control& src) override;
    void paintEvent(QPaintEvent*) override;

private:
    vb::Picture m_picture;
};

// A container: controls placed in it take their positions from its top-left corner.
class Frame : public Control {
    Q_OBJECT
public:
    Frame(Form& form, QWidget* container, const QString& name, int index);
    const QString& Caption() const { return m_caption; }
    QString caption() const override { return m_caption; }
    void setCaption(const QString& text);
    void setBorderStyle(int style);
    Control* copyAsElement(int index) const override { return makeCopy<Frame>(index); }

protected:
    void copyFrom(const Control& src) override;
    void paintEvent(QPaintEvent*) override;

private:
    QString m_caption;
    int m_borderStyle = vbFixedSingle;
};

enum : int { vbShapeRectangle = 0, vbShapeSquare = 1, vbShapeOval = 2, vbShapeCircle = 3 };
enum : int { vbFSSolid = 0, vbFSTransparent = 1 };

// Shapes and lines are drawn on the form and take no mouse events of their own.
class Shape : public Control {
    Q_OBJECT
public:
    Shape(Form& form, QWidget* container, const QString& name, int index);
    void setShape(int shape);
    OleColor BorderColor() const { return m_borderColor; }
    void setBorderColor(OleColor c);
    void setBorderWidth(int w);
    void setFillStyle(int s);
    void setFillColor(OleColor c);
    Control* copyAsElement(int index) const override { return makeCopy<Shape>(index); }

protected:
    void copyFrom(const Control& src) override;
    void paintEvent(QPaintEvent*) override;

private:
    int m_shape = vbShapeRectangle;
    OleColor m_borderColor = RGB(0, 0, 0);
    int m_borderWidth = 1;
    int m_fillStyle = vbFSTransparent;
    OleColor m_fillColor = RGB(0, 0, 0);
};

class Line : public Control {
    Q_OBJECT
public:
    Line(Form& form, QWidget* container, const QString& name, int index);
    void setEnds(Single x1, Single y1, Single x2, Single y2);
    OleColor BorderColor() const { return m_borderColor; }
    void setBorderColor(OleColor c);
    void setBorderWidth(int w);
    Control* copyAsElement(int index) const override { return makeCopy<Line>(index); }

protected:
    void copyFrom(const Control& src) override;
    void paintEvent(QPaintEvent*) override;

private:
    void place();
    Single m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
    OleColor m_borderColor = RGB(0, 0, 0);
    int m_borderWidth = 1;
};

// A drop-down list: the user picks a name and cannot type.
class ComboBox : public Control {
    Q_OBJECT
public:
    ComboBox(Form& form, QWidget* container, const QString& name, int index);
    void AddItem(const QString& item);
    void Clear();
    int ListCount() const;
    QString List(int i) const;
    int ListIndex() const; // -1 when nothing is chosen
    QString Text() const;
    void setBackColor(OleColor c) override;
    void setForeColor(OleColor c) override;
    QComboBox* box() const { return m_box; }
    QWidget* pointerWidget() override;
    Control* copyAsElement(int index) const override;

protected:
    void fontChanged() override;
    void resizeEvent(QResizeEvent*) override;

private:
    void applyColours();
    QComboBox* m_box;
};

class CheckBox : public Control {
    Q_OBJECT
public:
    CheckBox(Form& form, QWidget* container, const QString& name, int index);
    const QString& Caption() const { return m_caption; }
    QString caption() const override { return m_caption; }
    void setCaption(const QString& text);
    int Value() const { return m_value; }
    void setValue(int v); // a change raises Click, as a click by the user does
    Control* copyAsElement(int index) const override { return makeCopy<CheckBox>(index); }

protected:
    void copyFrom(const Control& src) override;
    void paintEvent(QPaintEvent*) override;
    void beforeClick() override;

private:
    QString m_caption;
    int m_value = 0;
};

} // namespace vb
