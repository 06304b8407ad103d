#include "notepad.h"

#include "input.h"
#include "pageexport.h"

#include <QDir>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>
#include <QStyleHints>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace vb;

namespace {
constexpr OleColor kExitFace = RGB(255, 224, 192);
constexpr OleColor kWriteFace = RGB(255, 255, 192);
constexpr OleColor kEraseFace = RGB(192, 192, 0);
constexpr OleColor kClearFace = RGB(255, 192, 128);
constexpr OleColor kFlipFace = RGB(128, 128, 255);
constexpr int kPenWidth = 3;
constexpr int kEraserWidth = 30;
// A tap of two or three fingers: pressed within this many milliseconds of each other, each lifted within
// the next, and barely moved.
constexpr quint64 kTapSpread = 150, kTapHold = 250;

CommandButton& button(CommandButton& b, const QString& caption, OleColor face) {
    b.setStyle(1);
    b.setBackColor(face);
    b.setCaption(caption);
    b.setFontDesc({QStringLiteral("Tahoma"), 12});
    return b;
}

// What a screen reader calls the swatches, in the palette's order.
const char* const kColourNames[16] = {"black", "navy",   "green",  "teal", "maroon", "purple",
                                      "olive", "silver", "grey",   "blue", "lime",   "aqua",
                                      "red",   "pink",   "yellow", "white"};

Label& swatch(Label& l) {
    l.setBackStyle(vbOpaque);
    l.setBorderStyle(vbBSNone);
    l.setAccessibleName(QLatin1String(kColourNames[l.Index()]) + QStringLiteral(" pen"));
    return l;
}
} // namespace

notepad::notepad() : Form(QStringLiteral("notepad")) {
    Command1.onClick([this] { Command1_Click(); });
    Command2.onClick([this] { Command2_Click(); });
    Command3.onClick([this] { Command3_Click(); });
    Command4.onClick([this] { Command4_Click(); });
    Command5.onClick([this] { Command5_Click(); });
    Command6.onClick([this] { Command6_Click(); });
    Command7.onClick([this] { Command7_Click(); });
    Command8.onClick([this] { Command8_Click(); });
    Command9.onClick([this] { Command9_Click(); });
    Command10.onClick([this] { Command10_Click(); });
    Label1.onClick([this](int Index) { Label1_Click(Index); });
    Label11.onClick([this](int Index) { Label11_Click(Index); });
}

void notepad::Design() {
    setDecorated(true);
    setCaption(QStringLiteral("Jotter"));
    setManyPointers(true); // pupils write side by side
    setClientSize(9915, 3660);
    // First placed at the top of the display, across its middle: it may grow to the display's height. Later
    // it comes back where the teacher last put it, held on the display's free area.
    setLeft(Single((double(Screen.Width()) - double(Width())) / 2));
    setTop(0);
    if (LastPlace) {
        const QScreen* display = Runtime::display();
        const QRect area = display ? display->availableGeometry() : QRect(0, 0, 800, 600);
        const QSize size(twipsToPixels(Width()), twipsToPixels(Height()));
        const QPoint farthest = area.bottomRight() + QPoint(1, 1) - QPoint(size.width(), size.height());
        setLeft(pixelsToTwips(std::clamp(LastPlace->x(), area.left(), std::max(area.left(), farthest.x()))));
        setTop(pixelsToTwips(std::clamp(LastPlace->y(), area.top(), std::max(area.top(), farthest.y()))));
    }

    auto& landscape = add<Frame>("Frame_landscape", 0, 2910, 9920, 750);
    landscape.setAccessibleName(QStringLiteral("Jotter tools"));
    button(add<CommandButton>("Command1", 60, 180, 930, 480, &landscape), QStringLiteral("Exit"), kExitFace);
    button(add<CommandButton>("Command2", 1120, 180, 930, 480, &landscape), QStringLiteral("Write"),
           kWriteFace);
    button(add<CommandButton>("Command5", 2180, 180, 930, 480, &landscape), QStringLiteral("Erase"),
           kEraseFace);
    button(add<CommandButton>("Command6", 3240, 180, 930, 480, &landscape), QStringLiteral("Clear"),
           kClearFace);
    button(add<CommandButton>("Command3", 4305, 180, 585, 480, &landscape), QStringLiteral("Flip"),
           kFlipFace);
    // The swatches are laid out by Load; here they only wait at the first one's place.
    for (int i = 0; i < 16; ++i)
        swatch(add<Label>("Label1", i, 5010, 285, 240, 240, &landscape));

    auto& portrait = add<Frame>("Frame_portrait", 0, 0, 1035, 5250);
    portrait.setAccessibleName(QStringLiteral("Jotter tools"));
    portrait.hide();
    button(add<CommandButton>("Command9", 60, 180, 930, 480, &portrait), QStringLiteral("Exit"), kExitFace);
    button(add<CommandButton>("Command10", 60, 705, 930, 480, &portrait), QStringLiteral("Write"),
           kWriteFace);
    button(add<CommandButton>("Command8", 60, 1230, 930, 480, &portrait), QStringLiteral("Erase"),
           kEraseFace);
    button(add<CommandButton>("Command7", 60, 1755, 930, 480, &portrait), QStringLiteral("Clear"),
           kClearFace);
    button(add<CommandButton>("Command4", 60, 2280, 930, 480, &portrait), QStringLiteral("Flip"), kFlipFace);
    for (int i = 0; i < 16; ++i)
        swatch(add<Label>("Label11", i, 180, 2820, 240, 240, &portrait));
}

