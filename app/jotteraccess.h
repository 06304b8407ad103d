// How the Jotter is opened: no screen has a control for it, so it is offered program-wide instead. Ctrl+J on
// any of the program's windows opens it, and where the desktop has a system tray (a teacher at the board may
// have only the pen) the program's tray icon has a menu entry "Open the Jotter".
#pragma once

#include <QObject>

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace jotter {

// Shows the Jotter as a handler of the runtime: it is loaded afresh when closed, and brought up when open.
void openJotter();
// "open", "save" or "print": the Jotter shown, and its page saved or the print dialog opened. Every way in
// (the tray's menu, a second start, the desktop's actions) comes here.
void act(const QString& action);
// Whether the last run left a page to bring back.
bool pageLeft();

class JotterAccess : public QObject {
    Q_OBJECT
public:
    // Watches the whole application for Ctrl+J and puts the icon in the tray where there is one.
    explicit JotterAccess(QObject* parent = nullptr);
    ~JotterAccess() override;

    // None where the desktop has no tray, and none until the first window has been painted.
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    // The tray menu's entries: "Open the Jotter", "Save the Jotter page", "Print the Jotter page".
    QList<QAction*> actions() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpTray();
    bool m_trayAsked = false;
    std::unique_ptr<QMenu> m_menu; // a tray menu has no parent widget to own it
    QSystemTrayIcon* m_tray = nullptr;
};

} // namespace jotter
