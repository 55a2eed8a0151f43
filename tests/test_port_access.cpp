// SPDX-License-Identifier: GPL-3.0-or-later
// The advice given when a port will not open: which reason for which facts.
#include "platform.h"
#include "port_access.h"
#include "qt_serial_comm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quelo;
using Kind = OpenFailureFacts::Kind;

namespace {

constexpr std::uint32_t kDialout = 20;
constexpr std::uint32_t kUserGroup = 1000;

// A user (uid 1000, group 1000) refused a dialout device with mode 660, no lock file.
OpenFailureFacts denied()
{
    OpenFailureFacts f;
    f.device = "/dev/ttyUSB0";
    f.kind = Kind::Denied;
    f.uid = 1000;
    f.groups = {kUserGroup};
    f.ownerKnown = true;
    f.ownerGid = kDialout;
    f.ownerGroupName = "dialout";
    f.groupMayReadWrite = true;
    return f;
}

bool has(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(OpenFailureAdvice, GroupHintOnlyWhenJoiningTheGroupWouldHelp)
{
    const std::string outsider = describeOpenFailure(denied());
    EXPECT_TRUE(has(outsider, "/dev/ttyUSB0: permission denied")) << outsider;
    EXPECT_TRUE(has(outsider, "sudo usermod -aG dialout $USER")) << outsider;

    OpenFailureFacts member = denied(); // already in the group: the group is not the problem
    member.groups = {kUserGroup, kDialout};
    EXPECT_FALSE(has(describeOpenFailure(member), "usermod"));
    EXPECT_TRUE(has(describeOpenFailure(member), "permission denied"));

    OpenFailureFacts ownMode000 = denied(); // the user's own device with mode 000
    ownMode000.ownerGid = kUserGroup;
    ownMode000.ownerGroupName = "user";
    ownMode000.groupMayReadWrite = false;
    EXPECT_FALSE(has(describeOpenFailure(ownMode000), "usermod"));

    OpenFailureFacts groupWithoutRights = denied(); // joining would not grant read and write
    groupWithoutRights.groupMayReadWrite = false;
    EXPECT_FALSE(has(describeOpenFailure(groupWithoutRights), "usermod"));

    OpenFailureFacts root = denied(); // root is never told to join a group
    root.uid = 0;
    root.groups = {0};
    EXPECT_FALSE(has(describeOpenFailure(root), "usermod"));
    EXPECT_TRUE(has(describeOpenFailure(root), "permission denied"));
}

TEST(OpenFailureAdvice, ABusyPortIsInUseNeverAPermissionProblem)
{
    OpenFailureFacts locked = denied();
    locked.lockPid = 4321;
    const std::string withPid = describeOpenFailure(locked);
    EXPECT_TRUE(has(withPid, "in use by another program (process 4321)")) << withPid;
    EXPECT_FALSE(has(withPid, "usermod"));
    EXPECT_FALSE(has(withPid, "permission"));

    OpenFailureFacts exclusive = denied(); // we may read and write it, yet the open was refused
    exclusive.readWriteAllowed = true;
    exclusive.uid = 0; // as root too
    const std::string noPid = describeOpenFailure(exclusive);
    EXPECT_TRUE(has(noPid, "in use by another program")) << noPid;
    EXPECT_FALSE(has(noPid, "usermod"));
}

TEST(OpenFailureAdvice, MissingAndOtherFailuresNameTheDevice)
{
    OpenFailureFacts missing;
    missing.device = "rel/tty";
    missing.kind = Kind::NotFound;
    EXPECT_EQ(describeOpenFailure(missing), "rel/tty: no such device");

    OpenFailureFacts other;
    other.device = "/dev/ttyS0";
    other.otherReason = "Input/output error";
    EXPECT_EQ(describeOpenFailure(other), "/dev/ttyS0: Input/output error");
}

TEST(DevicePath, RelativePathsFromTheWorkingDirectoryAndLinksResolved)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("rel")));
    QFile device(dir.filePath(QStringLiteral("rel/tty")));
    ASSERT_TRUE(device.open(QIODevice::WriteOnly));
    ASSERT_TRUE(
        QFile::link(dir.filePath(QStringLiteral("rel/tty")), dir.filePath(QStringLiteral("link"))));
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString canonicalDir = QDir(dir.path()).canonicalPath();

    EXPECT_EQ(QtSerialComm::openPathFor(QStringLiteral("rel/tty")), canonicalDir + "/rel/tty");
    EXPECT_EQ(QtSerialComm::openPathFor(QStringLiteral("./link")), canonicalDir + "/rel/tty");
    EXPECT_EQ(QtSerialComm::openPathFor(dir.filePath(QStringLiteral("link"))),
              canonicalDir + "/rel/tty");
    // Missing: made absolute, so the open reports the file as missing rather than a /dev name.
    EXPECT_EQ(QtSerialComm::openPathFor(QStringLiteral("rel/none")),
              QDir(dir.path()).absolutePath() + "/rel/none");
    QDir::setCurrent(saved);
}

