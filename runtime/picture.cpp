#include "picture.h"

#include "runtime.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImageReader>
#include <QScreen>
#include <QSet>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <future>
#include <optional>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#ifndef ZB_DATA_SUBDIR
#define ZB_DATA_SUBDIR "share/zestora-biology"
#endif

namespace vb {

struct Picture::Data {
    QString path;
    QPixmap pixmap; // at the display's own resolution
    QSize size;     // the picture's own size, in the program's pixels
    QPoint hotSpot;
    qreal ratio = 1; // the display's factor it was drawn for
};

namespace {
QString g_dataDirOverride;

struct CacheEntry {
    qint64 size = -1;
    QDateTime modified;
    std::shared_ptr<const Picture::Data> data;
};
QHash<QString, CacheEntry>& cache() {
    static QHash<QString, CacheEntry> c;
    return c;
}

[[noreturn]] void fail(int number, const QString& what, const QString& name) {
    throw RuntimeError(number, QStringLiteral("%1: '%2'").arg(what, name));
}

// A Windows cursor keeps its hot spot in the directory entry, where an icon keeps planes and bit count.
QPoint readCursorHotSpot(const QByteArray& bytes) {
    if (bytes.size() < 22) return {};
    auto u16 = [&](int at) { return int(quint8(bytes[at])) | (int(quint8(bytes[at + 1])) << 8); };
    if (u16(0) != 0 || u16(2) != 2 || u16(4) < 1) return {};
    return QPoint(u16(6 + 4), u16(6 + 6));
}

qreal displayRatio() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 1.0;
    QScreen* s = Runtime::display();
    return s ? s->devicePixelRatio() : 1.0;
}

// Pictures are drawn at 1x and at each whole scale up to this one, as NAME@2x.jpg and so on.
constexpr int kLargestScale = 4;

QString drawnAt(const QFileInfo& info, int scale) {
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("@%1x.").arg(scale) +
           info.suffix();
}

// Decoders fill a picture whose data stops early with grey and call it good; the file's own end tells.
bool endsWhole(const QByteArray& bytes, const QByteArray& format) {
    if (format == "jpeg" || format == "jpg") {
        // Inside scan data every 0xFF byte is stuffed, so an end marker after the last scan is the real end.
        return bytes.lastIndexOf(QByteArrayLiteral("\xFF\xD9")) >
               bytes.lastIndexOf(QByteArrayLiteral("\xFF\xDA"));
    }
    if (format == "png") return bytes.endsWith(QByteArrayLiteral("IEND\xAE\x42\x60\x82"));
    if (format == "ico" || format == "cur") {
        auto u16 = [&](qsizetype at) {
            return quint32(quint8(bytes[at])) | (quint32(quint8(bytes[at + 1])) << 8);
        };
        auto u32 = [&](qsizetype at) { return u16(at) | (u16(at + 2) << 16); };
        if (bytes.size() < 6) return false;
        const qsizetype count = u16(4);
        if (bytes.size() < 6 + 16 * count) return false;
        for (qsizetype entry = 6; entry < 6 + 16 * count; entry += 16)
            if (quint64(u32(entry + 8)) + u32(entry + 12) > quint64(bytes.size())) return false;
    }
    return true;
}

// A picture file that a decoder recognises and that is whole; decoding it is left to the caller. `size` gets
// the size its header gives, if it gives one.
bool readable(const QByteArray& bytes, QSize* size = nullptr) {
    QBuffer buffer;
    buffer.setData(bytes);
    if (bytes.isEmpty() || !buffer.open(QIODevice::ReadOnly)) return false;
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead() || !endsWhole(bytes, reader.format())) return false;
    if (size) *size = reader.size();
    return true;
}

QImage decodeBytes(const QByteArray& bytes) {
    if (!readable(bytes)) return {};
    return QImage::fromData(bytes);
}