void notepad::Form_Load() {
    setBackColor(kPageColour);
    setDrawWidth(kPenWidth);
    Frame_portrait->setBackColor(kPageColour);
    Frame_landscape->setBackColor(kPageColour);
    SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    for (int i = 0; i <= 15; ++i) {
        Label1(i).setBackColor(QBColor(i));
        Label11(i).setBackColor(QBColor(i));
    }
    for (int i = 1; i <= 15; ++i) {
        Label1(i).setHeight(Label1(0).Height());
        Label1(i).setWidth(Label1(0).Width());
        Label1(i).setTop(285);
        Label1(i).setLeft(Label1(i - 1).Left() + 305);
    }
    for (int i = 1; i <= 7; ++i) {
        Label11(i).setHeight(Label11(0).Height());
        Label11(i).setWidth(Label11(0).Width());
        Label11(i).setTop(Label11(i - 1).Top() + Label11(0).Height() + 50);
        Label11(i).setLeft(Label11(0).Left());
    }
    for (int i = 8; i <= 15; ++i) {
        Label11(i).setHeight(Label11(0).Height());
        Label11(i).setWidth(Label11(0).Width());
        Label11(i).setTop(Label11(i - 8).Top());
        Label11(i).setLeft(Label11(i - 8).Left() + 400);
    }

    setForeColor(QBColor(14));
    SavedPenColour = ForeColor();

    recover();
    const auto keys = [this](QKeyCombination key, void (notepad::*step)()) {
        QObject::connect(new QShortcut(QKeySequence(key), hWnd()), &QShortcut::activated, hWnd(),
                         [this, step] { Runtime::dispatch([this, step] { (this->*step)(); }); });
    };
    keys(Qt::CTRL | Qt::Key_Z, &notepad::undo);
    keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z, &notepad::redo);
    keys(Qt::CTRL | Qt::Key_Y, &notepad::redo);
    keys(Qt::CTRL | Qt::Key_S, &notepad::savePage);
    keys(Qt::CTRL | Qt::Key_P, &notepad::printPage);
}

// A stroke starts exactly where the pen touched down, whichever button it was. Every pointer draws a stroke
// of its own: the runtime keeps a current point for each.
void notepad::Form_MouseDown(int, int, Single X, Single Y) {
    setCurrentX(X);
    setCurrentY(Y);
    const Pointer& p = Input::pointer();
    Stroke s;
    s.step.path.push_back({X, Y, 0, 0});
    s.down = p.time;
    s.finger = p.kind == Pointer::Touch;
    m_strokes.insert(p.id, std::move(s));
}

void notepad::Form_MouseMove(int Button, int, Single X, Single Y) {
    if (Button != vbLeftButton) return;
    const Pointer& p = Input::pointer();
    auto it = m_strokes.find(p.id);
    if (it == m_strokes.end()) { // pressed with another button first
        Form_MouseDown(Button, 0, CurrentX(), CurrentY());
        it = m_strokes.find(p.id);
    }
    // The pen's eraser end rubs out whatever the buttons say; its pressure sets the width around the
    // design width, which it has at medium pressure.
    OleColor colour = ForeColor();
    int width = DrawWidth();
    if (p.eraser) {
        colour = kPageColour;
        width = kEraserWidth;
    } else if (p.pressure >= 0 && colour != kPageColour) {
        width = std::clamp(int(std::lround(2 * p.pressure * width)), 1, 2 * width);
    }
    const OleColor pen = ForeColor();
    const int penWidth = DrawWidth();
    setForeColor(colour);
    setDrawWidth(width);
    Line(CurrentX(), CurrentY(), X, Y);
    setForeColor(pen);
    setDrawWidth(penWidth);
    const PageSteps::Point& start = it->step.path.front();
    const double slop = pixelsToTwips(QGuiApplication::styleHints()->startDragDistance());
    if (std::hypot(X - start.x, Y - start.y) > slop) it->still = false;
    it->step.path.push_back({X, Y, colour, width});
}

