// Pictures and cursors read at run time, and where the program's data files are found.
#pragma once

#include "basics.h"

#include <QCursor>
#include <QList>
#include <QPixmap>
#include <QString>

#include <memory>
#include <vector>

namespace vb {

// A loaded picture, shared by value: copies refer to the same decoded pixels.
class Picture {
public:
    Picture() = default;
    bool isEmpty() const { return !m_data; }
    const QPixmap& pixmap() const;
    QCursor cursor() const; // the picture as a mouse pointer, hot spot included
    QPoint hotSpot() const;
    QString path() const; // the name as the screen asked for it
    Single Width() const; // in twips, at the picture's own size
    Single Height() const;
    bool operator==(const Picture& other) const { return m_data == other.m_data; }
    // The same picture drawn for the display's factor as it is now; itself where that has not changed or
    // the file can no longer be read.
    Picture redrawn() const;
    // Draws pictures for the display's factor as it is now, side by side on the machine's cores, so that
    // each one's redrawn() finds its drawing ready once `wait` has returned for it.
    class Redrawing {
    public:
        explicit Redrawing(const QList<Picture>& pictures);
        ~Redrawing(); // waits for the rest
        void wait(const QList<Picture>& pictures);
        // The pixels still to be drawn of these: those a form waits for.
        qint64 pixelsToCome(const QList<Picture>& pictures) const;

    private:
        struct Job;
        static void finishJob(Job& job);
        std::vector<Job> m_jobs;
    };

    struct Data;
    explicit Picture(std::shared_ptr<const Data> data) : m_data(std::move(data)) {}

private:
    std::shared_ptr<const Data> m_data;
};

// Reads a JPEG, PNG or Windows cursor. An empty path gives the empty picture. Relative names, with either
// slash, are taken from the program's data folder. A missing or unreadable file raises a runtime error that
// names the file.
Picture LoadPicture(const QString& path = QString());

// The program's data folder: beside the executable in the build tree, or the installed data folder.
QString DataDir();
void setDataDir(const QString& dir); // tests point the program at other data; empty restores the default
QString resolveDataPath(const QString& name);

// Reads the data folder's photographs on a worker thread of idle priority, or those named on one of the
// program's own priority, at the display's factor as it is now: decoding them was most of the first visit of
// a screen that shows one, which then finds it ready, or waits for the rest of a reading under way. Pictures
// already read are skipped.
void readPicturesAhead(const QStringList& names = {});

// Has every large block of memory (a decoded picture, a text's picture) mapped on its own and handed back
// to the system when freed. Otherwise the allocator, once the first is freed, keeps later ones in its heap,
// where the space they leave stays with the program: 5 MB over a hundred tours at 3840 x 2160.
void mapLargeBlocks();

// Drops decoded pictures that no screen holds any more (they are otherwise kept for the next load).
void clearPictureCache();

} // namespace vb
