// Fonts by the family names the screens use, mapped to faces Debian ships with the same metrics.
#pragma once

#include "basics.h"

#include <QFont>
#include <QString>

namespace vb {

struct FontDesc {
    QString name = QStringLiteral("Arial");
    Single size = 8.25f; // points; 15 twips a pixel means 96 dots an inch
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const FontDesc&) const = default;
};

// Registers the bundled faces once; safe to call again.
void installFonts();
// The QFont that draws a font of the given desc, sized in pixels so it does not depend on the display's dpi.
QFont resolveFont(const FontDesc& desc);
// The family that the name maps to on this system.
QString mappedFamily(const QString& name);

} // namespace vb
