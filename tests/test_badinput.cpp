// Each picture and the cursor broken: the screen that reads it stops the program with a report naming it.
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

    QString freshData() {
        m_data = std::make_unique<QTemporaryDir>();
        return copyProgramData(m_realData, m_data->path()) ? m_data->path() : QString();
    }

private slots:
    void initTestCase() { m_realData = DataDir(); }
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
        const QString data = freshData();
        QVERIFY(!data.isEmpty() && testsupport::damage(dataFile(data, picture), damage));
        setDataDir(data);
        tour::start();
        QVERIFY(!Runtime::ended());
        QVERIFY(!tour::open(screen));
        expectStoppedWithReport(*m_desktop, {QStringLiteral("'%1'").arg(picture),
                                             damage == Damage::Missing ? QStringLiteral("File not found")
                                                                       : QStringLiteral("Invalid picture")});
        tour::settle(); // nothing is left half-built on the board
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!w->isVisible());
    }

    // A file cut anywhere is refused, whatever its format, while the whole file loads.
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
