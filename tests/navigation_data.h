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
        auto put = [this](const char* name, int w, int h) {
            QImage img(w, h, QImage::Format_RGB32);
            img.fill(QColor(60, 140, 210));
            img.save(path(name), "JPG");
        };
        put("beesm.jpg", 320, 240);
        put("bee.jpg", 800, 600);
        put("logo2.jpg", 100, 139);
        put("exit.jpg", 119, 33);
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
