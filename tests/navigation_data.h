// The navigation tests start from a fresh runtime, a recording desktop, no backdrop, and a data folder of
// plain pictures of their own, so that they do not depend on the drawn ones and can take one away.
#pragma once

#include "Module1.h"
#include "Titlefrm.h"
#include "support/testsupport.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

struct NavigationFixture {
    testsupport::RecordingPlatform* desktop = nullptr;
    std::unique_ptr<QTemporaryDir> dir;
    void setUp() {
        testsupport::freshRuntime();
        desktop = &testsupport::recordDesktop();
        hidedesktop = 0;
        dir = std::make_unique<QTemporaryDir>();
        QDir(dir->path()).mkdir(QStringLiteral("Images"));
        const struct {
            const char* name;
            int w, h;
            QColor colour;
        } pictures[] = {{"beesm.jpg", 320, 240, QColor(250, 200, 40)},
                        {"bee.jpg", 800, 600, QColor(60, 140, 210)},
                        {"logo2.jpg", 100, 139, Qt::white},
                        {"exit.jpg", 119, 33, QColor(200, 40, 40)}};
        for (const auto& p : pictures) {
            QImage img(p.w, p.h, QImage::Format_RGB32);
            img.fill(p.colour);
            img.save(path(p.name), "JPG");
        }
        vb::setDataDir(dir->path());
    }
    void tearDown() {
        testsupport::freshRuntime();
        dir.reset();
        hidedesktop = 0;
    }
    QString path(const char* name) const {
        return dir->filePath(QStringLiteral("Images/") + QString::fromLatin1(name));
    }
};

// The title screen as the program starts, then its "OK": the opening screen comes up.
inline void startAtOpeningScreen() {
    vb::Runtime::dispatch([] { vb::form<Titlefrm>().Show(); });
    testsupport::click(*vb::form<Titlefrm>().Command1);
}

inline QStringList loadedScreens() {
    QStringList names = vb::Runtime::loadedFormNames();
    names.sort();
    return names;
}

inline QStringList stackNames() {
    QStringList names;
    for (vb::Form* f : vb::Runtime::stackingOrder())
        names << f->Name();
    return names;
}
