#include "runtime.h"

#include "formwindow.h"
#include "input.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPointer>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <qpa/qplatformscreen.h>

#include <cstdio>

namespace vb {

ScreenObject Screen;

namespace {
int g_depth = 0;
bool g_ended = false;
int g_exitCode = 0;
bool g_running = false;
std::unique_ptr<Platform> g_platform;
QList<Form*> g_loaded; // in the order they were loaded
QList<Form*> g_stack;  // back to front
QPointer<QScreen> g_display;

void writeStderr(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

bool headless() {
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}

// Whether the desktop names an application for the file's type: a default or added association in a
// mimeapps.list, or an installed application that declares it (the cache update-desktop-database keeps).
bool desktopHasOpenerFor(const QString& file) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    const QStringList names = QStringList(type.name()) + type.aliases();
    QStringList lists;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        lists << dir + QStringLiteral("/mimeapps.list");
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
        lists << dir + QStringLiteral("/mimeapps.list") << dir + QStringLiteral("/mimeinfo.cache");
    for (const QString& path : lists) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        bool removed = false;
        while (!f.atEnd()) {
            const QString line = QString::fromUtf8(f.readLine()).trimmed();
            if (line.startsWith(u'[')) removed = line == QLatin1String("[Removed Associations]");
            const qsizetype eq = line.indexOf(u'=');
            if (!removed && eq > 0 && names.contains(line.left(eq)) &&
                !QString(line.mid(eq + 1)).remove(u';').trimmed().isEmpty())
                return true;
        }
    }
    return false;
}

// The teacher at the board hears of it there, once however often the document is asked for.
void tellNoOpener(QWidget* owner, const QString& file) {
    static QPointer<QMessageBox> box;
    if (!box) {
        const QString kind = QMimeDatabase().mimeTypeForFile(file).comment();
        box = new QMessageBox(QMessageBox::Information, QCoreApplication::applicationName(),
                              QStringLiteral("No program is installed on this computer to open a %1.")
                                  .arg(kind.isEmpty() ? QStringLiteral("document") : kind),
                              QMessageBox::Ok, owner ? owner->window() : nullptr);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal); // the lesson goes on around it
        box->setInformativeText(QStringLiteral("The document is\n%1").arg(QDir::toNativeSeparators(file)));
    }
    box->show();
    box->raise();
}

void reportAndEnd(const QString& text) {
    writeStderr(text);
    Runtime::platform().showErrorReport(text);
    Runtime::End(1);
}
} // namespace

std::unordered_map<std::type_index, std::unique_ptr<Form>>& Runtime::instances() {
    static std::unordered_map<std::type_index, std::unique_ptr<Form>> map;
    return map;
}

namespace {
// Watches every paint until the first, then steps aside.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::function<void()> then) : QObject(qApp), m_then(std::move(then)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && m_then) {
            qApp->removeEventFilter(this);
            QMetaObject::invokeMethod(qApp, std::exchange(m_then, {}), Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_then;
};
} // namespace

void Runtime::whenFirstPainted(std::function<void()> prepare) {
    new FirstPaint(std::move(prepare));
}

void Runtime::dispatch(const std::function<void()>& handler) {
    if (g_ended) return;
    if (g_depth > 0) {
        handler();
        return;
    }
    ++g_depth;
    try {
        handler();
    } catch (const RuntimeError& e) {
        --g_depth;
        reportAndEnd(e.report());
        return;
    } catch (const std::exception& e) {
        --g_depth;
        reportAndEnd(
            RuntimeError(51, QStringLiteral("Internal error: %1").arg(QString::fromLocal8Bit(e.what())))
                .report());
        return;
    }
    --g_depth;
}

void Runtime::End(int exitCode) {
    if (g_ended) return;
    g_ended = true;
    g_exitCode = exitCode;
    const QList<Form*> loaded = g_loaded;
    for (Form* f : loaded)
        f->Unload();
    if (Screen.MousePointer() != 0) Screen.setMousePointer(0);
    if (QCoreApplication::instance()) QCoreApplication::exit(exitCode);
}

bool Runtime::ended() {
    return g_ended;
}
int Runtime::exitCode() {
    return g_exitCode;
}

int Runtime::exec() {
    if (g_ended) return g_exitCode;
    g_running = true;
    QApplication::setQuitOnLastWindowClosed(false);
    const int rc = QApplication::exec();
    g_running = false;
    return g_ended ? g_exitCode : rc;
}

QList<Form*> Runtime::loadedForms() {
    return g_loaded;
}

QStringList Runtime::loadedFormNames() {
    QStringList names;
    for (Form* f : g_loaded)
        names << f->Name();
    return names;
}

Platform& Runtime::platform() {
    if (!g_platform) g_platform = std::make_unique<DesktopPlatform>();
    return *g_platform;
}

void Runtime::setPlatform(std::unique_ptr<Platform> p) {
    g_platform = std::move(p);
}

void Runtime::formLoaded(Form* f) {
    if (!g_loaded.contains(f)) g_loaded.append(f);
}

void Runtime::formUnloaded(Form* f) {
    g_loaded.removeAll(f);
    g_stack.removeAll(f);
    // As with any forms program, the run ends when its last form is unloaded.
    if (g_running && g_loaded.isEmpty() && !g_ended) End(0);
}

void Runtime::raised(Form* f) {
    g_stack.removeAll(f);
    g_stack.append(f);
}

