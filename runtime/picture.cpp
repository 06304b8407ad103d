#include "picture.h"

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

#ifndef ZB_DATA_SUBDIR
#define ZB_DATA_SUBDIR "share/zestora-biology"
#endif

namespace vb {

struct Picture::Data {
    QString path;
    QPixmap pixmap;
    QPoint hotSpot;
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
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return app->devicePixelRatio();
    return 1.0;
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

// A picture file that a decoder recognises and that is whole; decoding it is left to the caller.
bool readable(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    if (bytes.isEmpty() || !buffer.open(QIODevice::ReadOnly)) return false;
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    return reader.canRead() && endsWhole(bytes, reader.format());
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

std::shared_ptr<const Picture::Data> decode(const QString& name, const QString& file) {
    bool opened = false;
    const QByteArray bytes = readFile(file, &opened);
    if (!opened) fail(err::FileNotFound, QStringLiteral("File not found"), name);
    // The named file must be whole at any display ratio, so a broken installation shows on every board.
    if (!readable(bytes)) fail(err::InvalidPicture, QStringLiteral("Invalid picture"), name);
    auto data = std::make_shared<Picture::Data>();
    data->path = name;

    QImage image;
    qreal ratio = 1.0;
    const QFileInfo info(file);
    if (displayRatio() > 1.0) {
        // The twin drawn at twice the size keeps the picture sharp; a missing or broken twin costs only that.
        const QString twice =
            info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("@2x.") + info.suffix();
        if (QFileInfo(twice).isFile()) image = decodeBytes(readFile(twice));
        if (!image.isNull()) ratio = 2.0;
    }
    if (image.isNull()) image = QImage::fromData(bytes);
    if (image.isNull()) fail(err::InvalidPicture, QStringLiteral("Invalid picture"), name);
    data->pixmap = QPixmap::fromImage(std::move(image));
    data->pixmap.setDevicePixelRatio(ratio);
    if (info.suffix().compare(QLatin1String("cur"), Qt::CaseInsensitive) == 0)
        data->hotSpot = readCursorHotSpot(bytes);
    return data;
}
} // namespace

const QPixmap& Picture::pixmap() const {
    static const QPixmap empty;
    return m_data ? m_data->pixmap : empty;
}

QCursor Picture::cursor() const {
    if (!m_data) return QCursor();
    return QCursor(m_data->pixmap, m_data->hotSpot.x(), m_data->hotSpot.y());
}

QPoint Picture::hotSpot() const {
    return m_data ? m_data->hotSpot : QPoint();
}
QString Picture::path() const {
    return m_data ? m_data->path : QString();
}
Single Picture::Width() const {
    return m_data ? pixelsToTwips(m_data->pixmap.deviceIndependentSize().width()) : 0;
}
Single Picture::Height() const {
    return m_data ? pixelsToTwips(m_data->pixmap.deviceIndependentSize().height()) : 0;
}

Picture LoadPicture(const QString& path) {
    if (path.isEmpty()) return Picture();
    const QString file = resolveDataPath(path);
    const QFileInfo info(file);
    if (!info.exists()) fail(err::FileNotFound, QStringLiteral("File not found"), path);
    if (!info.isFile()) fail(err::InvalidPicture, QStringLiteral("Invalid picture"), path);

    // Decoding dominates a screen's start; a file that has not changed is not decoded twice.
    CacheEntry& entry = cache()[file];
    if (!entry.data || entry.size != info.size() || entry.modified != info.lastModified()) {
        entry = CacheEntry{};
        entry.data = decode(path, file);
        entry.size = info.size();
        entry.modified = info.lastModified();
    }
    if (entry.data->path != path) {
        auto renamed = std::make_shared<Picture::Data>(*entry.data);
        renamed->path = path;
        return Picture(std::move(renamed));
    }
    return Picture(entry.data);
}

void clearPictureCache() {
    cache().clear();
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
