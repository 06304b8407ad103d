// The drop-down list.
#include "controls.h"
#include "edges.h"

#include "form.h"
#include "runtime.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>

namespace vb {

namespace {
// A scrolling list of bounded height, not a menu that runs off the bottom of an 800 x 600 screen. One style
// serves every list: a style sheet that said so gave each list a style of its own to build.
class ScrollingListStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* scrollingListStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new ScrollingListStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(qApp);
    }
    return style;
}

class DropDownList : public QComboBox {
public:
    std::function<void()> onDropDown;
    using QComboBox::QComboBox;
    void showPopup() override {
        if (onDropDown) onDropDown();
        // The opened list is a white list with dark text, as a drop-down list always is. Its view is made
        // only now: three lists made on every visit of a screen spent a sixth of it making views never
        // opened.
        QPalette list = view()->palette();
        list.setColor(QPalette::Base, Qt::white);
        list.setColor(QPalette::Text, Qt::black);
        view()->setPalette(list);
        QComboBox::showPopup();
    }
};
} // namespace

ComboBox::ComboBox(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {
    auto* box = new DropDownList(this);
    m_box = box;
    m_box->setStyle(scrollingListStyle());
    m_box->setEditable(false);
    m_box->setMouseTracking(true);
    m_box->setMaxVisibleItems(12);
    box->onDropDown = [this] {
        if (stale()) return;
        Runtime::dispatch([&] {
            if (auto& h = handlers().dropDown) h(Index());
        });
    };
    connect(m_box, &QComboBox::activated, this, [this](int) {
        if (stale()) return;
        Runtime::dispatch([&] {
            if (auto& h = handlers().click) h(Index());
        });
    });
    setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_box); // the list itself takes the focus, in the form's keyboard order
    setBackColor(RGB(255, 255, 255));
    fontChanged();
}

void ComboBox::AddItem(const QString& item) {
    const int chosen = m_box->currentIndex();
    m_box->addItem(item);
    // A list starts with nothing chosen; adding items must not choose the first one.
    m_box->setCurrentIndex(chosen);
}
void ComboBox::Clear() {
    m_box->clear();
}
int ComboBox::ListCount() const {
    return m_box->count();
}
QString ComboBox::List(int i) const {
    return m_box->itemText(i);
}
int ComboBox::ListIndex() const {
    return m_box->currentIndex();
}
QString ComboBox::Text() const {
    return m_box->currentIndex() < 0 ? QString() : m_box->currentText();
}

void ComboBox::setBackColor(OleColor c) {
    Control::setBackColor(c);
    applyColours();
}
void ComboBox::setForeColor(OleColor c) {
    Control::setForeColor(c);
    applyColours();
}

void ComboBox::applyColours() {
    QPalette pal = m_box->palette();
    for (auto role : {QPalette::Base, QPalette::Button, QPalette::Window})
        pal.setColor(role, toQColor(BackColor()));
    for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        pal.setColor(role, toQColor(ForeColor()));
    m_box->setPalette(pal);
}

QWidget* ComboBox::pointerWidget() {
    return m_box;
}

Control* ComboBox::copyAsElement(int index) const {
    auto* c = makeCopy<ComboBox>(index);
    for (int i = 0; i < m_box->count(); ++i)
        c->m_box->addItem(m_box->itemText(i));
    c->m_box->setCurrentIndex(-1);
    c->applyColours();
    return c;
}

void ComboBox::fontChanged() {
    m_box->setFont(resolveFont(Font()));
}

void ComboBox::resizeEvent(QResizeEvent*) {
    m_box->setGeometry(rect());
}

} // namespace vb
