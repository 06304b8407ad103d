// Broken installations, made on purpose in a copy of the program's data.
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>

#include <array>

namespace testsupport {

enum class Damage { Missing, Empty, Truncated, NotAPicture };
inline constexpr Damage kDamages[] = {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::NotAPicture};

inline QString damageName(Damage d) {
    return QString::fromLatin1(std::array{"missing", "empty", "truncated", "not a picture"}[int(d)]);
}

// `name` as the screens write it ("Images\\bee.jpg"), inside the data folder `dataDir`.
inline QString dataFile(const QString& dataDir, const QString& name) {
    return dataDir + QLatin1Char('/') + QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

inline bool damage(const QString& file, Damage d) {
    QFile f(file);
    if (d == Damage::Missing) return f.remove();
    if (d == Damage::Empty) return f.resize(0);
    // Cut in the middle of the picture's data, as an interrupted copy leaves it; or a teacher's notes
    // instead.
    QByteArray content = "Lesson notes for Tuesday: quadrats, reflexes, the eye.\n";
    if (d == Damage::Truncated) {
        if (!f.open(QIODevice::ReadOnly)) return false;
        content = f.read(f.size() / 2);
        f.close();
    }
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

// The program's data folder as built: the pictures and the guide document beside the executable.
inline bool copyProgramData(const QString& from, const QString& to) {
    QDir().mkpath(to + QStringLiteral("/Images"));
    const QDir images(from + QStringLiteral("/Images"));
    for (const QString& f : images.entryList(QDir::Files))
        if (!QFile::copy(images.filePath(f), to + QStringLiteral("/Images/") + f)) return false;
    const QString guide = from + QStringLiteral("/Teacher Guide.doc");
    return !QFile::exists(guide) || QFile::copy(guide, to + QStringLiteral("/Teacher Guide.doc"));
}

} // namespace testsupport