QByteArray readFile(const QString& file, bool* opened = nullptr) {
    QFile f(file);
    const bool ok = f.open(QIODevice::ReadOnly);
    if (opened) *opened = ok;
    return ok ? f.readAll() : QByteArray();
}

// What a worker can do of a load: everything but the pixmap, which belongs to the GUI thread.
struct Decoded {
    QImage image; // at the display's own resolution
    QSize size;
    QPoint hotSpot;
};

Decoded decodeImage(const QString& name, const QString& file, qreal ratio) {
    bool opened = false;
    const QByteArray bytes = readFile(file, &opened);
    if (!opened) fail(err::FileNotFound, QStringLiteral("File not found"), name);
    Decoded d;
    // The named file must be whole at any display ratio, so a broken installation shows on every board.
    if (!readable(bytes, &d.size)) fail(err::InvalidPicture, QStringLiteral("Invalid picture"), name);
    const QFileInfo info(file);
    if (info.suffix().compare(QLatin1String("cur"), Qt::CaseInsensitive) == 0)
        d.hotSpot = readCursorHotSpot(bytes);
    if (ratio > 1.0 && !d.size.isEmpty()) {
        // The nearest drawing at or above the display's factor keeps the picture sharp (and spares decoding
        // the one named); a missing or broken one costs only that, and the next larger is tried.
        for (int scale = int(std::ceil(ratio - 1e-6)); scale <= kLargestScale && d.image.isNull(); ++scale) {
            const QString larger = drawnAt(info, scale);
            const QImage drawn = QFileInfo(larger).isFile() ? decodeBytes(readFile(larger)) : QImage();
            if (drawn.size() == d.size * scale) d.image = drawn;
        }
    }
    if (d.image.isNull()) {
        d.image = QImage::fromData(bytes);
        if (d.image.isNull()) fail(err::InvalidPicture, QStringLiteral("Invalid picture"), name);
        d.size = d.image.size();
    }
    // Brought to the display's own pixels once here, so that painting it is a plain copy.
    const QSize device = (QSizeF(d.size) * ratio).toSize();
    if (ratio > 1.0 && d.image.size() != device)
        d.image = d.image.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return d;
}

std::shared_ptr<const Picture::Data> finish(const QString& name, Decoded d, qreal ratio) {
    auto data = std::make_shared<Picture::Data>();
    data->path = name;
    data->size = d.size;
    data->hotSpot = d.hotSpot;
    data->ratio = ratio;
    data->pixmap = QPixmap::fromImage(std::move(d.image));
    data->pixmap.setDevicePixelRatio(qreal(data->pixmap.width()) / data->size.width());
    return data;
}

// The cached drawing of a file, if the file is unchanged and it was drawn for this factor.
std::shared_ptr<const Picture::Data> cached(const QString& file, const QFileInfo& info, qreal ratio) {
    const auto at = cache().constFind(file);
    if (at == cache().cend() || !at->data || at->size != info.size() || at->modified != info.lastModified() ||
        at->data->ratio != ratio)
        return {};
    return at->data;
}

void keep(const QString& file, const QFileInfo& info, std::shared_ptr<const Picture::Data> data) {
    cache()[file] = CacheEntry{info.size(), info.lastModified(), std::move(data)};
}

// A picture read ahead on the worker. Whoever comes to it first decodes it: a screen that needs it before the
// worker has started on it reads it itself rather than wait behind the pictures queued before it.
struct Ahead {
    QFileInfo info;
    qreal ratio;
    std::shared_ptr<std::atomic_bool> taken;
    std::shared_future<Decoded> decoded; // a null image where the worker could not read it
};
QHash<QString, Ahead>& ahead() {
    static QHash<QString, Ahead> a;
    return a;
}

QThreadPool* makeReader(QThread::Priority priority) {
    auto* p = new QThreadPool;
    p->setMaxThreadCount(1);
    p->setThreadPriority(priority);
    return p;
}