void notepad::Form_MouseUp(int, int, Single, Single) {
    const Pointer& p = Input::pointer();
    const auto it = m_strokes.find(p.id);
    if (it == m_strokes.end()) return;
    Stroke s = std::move(*it);
    m_strokes.erase(it);
    const bool drawn = s.step.path.size() > 1;
    if (!s.finger) {
        if (drawn) record(std::move(s.step));
    } else {
        m_lifted.push_back({s.down, p.time, s.still});
        if (drawn) m_waiting.push_back(std::move(s.step));
        if (std::none_of(m_strokes.cbegin(), m_strokes.cend(), [](const Stroke& o) { return o.finger; }))
            fingersLifted();
    }
    // The last stroke under way has ended: the undos and redos pressed meanwhile follow it.
    if (!m_strokes.isEmpty()) return;
    for (const bool again : std::exchange(m_pending, {}))
        takeBack(again);
}

void notepad::fingersLifted() {
    const auto [first, last] = std::minmax_element(
        m_lifted.cbegin(), m_lifted.cend(), [](const Lifted& a, const Lifted& b) { return a.down < b.down; });
    bool tap = (m_lifted.size() == 2 || m_lifted.size() == 3) && last->down - first->down <= kTapSpread;
    for (const Lifted& f : m_lifted)
        tap = tap && f.still && f.up - f.down <= kTapHold;
    const bool twoFingers = m_lifted.size() == 2;
    m_lifted.clear();
    if (tap) {
        // The dots the fingers left are no ink.
        m_waiting.clear();
        redrawPage();
        takeBack(!twoFingers);
    }
    for (PageSteps::Step& s : std::exchange(m_waiting, {}))
        record(std::move(s));
}

void notepad::record(PageSteps::Step step) {
    m_journal.step(step);
    m_steps.add(std::move(step));
}

void notepad::takeBack(bool again) {
    if (!m_strokes.isEmpty()) {
        m_pending.push_back(again);
        return;
    }
    if (!(again ? m_steps.redo() : m_steps.undo())) return;
    again ? m_journal.redo() : m_journal.undo();
    redrawPage();
}

void notepad::undo() {
    takeBack(false);
}

void notepad::redo() {
    takeBack(true);
}

// What the page shows: its steps, the fingers' strokes waiting for the last finger, the strokes under way.
template <class F> void notepad::forPage(F draw) const {
    m_steps.forShown(draw);
    for (const PageSteps::Step& s : m_waiting)
        draw(s);
    for (const Stroke& s : m_strokes)
        draw(s.step);
}

void notepad::Form_Paint() {
    redrawPage();
}

// The page drawn afresh, the strokes under way on top; the pen stays as it is.
void notepad::redrawPage() {
    const OleColor pen = ForeColor();
    const int width = DrawWidth();
    const Single x = CurrentX(), y = CurrentY();
    Cls();
    const auto draw = [this](const PageSteps::Step& s) {
        for (size_t i = 1; i < s.path.size(); ++i) {
            setForeColor(s.path[i].colour);
            setDrawWidth(s.path[i].width);
            Line(s.path[i - 1].x, s.path[i - 1].y, s.path[i].x, s.path[i].y);
        }
    };
    forPage(draw);
    setForeColor(pen);
    setDrawWidth(width);
    setCurrentX(x);
    setCurrentY(y);
}

void notepad::emptied(PageSteps::Kind kind) {
    // What was written before the page emptied comes before it in the history, strokes under way included:
    // they go on as new strokes from where they are.
    for (PageSteps::Step& s : std::exchange(m_waiting, {}))
        record(std::move(s));
    for (Stroke& s : m_strokes) {
        if (s.step.path.size() > 1) record(s.step);
        s.step.path.erase(s.step.path.begin(), s.step.path.end() - 1);
        s.still = false;
    }
    record({kind, {}});
}

void notepad::pickSwatch(const Label& swatch) {
    setDrawWidth(kPenWidth);
    setForeColor(swatch.BackColor());
    SavedPenColour = ForeColor();
}

void notepad::Label1_Click(int Index) {
    pickSwatch(Label1(Index));
}
void notepad::Label11_Click(int Index) {
    pickSwatch(Label11(Index));
}

