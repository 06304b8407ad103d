// A data folder of plain pictures for the navigation screens, so their tests do not depend on the drawn ones
// and can take a picture away.
#pragma once

#include "Module1.h"
#include "Titlefrm.h"
#include "support/testsupport.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

struct NavigationData {
    QTemporaryDir dir;
    NavigationData() {
        QDir(dir.path()).mkdir(QStringLiteral("Images"));
        put("beesm.jpg", 320, 240, QColor(250, 200, 40));
        put("bee.jpg", 800, 600, QColor(60, 140, 210));
        put("logo2.jpg", 100, 139, QColor(255, 255, 255));
        put("exit.jpg", 119, 33, QColor(200, 40, 40));
        vb::setDataDir(dir.path());
    }
    void put(const char* name, int w, int h, QColor colour) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(colour);
        img.save(path(name), "JPG");
    }
    void remove(const char* name) { QFile::remove(path(name)); }
    QString path(const char* name) const {
        return dir.filePath(QStringLiteral("Images/") + QString::fromLatin1(name));
    }
};

// What every navigation test starts from and ends with: a fresh runtime, a recording desktop, no backdrop
// wanted, and the plain pictures.
struct NavigationFixture {
    testsupport::RecordingPlatform* desktop = nullptr;
    std::unique_ptr<NavigationData> data;
    void setUp() {
        testsupport::freshRuntime();
        desktop = &testsupport::recordDesktop();
        hidedesktop = 0;
        data = std::make_unique<NavigationData>();
    }
    void tearDown() {
        testsupport::freshRuntime();
        data.reset();
        hidedesktop = 0;
    }
};

// The title screen as the program starts, then its "OK": the opening screen comes up.
inline void startAtOpeningScreen() {
    vb::Runtime::dispatch([] { vb::form<Titlefrm>().Show(); });
    testsupport::click(*vb::form<Titlefrm>().Command1);
}

inline QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

inline QStringList loadedScreens() {
    return sorted(vb::Runtime::loadedFormNames());
}

inline QStringList stackNames() {
    QStringList names;
    for (vb::Form* f : vb::Runtime::stackingOrder())
        names << f->Name();
    return names;
}
