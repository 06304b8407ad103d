#include "fonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QStandardPaths>

#include <cmath>
#include <cstdio>

namespace vb {

namespace {
bool g_tahomaLoaded = false;

struct Key {
    FontDesc desc;
    bool operator==(const Key& o) const { return desc == o.desc; }
};
size_t qHash(const Key& k, size_t seed = 0) {
    return ::qHashMulti(seed, k.desc.name, int(k.desc.size * 100), k.desc.bold, k.desc.italic,
                        k.desc.underline);
}
} // namespace

void installFonts() {
    static bool done = false;
    if (done) return;
    done = true;
    // Wine's Tahoma lives outside fontconfig's folders, so it is added to the program alone. Only the regular
    // face: Wine's bold face is barely heavier, while the emboldened regular reads as bold on a board.
    const QString tahoma =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("wine/fonts/tahoma.ttf"));
    g_tahomaLoaded = (!tahoma.isEmpty() && QFontDatabase::addApplicationFont(tahoma) >= 0) ||
                     QFontDatabase::hasFamily(QStringLiteral("Tahoma"));
    // A wider stand-in face wraps the longest menu entries onto a second line that their boxes cut off; the
    // program still runs, but whoever installed it should hear which package brings the face back.
    static const char* const faces[][2] = {{"Liberation Sans", "fonts-liberation2"},
                                           {"Liberation Serif", "fonts-liberation2"},
                                           {"Tahoma", "fonts-wine"}};
    for (const auto& [face, package] : faces)
        if (!QFontDatabase::hasFamily(QLatin1String(face)))
            std::fprintf(stderr, "zestora-biology: font \"%s\" not found; install the Debian package %s\n",
                         face, package);
}

QString mappedFamily(const QString& name) {
    if (name.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    if (name.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Serif");
    if (name.compare(QLatin1String("Tahoma"), Qt::CaseInsensitive) == 0)
        return g_tahomaLoaded ? QStringLiteral("Tahoma") : QStringLiteral("DejaVu Sans");
    return name;
}

QFont resolveFont(const FontDesc& desc) {
    static QHash<Key, QFont> resolved;
    const Key key{desc};
    auto it = resolved.constFind(key);
    if (it != resolved.constEnd()) return *it;
    installFonts();
    QFont f(mappedFamily(desc.name));
    f.setPixelSize(std::max(1, int(std::lround(desc.size * 96.0 / 72.0))));
    f.setBold(desc.bold);
    f.setItalic(desc.italic);
    f.setUnderline(desc.underline);
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    resolved.insert(key, f);
    return f;
}

} // namespace vb
