#include "registry.h"

#include "Titlefrm.h"
#include "quadrat.h"
#include "sentence.h"

namespace {
template <class F> vb::Form& get() { return vb::form<F>(); }
} // namespace

const QList<ScreenInfo>& allScreens() {
    static const QList<ScreenInfo> screens = {
        {QStringLiteral("Titlefrm"), &get<Titlefrm>},
        {QStringLiteral("quadrat"), &get<quadrat>},
        {QStringLiteral("sentence"), &get<sentence>},
    };
    return screens;
}

vb::Form* screenByName(const QString& name) {
    for (const ScreenInfo& s : allScreens())
        if (s.name == name) return &s.get();
    return nullptr;
}
