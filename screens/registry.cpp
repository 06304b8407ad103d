#include "registry.h"

#include "Grey.h"
#include "TeacherGuide.h"
#include "Titlefrm.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "notepad.h"
#include "quadrat.h"
#include "reflex.h"
#include "sentence.h"

namespace {
template <class F> vb::Form& get() {
    return vb::form<F>();
}
} // namespace

const QList<ScreenInfo>& allScreens() {
    static const QList<ScreenInfo> screens = {
        {QStringLiteral("Titlefrm"), &get<Titlefrm>},
        {QStringLiteral("intro0"), &get<intro0>},
        {QStringLiteral("Grey"), &get<Grey>},
        {QStringLiteral("menu1"), &get<menu1>},
        {QStringLiteral("menu2"), &get<menu2>},
        {QStringLiteral("menu3"), &get<menu3>},
        {QStringLiteral("menu4"), &get<menu4>},
        {QStringLiteral("menu5"), &get<menu5>},
        {QStringLiteral("TeacherGuide0"), &get<TeacherGuide0>},
        {QStringLiteral("TeacherGuide1"), &get<TeacherGuide1>},
        {QStringLiteral("TeacherGuide2"), &get<TeacherGuide2>},
        {QStringLiteral("TeacherGuide3"), &get<TeacherGuide3>},
        {QStringLiteral("TeacherGuide4"), &get<TeacherGuide4>},
        {QStringLiteral("TeacherGuide5"), &get<TeacherGuide5>},
        {QStringLiteral("reflex"), &get<reflex>},
        {QStringLiteral("quadrat"), &get<quadrat>},
        {QStringLiteral("sentence"), &get<sentence>},
        {QStringLiteral("notepad"), &get<notepad>},
    };
    return screens;
}

vb::Form* screenByName(const QString& name) {
    for (const ScreenInfo& s : allScreens())
        if (s.name == name) return &s.get();
    return nullptr;
}