void Runtime::restack() {
    const QList<Form*> order = g_stack;
    for (Form* f : order)
        if (f->StaysAtBottom() && f->hWnd()) {
            lowerWindow(f->hWnd());
            g_stack.removeAll(f);
            g_stack.prepend(f);
        }
    for (Form* f : order)
        if (f->StaysOnTop() && f->hWnd() && f->hWnd()->isVisible()) {
            raiseWindow(f->hWnd());
            raised(f);
        }
}

QList<Form*> Runtime::stackingOrder() {
    return g_stack;
}

// Qt's offscreen platform has no stacking; the runtime's own order above is what tests read there.
void Runtime::raiseWindow(QWidget* w) {
    if (w && QGuiApplication::platformName() != QLatin1String("offscreen")) w->raise();
}

void Runtime::lowerWindow(QWidget* w) {
    if (w && QGuiApplication::platformName() != QLatin1String("offscreen")) w->lower();
}

QScreen* Runtime::display() {
    return g_display ? g_display.data() : QGuiApplication::primaryScreen();
}

void Runtime::setDisplay(QScreen* screen) {
    g_display = screen;
}

QSizeF Runtime::displaySize() {
    QScreen* s = display();
    if (!s) return QSizeF(800, 600);
    // Qt rounds a display's size to whole pixels of the program; centring needs the exact one.
    return QSizeF(deviceSize(s)) / s->devicePixelRatio();
}

QSize Runtime::deviceSize(const QScreen* screen) {
    return screen->handle() ? screen->handle()->geometry().size() : screen->geometry().size();
}

void Runtime::refit(const std::function<void()>& setFactor) {
    // An open list would be left hanging where its box was.
    for (QWidget* w : QApplication::allWidgets())
        if (auto* box = qobject_cast<QComboBox*>(w); box && box->view()->isVisible()) box->hidePopup();
    // Kept windows would come back with pictures of the old size and factor.
    FormWindow::dropSpares();
    if (setFactor) setFactor();
    // Every window's pictures at once, on the other cores. Meanwhile the forms that wait for the least are
    // fitted and painted, each as soon as its own pictures are drawn.
    QList<Picture> pictures;
    for (Form* f : std::as_const(g_loaded))
        pictures += f->pictures();
    Picture::Redrawing redrawing(pictures);
    QList<Form*> forms = g_loaded;
    std::stable_sort(forms.begin(), forms.end(), [&](Form* a, Form* b) {
        return redrawing.pixelsToCome(a->pictures()) < redrawing.pixelsToCome(b->pictures());
    });
    for (Form* f : std::as_const(forms)) {
        redrawing.wait(f->pictures());
        f->refit();
        if (QWidget* w = f->hWnd(); w && w->isVisible()) w->repaint();
    }
    restack();
}

void Runtime::reset() {
    g_ended = true; // no handler runs while the forms go
    for (auto& [type, f] : instances())
        f->Unload();
    // The windows go before their forms: a control leaving its window still tells its form.
    FormWindow::dropSpares();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    instances().clear();
    g_loaded.clear();
    g_stack.clear();
    g_ended = false;
    g_exitCode = 0;
    g_depth = 0;
    Input::forget();
    setRndState(0x50000);
    setTimerSource({});
    if (Screen.MousePointer() != 0) Screen.setMousePointer(0);
    Screen.setSizeOverride({});
}

bool DesktopPlatform::shellOpen(QWidget* owner, const QString& verb, const QString& target) {
    if (verb.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0) return false;
    const bool address = target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:"));
    const QUrl url = address ? QUrl(target, QUrl::StrictMode) : QUrl::fromLocalFile(resolveDataPath(target));
    if (!url.isValid()) return false;
    const bool accepted = QDesktopServices::openUrl(url);
    if (!accepted)
        writeStderr(
            QStringLiteral("Could not open \"%1\": this desktop has no application for it.").arg(target));
    // The desktop's opener may fail later, out of sight, or fall back on a web browser.
    if (!address && !(accepted && desktopHasOpenerFor(url.toLocalFile())))
        tellNoOpener(owner, url.toLocalFile());
    return accepted;
}

void DesktopPlatform::keepInFront(QWidget* window) {
    // The form has set Qt's stay-on-top hint; what is left is to bring the window up now.
    Runtime::raiseWindow(window);
}

void DesktopPlatform::showErrorReport(const QString& text) {
    if (headless()) return;
    QMessageBox::critical(nullptr, QCoreApplication::applicationName(), text);
}

void ShellExecute(QWidget* owner, const QString& verb, const QString& file, const QString&, const QString&,
                  int) {
    Runtime::platform().shellOpen(owner, verb, file);
}

void SetWindowPos(QWidget* window, int insertAfter, int, int, int, int, int) {
    auto* fw = qobject_cast<FormWindow*>(window);
    if (!fw || !fw->form() || insertAfter != HWND_TOPMOST) return;
    fw->form()->setStaysOnTop(true);
}

Single ScreenObject::Width() const {
    if (!m_override.isEmpty()) return Single(m_override.width());
    return Single(qRound(pixelsToTwips(Runtime::displaySize().width())));
}

Single ScreenObject::Height() const {
    if (!m_override.isEmpty()) return Single(m_override.height());
    return Single(qRound(pixelsToTwips(Runtime::displaySize().height())));
}

void ScreenObject::setMousePointer(int pointer) {
    const bool busy = pointer == vbHourglass;
    const bool wasBusy = m_pointer == vbHourglass;
    m_pointer = pointer;
    if (busy && !wasBusy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else if (!busy && wasBusy)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace vb