// One thread each, so that one core is always left to the display server: the photographs wanted next at the
// program's own priority, the others only on a core that nothing else wants (the screens, the display server
// and a click come first).
QThreadPool& reader(bool soon) {
    static QThreadPool* const pools[] = {makeReader(QThread::IdlePriority),
                                         makeReader(QThread::NormalPriority)};
    [[maybe_unused]] static const bool hooked = [] {
        // Decoding needs the application's image plugins: the workers are done before they go.
        qAddPostRoutine([] {
            for (QThreadPool* p : pools) {
                p->clear();
                p->waitForDone();
            }
            ahead().clear();
        });
        return true;
    }();
    return *pools[soon ? 1 : 0];
}

// What the worker made of the file, if it was read ahead for this factor and has not changed since.
std::optional<Decoded> readAlready(const QString& file, const QFileInfo& info, qreal ratio) {
    const auto at = ahead().constFind(file);
    if (at == ahead().cend()) return std::nullopt;
    const Ahead a = *at;
    ahead().erase(at);
    if (a.taken->exchange(true) == false || a.ratio != ratio || a.info.size() != info.size() ||
        a.info.lastModified() != info.lastModified())
        return std::nullopt;
    Decoded d = a.decoded.get();
    if (d.image.isNull()) return std::nullopt; // read here again, which reports the fault
    return d;
}
} // namespace

const QPixmap& Picture::pixmap() const {
    static const QPixmap empty;
    return m_data ? m_data->pixmap : empty;
}

QCursor Picture::cursor() const {
    if (!m_data) return QCursor();
    // The window system shows a cursor pixel for pixel: it is given the display's own size.
    const qreal ratio = m_data->pixmap.devicePixelRatio();
    const QPoint spot = (QPointF(m_data->hotSpot) * ratio).toPoint();
    return QCursor(m_data->pixmap, spot.x(), spot.y());
}

QPoint Picture::hotSpot() const {
    return m_data ? m_data->hotSpot : QPoint();
}
QString Picture::path() const {
    return m_data ? m_data->path : QString();
}
Single Picture::Width() const {
    return m_data ? pixelsToTwips(m_data->size.width()) : 0;
}
Single Picture::Height() const {
    return m_data ? pixelsToTwips(m_data->size.height()) : 0;
}

Picture Picture::redrawn() const {
    if (!m_data || m_data->path.isEmpty() || m_data->ratio == displayRatio()) return *this;
    try {
        return LoadPicture(m_data->path);
    } catch (const RuntimeError&) {
        return *this;
    }
}

struct Picture::Redrawing::Job {
    QString file;
    QFileInfo info;
    QString path;
    qreal ratio;
    qint64 pixels;
    std::future<Decoded> decoded;
};

Picture::Redrawing::Redrawing(const QList<Picture>& pictures) {
    const qreal ratio = displayRatio();
    QSet<QString> files;
    for (const Picture& p : pictures) {
        if (!p.m_data || p.m_data->path.isEmpty() || p.m_data->ratio == ratio) continue;
        const QString file = resolveDataPath(p.m_data->path);
        const QFileInfo info(file);
        if (files.contains(file) || !info.isFile() || cached(file, info, ratio)) continue;
        files.insert(file);
        const QSizeF device = QSizeF(p.m_data->size) * ratio;
        m_jobs.push_back({file, info, p.m_data->path, ratio, qint64(device.width() * device.height()),
                          std::async(std::launch::async, [path = p.m_data->path, file, ratio] {
                              return decodeImage(path, file, ratio);
                          })});
    }
}

Picture::Redrawing::~Redrawing() {
    for (Job& job : m_jobs)
        finishJob(job);
}

void Picture::Redrawing::finishJob(Job& job) {
    if (!job.decoded.valid()) return;
    try {
        keep(job.file, job.info, finish(job.path, job.decoded.get(), job.ratio));
    } catch (const RuntimeError&) {
        // redrawn() meets the same fault and keeps the picture as it was.
    }
}