void notepad::write() {
    setForeColor(SavedPenColour);
    setDrawWidth(kPenWidth);
}

void notepad::erase() {
    // A second Erase must not remember the eraser as the pen, or Write would then draw in the page colour.
    if (ForeColor() != kPageColour) SavedPenColour = ForeColor();
    setForeColor(kPageColour);
    setDrawWidth(kEraserWidth);
}

void notepad::clear() {
    Cls();
    emptied(PageSteps::Kind::Clear);
    setBackColor(kPageColour);
    if (ForeColor() == kPageColour) setForeColor(QBColor(14));
    setDrawWidth(kPenWidth);
}

void notepad::putAway() {
    LastPlace = hWnd()->pos();
    Unload();
}

void notepad::Command1_Click() {
    putAway();
}
void notepad::Command9_Click() {
    putAway();
}
void notepad::Command2_Click() {
    write();
}
void notepad::Command10_Click() {
    write();
}
void notepad::Command5_Click() {
    erase();
}
void notepad::Command8_Click() {
    erase();
}
void notepad::Command6_Click() {
    clear();
}
void notepad::Command7_Click() {
    clear();
}

void notepad::Command3_Click() {
    Cls();
    emptied(PageSteps::Kind::Tall);
    turn(true);
}

void notepad::Command4_Click() {
    Cls();
    emptied(PageSteps::Kind::Wide);
    turn(false);
}

void notepad::turn(bool tall) {
    setWidth(tall ? 4000 : 10005);
    setHeight(tall ? 12000 : 4140);
    if (tall) Frame_portrait->setLeft(Width() - Frame_portrait->Width() - 80);
    Frame_landscape->setVisible(!tall);
    Frame_portrait->setVisible(tall);
}

// The title bar's close button puts the pad away as its Exit does.
void notepad::closeRequested() {
    putAway();
}

// Exit, the title bar's close, or the program's own end: nothing is kept, as the teacher meant. After an
// error report it is kept, as after a crash.
void notepad::Form_Unload() {
    if (Runtime::ended() && Runtime::exitCode() != 0)
        m_journal.close();
    else
        m_journal.remove();
}

// A page the program lost by accident comes back, its history with it.
void notepad::recover() {
    m_steps.forget();
    m_strokes.clear();
    m_lifted.clear();
    m_waiting.clear();
    m_pending.clear();
    m_journal.close();
    Journal::Reading r = Journal::read(Journal::path());
    if (r.outcome == Journal::Outcome::None) return;
    QString notice = QStringLiteral("The Jotter's page from before could not be read: it starts empty.");
    if (r.outcome == Journal::Outcome::Unreadable) {
        m_journal.remove();
    } else {
        Journal::keepOnly(r.length); // further steps follow the last whole one
        m_steps = std::move(r.steps);
        if (m_steps.tall()) turn(true);
        redrawPage();
        notice = r.outcome == Journal::Outcome::Whole
                     ? QStringLiteral("The Jotter's page is back as it was when the program stopped.")
                     : QStringLiteral("The Jotter's page is back, but for its last steps, which could not be "
                                      "read.");
    }
    showNotice(hWnd(), notice);
}

pageexport::Page notepad::page() const {
    pageexport::Page page;
    forPage([&page](const PageSteps::Step& s) { page.strokes.push_back(&s); });
    const bool tall = Frame_portrait->isVisible();
    page.size = QSizeF(tall ? Frame_portrait->geometry().left() : hWnd()->width(),
                       tall ? hWnd()->height() : Frame_landscape->geometry().top());
    page.ratio = hWnd()->devicePixelRatioF();
    return page;
}

void notepad::savePage() {
    const QString into = QDir::toNativeSeparators(pageexport::folder());
    const QString name = pageexport::save(page(), into);
    showNotice(hWnd(), name.isEmpty()
                           ? QStringLiteral("The page could not be saved in %1.").arg(into)
                           : QStringLiteral("Saved in %1 as \"%2\", PDF and PNG.").arg(into, name));
}

void notepad::printPage() {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    const QSizeF size = page().size;
    printer->setPageOrientation(size.width() > size.height() ? QPageLayout::Landscape
                                                             : QPageLayout::Portrait);
    printer->setDocName(QStringLiteral("Jotter"));
    auto* dialog = new QPrintDialog(printer.get(), hWnd());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, hWnd(),
                     [this, printer] { Runtime::dispatch([&] { pageexport::print(*printer, page()); }); });
    dialog->open();
}
