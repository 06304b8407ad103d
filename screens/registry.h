// Every screen of the program by name, for the tools that render or tour them.
#pragma once

#include "vb.h"

#include <QList>

struct ScreenInfo {
    QString name;
    vb::Form& (*get)();
};

const QList<ScreenInfo>& allScreens();
vb::Form* screenByName(const QString& name);
