// A broken installation at the board: each picture and the cursor missing, empty, cut short or not a picture
// at all. The screen that reads it stops the program with the runtime's report naming the file (status 1),
// never a crash; only the title picture has a fallback, the house style. The same from any working folder.
#include "damage.h"
#include "registry.h"
#include "support/testsupport.h"
#include "tour.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

class TestBadInput : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_data;
    QString m_realData;
    RecordingPlatform* m_desktop = nullptr;

    // A copy of the program's data in which the test may break things.
    QString freshData() {
        m_data = std::make_unique<QTemporaryDir>();
        return copyProgramData(m_realData, m_data->path()) ? m_data->path() : QString();
    }

    // The program started on a copy of its data with `picture` damaged.
    bool startWith(const QString& picture, Damage d) {
        const QString data = freshData();
        if (data.isEmpty() || !damage(dataFile(data, picture), d)) return false;
        setDataDir(data);
        tour::start();
        return true;
    }

private slots:
    void initTestCase() {
        m_realData = DataDir();
        QVERIFY2(QFileInfo::exists(m_realData + QStringLiteral("/Images/bee.jpg")), qPrintable(m_realData));
    }
    void init() {
        freshRuntime();
        m_desktop = &recordDesktop();
    }
    void cleanup() { freshRuntime(); }

    void aBrokenPictureStopsTheProgramNamingIt_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<Damage>("damage");
        for (const tour::PictureUse& p : tour::kPictures)
            if (QLatin1String(p.screen) != QLatin1String(tour::kFirstScreen))
                for (Damage d : kDamages)
                    QTest::addRow("%s %s", p.file, qPrintable(damageName(d)))
                        << QString::fromLatin1(p.file) << QString::fromLatin1(p.screen) << d;
    }
    void aBrokenPictureStopsTheProgramNamingIt() {
        QFETCH(QString, picture);
        QFETCH(QString, screen);
        QFETCH(Damage, damage);
        if (!tour::reachableScreens().contains(screen)) QSKIP("that screen is not in this build yet");
        QVERIFY(startWith(picture, damage));
        QVERIFY(!Runtime::ended());
        QVERIFY(!tour::open(screen));
        QVERIFY(Runtime::ended());
        QCOMPARE(Runtime::exitCode(), 1);
        QCOMPARE(m_desktop->errorReports.size(), 1);
        const QString report = m_desktop->errorReports.first();
        QVERIFY2(report.contains(QStringLiteral("'%1'").arg(picture)), qPrintable(report));
        QVERIFY2(report.contains(damage == Damage::Missing ? QLatin1String("File not found")
                                                           : QLatin1String("Invalid picture")),
                 qPrintable(report));
        // Every window went with the report; nothing is left half-built on the board.
        tour::settle();
        QVERIFY(Runtime::loadedForms().isEmpty());
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!w->isVisible());
    }

    void aBrokenTitlePictureFallsBackToTheHouseStyle_data() {
        QTest::addColumn<Damage>("damage");
        for (Damage d : kDamages)
            QTest::newRow(qPrintable(damageName(d))) << d;
    }
    void aBrokenTitlePictureFallsBackToTheHouseStyle() {
        QFETCH(Damage, damage);
        QVERIFY(startWith(QStringLiteral("Images\\beesm.jpg"), damage));
        Form* title = tour::loadedScreen(QString::fromLatin1(tour::kFirstScreen));
        QVERIFY(title);
        QCOMPARE(title->BackColor(), RGB(49, 135, 214));
        QCOMPARE(title->Width(), Single(12000));
        auto* picture = qobject_cast<PictureBox*>(title->findControl(QStringLiteral("Picture1")));
        QVERIFY(picture && picture->Picture().isEmpty());
        // OK still leads on, and the program goes on from there.
        if (tour::reachableScreens().contains(QString::fromLatin1(tour::kOpening)))
            QVERIFY(tour::open(QString::fromLatin1(tour::kOpening)));
        QVERIFY(m_desktop->errorReports.isEmpty());
        QVERIFY(!Runtime::ended());
    }

    // (As root, permissions do not stop reading, so the folder is taken away or made a plain file.)
    void withoutTheImagesFolder_data() {
        QTest::addColumn<bool>("plainFile");
        QTest::newRow("removed") << false;
        QTest::newRow("a plain file") << true;
    }
    void withoutTheImagesFolder() {
        QFETCH(bool, plainFile);
        const QString data = freshData();
        QVERIFY(QDir(data + QStringLiteral("/Images")).removeRecursively());
        QFile f(data + QStringLiteral("/Images"));
        if (plainFile) QVERIFY(f.open(QIODevice::WriteOnly) && f.write("pictures went here\n") > 0);
        setDataDir(data);
        tour::start();
        QVERIFY(tour::loadedScreen(QString::fromLatin1(tour::kFirstScreen)));
        QVERIFY(m_desktop->errorReports.isEmpty());
        if (!tour::reachableScreens().contains(QString::fromLatin1(tour::kOpening))) return;
        QVERIFY(!tour::open(QString::fromLatin1(tour::kOpening)));
        QCOMPARE(Runtime::exitCode(), 1);
        QCOMPARE(m_desktop->errorReports.size(), 1);
        QVERIFY2(m_desktop->errorReports.first().contains(QLatin1String("'Images\\bee.jpg'")),
                 qPrintable(m_desktop->errorReports.first()));
    }

    // The working folder is not where the pictures are looked for: a tour from an unrelated folder finds all.
    void aTourFromAnotherWorkingFolderFindsEverything() {
        QTemporaryDir elsewhere;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        const QStringList shown = tour::fullTour();
        QDir::setCurrent(before);
        QVERIFY2(m_desktop->errorReports.isEmpty(), qPrintable(m_desktop->errorReports.join(u'\n')));
        QCOMPARE(shown, tour::reachableScreens());
    }

    // The runtime itself: a file cut anywhere is refused, whatever its format, while the whole file loads.
    void aPictureCutAnywhereIsRefused_data() {
        QTest::addColumn<QString>("file");
        for (const QString& f : QDir(m_realData + QStringLiteral("/Images")).entryList(QDir::Files))
            QTest::newRow(qPrintable(f)) << f;
    }
    void aPictureCutAnywhereIsRefused() {
        QFETCH(QString, file);
        setDataDir(freshData());
        const QString name = QStringLiteral("Images\\") + file;
        QFile f(dataFile(DataDir(), name));
        const qint64 size = f.size();
        QVERIFY(size > 0 && !LoadPicture(name).isEmpty());
        for (int tenth = 9; tenth >= 1; --tenth) { // shorter each time
            QVERIFY(f.resize(size * tenth / 10));
            clearPictureCache();
            QVERIFY2(
                runtimeErrorOf([&] { (void)LoadPicture(name); }) == err::InvalidPicture,
                qPrintable(QStringLiteral("%1 cut at %2/10 was taken for a picture").arg(file).arg(tenth)));
        }
    }
};

QTEST_MAIN(TestBadInput)
#include "test_badinput.moc"
