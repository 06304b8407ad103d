// Only one copy of the program runs in a session: starting it again (a second tap on the icon at the board)
// brings the running copy's front screen forward instead of opening a second set of screens over it.
#pragma once

#include <QObject>

#include <functional>

class QByteArray;
class QSocketNotifier;

class SingleInstance : public QObject {
public:
    // `bringForward` runs in the first copy whenever another start hands over to it.
    explicit SingleInstance(std::function<void()> bringForward, QObject* parent = nullptr);
    ~SingleInstance() override;
    // Runs instead when that start asked something of the Jotter ("open", "save"), with what it asked.
    void setJotterTaker(std::function<void(const QString&)> take) { m_jotter = std::move(take); }
    // Runs, before `bringForward`, when that start was given a factor with --scale.
    void setScaleTaker(std::function<void(double)> takeScale) { m_takeScale = std::move(takeScale); }

    // Call once, before any window: true when a copy of this session took over (doing `jotter` with its
    // Jotter when that is given, refitting to `scale` when that is given) and this one should end. Otherwise
    // this copy answers later starts from now on.
    bool handedOver(const QString& jotter = QString(), double scale = 0);

    // Where the copies of one user's session meet: a name in Linux's abstract socket namespace, so no socket
    // file is ever written. It holds the user and the session's runtime folder.
    static QString key();

private:
    bool askRunningCopy(const QString& jotter, double scale);
    bool listen();
    void answer();
    void hear(QSocketNotifier* caller, QByteArray& heard);

    std::function<void()> m_bringForward;
    std::function<void(const QString&)> m_jotter;
    std::function<void(double)> m_takeScale;
    QSocketNotifier* m_listener = nullptr;
};

// Brings the program's windows up in their stacking order and gives the front screen the focus.
void bringProgramForward();
