#include "registry.h"

#include "TeacherGuide.h"
#include "Titlefrm.h"
#include "reflex.h"
#include "quadrat.h"
#include "sentence.h"
#include "notepad.h"

namespace {
template <class F> vb::Form& get() { return vb::form<F>(); }
} // namespace

const QList<ScreenInfo>& allScreens() {
    static const QList<ScreenInfo> screens = {
        {QStringLiteral("Titlefrm"), &get<Titlefrm>},
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
