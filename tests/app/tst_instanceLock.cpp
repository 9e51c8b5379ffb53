#include "app/InstanceLock.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

class TestInstanceLock : public QObject {
    Q_OBJECT

private slots:
    void secondProgramIsRefused()
    {
        QTemporaryDir dir;
        {
            const InstanceLock first(dir.path());
            QVERIFY(first.acquired());
            const InstanceLock second(dir.path());
            QVERIFY(!second.acquired());
        }
        // Given up at the end of the program.
        QVERIFY(!QFileInfo::exists(dir.filePath(InstanceLock::fileName())));
        QVERIFY(InstanceLock(dir.path()).acquired());
    }

    void lockOfACrashedProgramIsTakenOver()
    {
        QTemporaryDir dir;
        const pid_t pid = fork();
        if (pid == 0) {
            const InstanceLock held(dir.path());
            _exit(held.acquired() ? 0 : 1); // ends without giving the lock up
        }
        int status = 0;
        waitpid(pid, &status, 0);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(QFileInfo::exists(dir.filePath(InstanceLock::fileName())));
        QVERIFY(InstanceLock(dir.path()).acquired());
    }
};

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instanceLock.moc"