// A bare name is checked and locked as the device under /dev, as a program naming it in full
// would: otherwise the lock and the permission check look at a file in the working directory.
TEST(DevicePath, ABareNameIsTheDeviceUnderDev)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile decoy(dir.filePath(QStringLiteral("null"))); // a file of the same name here
    ASSERT_TRUE(decoy.open(QIODevice::WriteOnly));
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_EQ(QtSerialComm::openPathFor(QStringLiteral("ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(QtSerialComm::openPathFor(QStringLiteral("null")), QStringLiteral("/dev/null"));
    // A link under /dev is resolved like any other.
    const QFileInfo link(QStringLiteral("/dev/fd"));
    if (link.isSymLink()) {
        EXPECT_EQ(QtSerialComm::openPathFor(QStringLiteral("fd")), link.canonicalFilePath());
    }
    QDir::setCurrent(saved);
}

// A port lock left by a program that died (one naming a process that is gone, or an empty one
// whose writer was killed before it wrote) is nobody's: never "in use", and taken over at once
// rather than after Qt's 30 s. A lock a live process names or holds stays.
TEST(PortLock, ALockNobodyHoldsIsStaleAndTakenOver)
{
    const QString device = QStringLiteral("/dev/quelo-test-%1").arg(::getpid());
    const QString lock = QStringLiteral("/var/lock/LCK..quelo-test-%1").arg(::getpid());
    const auto write = [&](const QByteArray &text, qint64 ageSeconds) {
        QFile file(lock);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return false;
        file.close();
        const timespec times[2] = {{::time(nullptr) - ageSeconds, 0},
                                   {::time(nullptr) - ageSeconds, 0}};
        return ::utimensat(AT_FDCWD, lock.toLocal8Bit().constData(), times, 0) == 0;
    };
    if (!write("", 0))
        GTEST_SKIP() << "no lock folder this user may write";
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);

    ASSERT_TRUE(write(QByteArray::number(gone) + "\nquelo-link\nhost\n", 0));
    EXPECT_EQ(platform::portLockHolder(device), 0);
    EXPECT_TRUE(platform::removeStaleLocks(device));
    EXPECT_FALSE(QFileInfo::exists(lock));

    ASSERT_TRUE(write("", 0)); // being written this moment, perhaps
    EXPECT_FALSE(platform::removeStaleLocks(device));
    ASSERT_TRUE(write("", 10));
    EXPECT_TRUE(platform::removeStaleLocks(device));
    EXPECT_FALSE(QFileInfo::exists(lock));

    ASSERT_TRUE(write(QByteArray::number(::getpid()) + "\nquelo-link\nhost\n", 10));
    EXPECT_EQ(platform::portLockHolder(device), ::getpid());
    EXPECT_FALSE(platform::removeStaleLocks(device));

    ASSERT_TRUE(write("", 10)); // held as Qt's holder holds it
    const int held = ::open(lock.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_FALSE(platform::removeStaleLocks(device));
    ::close(held);
    EXPECT_TRUE(QFileInfo::exists(lock));
    QFile::remove(lock);
}
