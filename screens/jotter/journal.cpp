#include "journal.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtEndian>

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr char kMagic[] = "ZBJOTTER1\n";
constexpr qsizetype kMagicSize = sizeof kMagic - 1;
enum Entry : quint8 { StepEntry = 1, UndoEntry, RedoEntry };
constexpr int kPointBytes = 14;

quint32 crc32(const char* data, qsizetype size) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i)
        c = table[(c ^ quint8(data[i])) & 0xFF] ^ (c >> 8);
    return ~c;
}

template <class T> void put(QByteArray& out, T v) {
    v = qToLittleEndian(v);
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
}
template <class T> T get(const char* at) {
    T v;
    std::memcpy(&v, at, sizeof v);
    return qFromLittleEndian(v);
}

// One payload into the page; false when it makes no sense (then nothing is changed).
bool apply(PageSteps& steps, const char* p, quint32 size) {
    if (size == 1 && quint8(p[0]) == UndoEntry) return steps.undo(), true;
    if (size == 1 && quint8(p[0]) == RedoEntry) return steps.redo(), true;
    if (size < 6 || quint8(p[0]) != StepEntry || quint8(p[1]) > quint8(PageSteps::Kind::Tall)) return false;
    const quint32 points = get<quint32>(p + 2);
    if (quint64(size) != 6 + quint64(points) * kPointBytes) return false;
    PageSteps::Step s;
    s.kind = PageSteps::Kind(quint8(p[1]));
    s.path.reserve(points);
    for (const char* at = p + 6; at < p + size; at += kPointBytes)
        s.path.push_back({get<float>(at), get<float>(at + 4), get<qint32>(at + 8), get<quint16>(at + 12)});
    steps.add(std::move(s));
    return true;
}
} // namespace

QString Journal::folder() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation);
#else
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.local/state");
#endif
    return base + QStringLiteral("/zestora-biology");
}

QString Journal::path() {
    return folder() + QStringLiteral("/jotter.journal");
}

bool Journal::left() {
    return QFile::exists(path());
}

void Journal::step(const PageSteps::Step& s) {
    QByteArray payload;
    payload.reserve(6 + qsizetype(s.path.size()) * kPointBytes);
    put<quint8>(payload, StepEntry);
    put<quint8>(payload, quint8(s.kind));
    put<quint32>(payload, quint32(s.path.size()));
    for (const PageSteps::Point& p : s.path) {
        put<float>(payload, p.x);
        put<float>(payload, p.y);
        put<qint32>(payload, p.colour);
        put<quint16>(payload, quint16(p.width));
    }
    append(payload);
}

void Journal::undo() {
    append(QByteArray(1, char(UndoEntry)));
}

void Journal::redo() {
    append(QByteArray(1, char(RedoEntry)));
}

void Journal::append(const QByteArray& payload) {
    if (m_failed) return;
    const auto fail = [this](const char* what, int error) {
        qWarning("zestora-biology: the Jotter's journal cannot be %s in %s (%s): its page will not come back "
                 "if the program ends by accident.",
                 what, qPrintable(folder()), std::strerror(error));
        close();
        m_failed = true;
    };
    if (const int error = m_flushError.exchange(0)) return fail("written", error);
    if (m_fd < 0) {
        if (!QDir().mkpath(folder())) return fail("kept", errno);
        const QByteArray file = QFile::encodeName(path());
        m_fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (m_fd < 0) return fail("kept", errno);
        // A new file starts with its mark.
        if (::lseek(m_fd, 0, SEEK_END) == 0 && ::write(m_fd, kMagic, kMagicSize) != kMagicSize)
            return fail("written", errno);
        m_stop = m_dirty = false;
        m_flusher = std::thread(&Journal::flushing, this, QFile::encodeName(folder()));
    }
    QByteArray record;
    record.reserve(8 + payload.size());
    put<quint32>(record, quint32(payload.size()));
    put<quint32>(record, crc32(payload.constData(), payload.size()));
    record.append(payload);
    for (qsizetype done = 0; done < record.size();) {
        const ssize_t n = ::write(m_fd, record.constData() + done, size_t(record.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail("written", n < 0 ? errno : ENOSPC);
        done += n;
    }
    {
        const std::lock_guard hold(m_lock);
        m_dirty = true;
    }
    m_wake.notify_one();
}

void Journal::flushing(const QByteArray& folder) {
    // The folder first, so that the file itself survives a power cut.
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) ::fsync(dir), ::close(dir);
    std::unique_lock hold(m_lock);
    for (;;) {
        m_wake.wait(hold, [this] { return m_dirty || m_stop; });
        if (!m_dirty) return;
        m_dirty = false;
        hold.unlock();
        if (::fdatasync(m_fd) != 0) m_flushError = errno;
        hold.lock();
    }
}

void Journal::close() {
    if (m_flusher.joinable()) {
        {
            const std::lock_guard hold(m_lock);
            m_stop = true;
        }
        m_wake.notify_one();
        m_flusher.join(); // after the last flush
    }
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_failed = false;
}

void Journal::remove() {
    close();
    QFile::remove(path());
    QDir().rmdir(folder()); // only when empty
}

Journal::Reading Journal::read(const QString& file) {
    QFile f(file);
    if (!f.exists()) return {};
    if (!f.open(QIODevice::ReadOnly)) return {Outcome::Unreadable, {}, 0};
    return read(f.readAll());
}

Journal::Reading Journal::read(const QByteArray& bytes) {
    Reading r;
    if (!bytes.startsWith(QByteArray(kMagic))) return {Outcome::Unreadable, {}, 0};
    r.outcome = Outcome::Whole;
    r.length = kMagicSize;
    const char* const end = bytes.constData() + bytes.size();
    for (const char* at = bytes.constData() + kMagicSize; at < end;) {
        // A record that runs past the end was being written when the program stopped: the rest is dropped.
        if (end - at < 8) break;
        const quint32 size = get<quint32>(at);
        if (quint64(size) > quint64(end - at - 8)) break;
        const char* payload = at + 8;
        const bool last = payload + size == end;
        if (crc32(payload, size) != get<quint32>(at + 4) || !apply(r.steps, payload, size)) {
            if (!last) r.outcome = Outcome::Partial;
            break;
        }
        ++r.records;
        at = payload + size;
        r.length = at - bytes.constData();
    }
    return r;
}

void Journal::keepOnly(qint64 length) {
    ::truncate(QFile::encodeName(path()).constData(), length);
}
