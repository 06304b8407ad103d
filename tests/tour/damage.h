// Broken installations, made on purpose in a copy of the program's data.
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>

namespace testsupport {

enum class Damage { Missing, Empty, Truncated, NotAPicture };

inline QString damageName(Damage d) {
    switch (d) {
    case Damage::Missing:
        return QStringLiteral("missing");
    case Damage::Empty:
        return QStringLiteral("empty");
    case Damage::Truncated:
        return QStringLiteral("truncated");
    case Damage::NotAPicture:
        return QStringLiteral("not a picture");
    }
    return {};
}

inline constexpr Damage kDamages[] = {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::NotAPicture};

// `name` as the screens write it ("Images\\bee.jpg"), inside the data folder `dataDir`.
inline QString dataFile(const QString& dataDir, const QString& name) {
    return dataDir + QLatin1Char('/') + QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

inline bool damage(const QString& file, Damage d) {
    QFile f(file);
    switch (d) {
    case Damage::Missing:
        return f.remove();
    case Damage::Empty:
        return f.resize(0);
    case Damage::Truncated: {
        // Cut in the middle of the picture's data, as an interrupted copy leaves it.
        if (!f.open(QIODevice::ReadOnly)) return false;
        const QByteArray half = f.readAll().left(f.size() / 2);
        f.close();
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(half) == half.size();
    }
    case Damage::NotAPicture:
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               f.write("Lesson notes for Tuesday: quadrats, reflexes, the eye.\n") > 0;
    }
    return false;
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
