// Works the program as a person at the board does, by real mouse clicks and keys through its windows.
#pragma once

#include "routes.h"
#include "support/testsupport.h"
#include "vb.h"

#include <QObject>
#include <QStringList>

namespace tour {

void start();           // shows the first screen as the program does at start
void enableJotterKey(); // the program's Ctrl+J watcher, once per process
void settle();          // carries out deferred deletions of unloaded windows

vb::Form* frontScreen();                     // the last shown, the Jotter and the backdrop aside
vb::Form* loadedScreen(const QString& name); // null unless registered and loaded
// A click on a control by design name ("Label2(3)"); false when it cannot be clicked.
bool clickControl(const vb::Form& f, const QString& objectName);

QStringList reachableScreens();    // registered screens that the board can reach
bool open(const QString& screen);  // by clicks from wherever the program stands
bool close(const QString& screen); // by its own control; false when it is not open
QStringList fullTour(); // every reachable screen opened, every control clicked, closed; returns those shown

// The fixture of the tests that work the program by clicks.
class Fixture : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { enableJotterKey(); }
    void init() {
        testsupport::freshRuntime();
        testsupport::recordDesktop();
    }
    void cleanup() { testsupport::freshRuntime(); }
};

} // namespace tour
