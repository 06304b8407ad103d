// What a screen reader finds on a screen: every control with its name and role, and buttons it can press.
#include "controls.h"
#include "input.h"

#include <QAccessibleWidget>

namespace vb {

namespace {

class ControlAccessible : public QAccessibleWidget {
public:
    explicit ControlAccessible(Control* c) : QAccessibleWidget(c) {}

    QAccessible::Role role() const override {
        Control* c = control();
        if (qobject_cast<CommandButton*>(c)) return QAccessible::Button;
        if (qobject_cast<CheckBox*>(c)) return QAccessible::CheckBox;
        if (qobject_cast<ComboBox*>(c)) return QAccessible::ComboBox;
        if (qobject_cast<Frame*>(c)) return QAccessible::Grouping;
        if (qobject_cast<Line*>(c)) return QAccessible::Separator;
        // Labels and pictures that answer a click are the screens' buttons.
        if (c->reactsToClick()) return QAccessible::Button;
        if (qobject_cast<Label*>(c)) return QAccessible::StaticText;
        return QAccessible::Graphic;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return control()->spokenName();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (auto* box = qobject_cast<CheckBox*>(control())) {
            s.checkable = true;
            s.checked = box->Value() == 1;
        }
        return s;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (role() == QAccessible::CheckBox) names.prepend(toggleAction());
        if (role() == QAccessible::Button) names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& name) override {
        if (name == pressAction() || name == toggleAction())
            control()->press();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    Control* control() const { return static_cast<Control*>(widget()); }
};

QAccessibleInterface* controlInterface(const QString&, QObject* object) {
    if (auto* c = qobject_cast<Control*>(object)) return new ControlAccessible(c);
    return nullptr;
}

} // namespace

void installAccessibility() {
    QAccessible::installFactory(controlInterface);
}

} // namespace vb
