// A fresh runtime, a recording desktop, no backdrop, and plain pictures of the tests' own to take away.
#pragma once

#include "Module1.h"
#include "Titlefrm.h"
#include "support/testsupport.h"

#include <QImage>

struct NavigationFixture {
    testsupport::RecordingPlatform* desktop = nullptr;
    std::unique_ptr<testsupport::ScratchData> data;
    void setUp() {
        testsupport::freshRuntime();
        desktop = &testsupport::recordDesktop();
        hidedesktop = 0;
        data = std::make_unique<testsupport::ScratchData>();
        const struct {
            const char* name;
            int w, h;
        } pictures[] = {
            {"beesm.jpg", 320, 240}, {"bee.jpg", 800, 600}, {"logo2.jpg", 100, 139}, {"exit.jpg", 119, 33}};
        for (const auto& p : pictures) {
            QImage img(p.w, p.h, QImage::Format_RGB32);
            img.fill(QColor(60, 140, 210));
            img.save(path(p.name), "JPG");
        }
    }
    void tearDown() {
        testsupport::freshRuntime();
        data.reset();
    }
    QString path(const char* name) const {
        return data->dir.filePath(QStringLiteral("Images/") + QString::fromLatin1(name));
    }
};

// A point on the bare opening screen or a bare menu, away from every control.
inline const QPoint kBare(300, 120);

// The title screen as the program starts, then its "OK".
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
