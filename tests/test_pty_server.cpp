// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated module served on a pseudo-terminal.
#include "pty_server.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

using namespace quelo::sim;

TEST(PtyServer, RoundTripAndHangUp)
{
    int argc = 1;
    char name[] = "test_module_sim";
    char *argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance())
        app = std::make_unique<QCoreApplication>(argc, argv);

    PtyServer server;
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    ASSERT_TRUE(server.devicePath().startsWith(QLatin1String("/dev/pts/")));

    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyQuelo"));
    ASSERT_TRUE(server.createSymlink(link));
    ASSERT_TRUE(server.createSymlink(link)); // replacing an existing link works too
    EXPECT_EQ(QFile::symLinkTarget(link), server.devicePath());

    const int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(fd, &tio), 0);
    cfmakeraw(&tio);
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &tio), 0);
    ASSERT_EQ(::write(fd, "/u\r", 3), 3);

    std::string received;
    QEventLoop loop;
    QSocketNotifier notifier(fd, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
        char buffer[64];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            received.append(buffer, std::size_t(n));
        if (received.size() >= 4)
            loop.quit();
    });
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    notifier.setEnabled(false);

    EXPECT_EQ(received, "u1A\r");
    EXPECT_EQ(server.module().commandLog(), (std::vector<std::string>{"/u"}));

    server.hangUp();
    char byte;
    const ssize_t n = ::read(fd, &byte, 1);
    const int error = errno;
    EXPECT_TRUE(n == 0 || (n < 0 && error == EIO)) << "read returned " << n << " errno " << error;
    ::close(fd);
}