namespace {
// Whether one of these pictures is read from `file`, under whichever name.
bool among(const QString& file, const QList<Picture>& pictures) {
    return std::any_of(pictures.cbegin(), pictures.cend(),
                       [&](const Picture& p) { return !p.isEmpty() && resolveDataPath(p.path()) == file; });
}
} // namespace

void Picture::Redrawing::wait(const QList<Picture>& pictures) {
    for (Job& job : m_jobs)
        if (among(job.file, pictures)) finishJob(job);
}

qint64 Picture::Redrawing::pixelsToCome(const QList<Picture>& pictures) const {
    qint64 all = 0;
    for (const Job& job : m_jobs)
        if (job.decoded.valid() && among(job.file, pictures)) all += job.pixels;
    return all;
}

Picture LoadPicture(const QString& path) {
    if (path.isEmpty()) return Picture();
    const QString file = resolveDataPath(path);
    const QFileInfo info(file);
    if (!info.exists()) fail(err::FileNotFound, QStringLiteral("File not found"), path);
    if (!info.isFile()) fail(err::InvalidPicture, QStringLiteral("Invalid picture"), path);

    // Decoding dominates a screen's start; a file that has not changed is not decoded twice.
    const qreal ratio = displayRatio();
    std::shared_ptr<const Picture::Data> data = cached(file, info, ratio);
    if (!data) {
        std::optional<Decoded> d = readAlready(file, info, ratio);
        data = finish(path, d ? std::move(*d) : decodeImage(path, file, ratio), ratio);
        keep(file, info, data);
    }
    if (data->path != path) {
        auto renamed = std::make_shared<Picture::Data>(*data);
        renamed->path = path;
        return Picture(std::move(renamed));
    }
    return Picture(std::move(data));
}

void readPicturesAhead(const QStringList& names) {
    const qreal ratio = displayRatio();
    QStringList all = names;
    if (all.isEmpty()) {
        const QDir images(resolveDataPath(QStringLiteral("Images")));
        // The smallest first: the most pictures are ready soonest. A name filter would compile a regular
        // expression, and load its library, for this alone.
        for (const QString& entry : images.entryList(QDir::Files, QDir::Size | QDir::Reversed))
            if (entry.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) &&
                !entry.contains(QLatin1Char('@'))) // the larger drawings are chosen as each is read
                all << QStringLiteral("Images/") + entry;
    }
    for (const QString& name : all) {
        const QString file = resolveDataPath(name);
        const QFileInfo info(file);
        if (cached(file, info, ratio) || ahead().contains(file)) continue;
        auto taken = std::make_shared<std::atomic_bool>(false);
        auto promise = std::make_shared<std::promise<Decoded>>();
        ahead().insert(file, {info, ratio, taken, promise->get_future().share()});
        reader(!names.isEmpty()).start([name, file, ratio, taken, promise] {
            if (taken->exchange(true)) return;
            try {
                promise->set_value(decodeImage(name, file, ratio));
            } catch (const RuntimeError&) {
                promise->set_value({});
            }
        });
    }
}

void mapLargeBlocks() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}

void clearPictureCache() {
    cache().clear();
    for (const Ahead& a : std::exchange(ahead(), {}))
        a.taken->store(true);
}

QString DataDir() {
    if (!g_dataDirOverride.isEmpty()) return g_dataDirOverride;
    static const QString dir = [] {
        const QString exeDir = QCoreApplication::applicationDirPath();
        const QStringList candidates = {exeDir,
                                        QDir::cleanPath(exeDir + QStringLiteral("/../" ZB_DATA_SUBDIR))};
        for (const QString& c : candidates)
            if (QFileInfo(c + QStringLiteral("/Images")).isDir()) return c;
        return exeDir;
    }();
    return dir;
}

void setDataDir(const QString& dir) {
    g_dataDirOverride = dir;
    clearPictureCache();
}

QString resolveDataPath(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(n)) return n;
    return DataDir() + QLatin1Char('/') + n;
}

} // namespace vb
