// The version header written by CMake from the project's version.
#include "app/Version.h"

#include <QString>
#include <QTest>

class TestVersion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numbersAndTextFromTheProject()
    {
        // The same four numbers as the project's version, also as text.
        const QString project = QStringLiteral(KH_PROJECT_VERSION);
        QCOMPARE(QString::fromLatin1(Version::Text), project);
        QCOMPARE(QStringLiteral("%1.%2.%3.%4")
                     .arg(Version::Major)
                     .arg(Version::Minor)
                     .arg(Version::Patch)
                     .arg(Version::Tweak),
            project);
    }
};

QTEST_MAIN(TestVersion)
#include "tst_version.moc"
