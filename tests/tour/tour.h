// Works the program as a person at the board does, by real mouse clicks and keys through its windows, along
// the ways of the program's own map of the screens, and checks its rules after every click.
#pragma once

#include "Module1.h"
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

QList<Route> routes();             // the ways of the program's map
QStringList reachableScreens();    // registered screens that the board can reach
bool open(const QString& screen);  // by clicks from wherever the program stands
bool close(const QString& screen); // by its own control; false when it is not open

// The rules that hold whatever the board does: at most one menu and one guide page loaded, the opening
// screen beneath whatever was reached through it, each screen named for a screen reader apart from the
// others, the Jotter in front, the shell asked only for the guide document and the publisher's address.
// Empty while they hold, else the first broken.
QString brokenRule();
// The first rule broken after a click of this tour since the last fresh start, with the click; or empty.
QString brokenOnTheWay();

// The fixture of the tests that work the program by clicks: each test ends with the rules held.
class Fixture : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { enableJotterKey(); }
    void init() { // as a new start of the program
        testsupport::freshRuntime();
        testsupport::recordDesktop();
        hidedesktop = 0;
        brokenOnTheWay();
    }
    void cleanup() {
        const QString broken = brokenOnTheWay();
        testsupport::freshRuntime();
        QVERIFY2(broken.isEmpty(), qPrintable(broken));
    }
};

} // namespace tour
