#include "lineend.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <QFile>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "scannermemory.h"
#include "systemerror.h"

namespace {

QByteArray pathBytes(const QString& path) {
    return QFile::encodeName(path);
}

// Raw bytes both ways; on a device also 9600 baud, 8 data bits, no parity, one stop bit, and no
// flow control. On a pseudo-terminal's master this sets the slave's modes, so the PC's program
// finds it raw as well.
void makeRaw(int fd, bool device, const QString& name) {
    termios modes{};
    if (tcgetattr(fd, &modes) != 0) {
        failWithSystemError(QStringLiteral("cannot read the modes of %1").arg(name));
    }
    cfmakeraw(&modes);
    if (device) {
        cfsetispeed(&modes, B9600);
        cfsetospeed(&modes, B9600);
        modes.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
        modes.c_cflag |= CS8 | CLOCAL | CREAD;
        modes.c_iflag &= ~(IXON | IXOFF | IXANY);
    }
    modes.c_cc[VMIN] = 0;
    modes.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &modes) != 0) {
        failWithSystemError(QStringLiteral("cannot set the modes of %1").arg(name));
    }
}

}  // namespace

LineEnd::LineEnd(const QString& device, const QString& link) {
    if (device.isEmpty()) {
        openPseudoTerminal();
    } else {
        openDevice(device);
    }
    if (!link.isEmpty()) {
        makeLink(link);
    }
}

// The link goes only while it still points to this line's slave.
LineEnd::~LineEnd() {
    if (!link_.isEmpty() && QFile::symLinkTarget(link_) == name_ &&
        ::unlink(pathBytes(link_).constData()) != 0) {
        std::cerr << "pdt-sim: cannot remove the link " << link_.toStdString() << ": " << std::strerror(errno)
                  << std::endl;
    }
    ::close(fd_);
}

LineEnd::State LineEnd::wait(std::chrono::milliseconds timeout, int wakeDescriptor) const {
    std::array<pollfd, 2> polled{{{fd_, POLLIN, 0}, {wakeDescriptor, POLLIN, 0}}};
    const int ready = ::poll(polled.data(), polled.size(), static_cast<int>(timeout.count()));
    if (ready < 0 && errno != EINTR) {
        failWithSystemError(QStringLiteral("cannot wait on %1").arg(name_));
    }
    if (ready <= 0) {
        return {};
    }
    const short events = polled[0].revents;
    if ((events & (POLLERR | POLLNVAL)) != 0) {
        throw scanner::Failure(QStringLiteral("the line %1 has failed").arg(name_));
    }
    return {(events & POLLIN) != 0, pseudoTerminal_ && (events & POLLHUP) != 0, polled[1].revents != 0};
}

// A pseudo-terminal's master reads EIO once the slave is closed and nothing is left: no bytes.
QByteArray LineEnd::read() const {
    QByteArray bytes(4096, Qt::Uninitialized);
    const ssize_t count = ::read(fd_, bytes.data(), static_cast<size_t>(bytes.size()));
    if (count < 0) {
        if (errno != EAGAIN && errno != EINTR && !(pseudoTerminal_ && errno == EIO)) {
            failWithSystemError(QStringLiteral("cannot read from %1").arg(name_));
        }
        return {};
    }
    bytes.truncate(count);
    return bytes;
}

void LineEnd::write(QByteArrayView bytes) const {
    while (!bytes.isEmpty()) {
        const ssize_t count = ::write(fd_, bytes.data(), static_cast<size_t>(bytes.size()));
        if (count < 0 && errno != EINTR) {
            failWithSystemError(QStringLiteral("cannot write to %1").arg(name_));
        }
        bytes = bytes.sliced(count < 0 ? 0 : count);
    }
}

void LineEnd::openDevice(const QString& device) {
    name_ = device;
    fd_ = ::open(pathBytes(device).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        failWithSystemError(QStringLiteral("cannot open %1").arg(device));
    }
    makeRaw(fd_, true, name_);
    if (tcflush(fd_, TCIOFLUSH) != 0) {
        failWithSystemError(QStringLiteral("cannot empty the queues of %1").arg(device));
    }
}

void LineEnd::openPseudoTerminal() {
    pseudoTerminal_ = true;
    fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        failWithSystemError(QStringLiteral("cannot open a pseudo-terminal"));
    }
    if (::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0) {
        failWithSystemError(QStringLiteral("cannot unlock the pseudo-terminal"));
    }
    const char* slave = ::ptsname(fd_);
    if (slave == nullptr) {
        failWithSystemError(QStringLiteral("cannot name the pseudo-terminal's slave"));
    }
    name_ = QFile::decodeName(slave);
    makeRaw(fd_, false, name_);
    hangUpOnce();
}

// A master whose slave has never been open does not report the hangup; once the slave has been
// opened and closed again, it does until the PC's program opens it.
void LineEnd::hangUpOnce() const {
    const int slave = ::open(pathBytes(name_).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        failWithSystemError(QStringLiteral("cannot open %1").arg(name_));
    }
    ::close(slave);
}

// An old link at `link` is replaced; anything else there is left alone.
void LineEnd::makeLink(const QString& link) {
    const QByteArray path = pathBytes(link);
    struct stat status {};
    if (::lstat(path.constData(), &status) == 0) {
        if (!S_ISLNK(status.st_mode)) {
            throw scanner::Failure(QStringLiteral("%1 is there already and is not a link").arg(link));
        }
        if (::unlink(path.constData()) != 0) {
            failWithSystemError(QStringLiteral("cannot remove the old link %1").arg(link));
        }
    }
    if (::symlink(pathBytes(name_).constData(), path.constData()) != 0) {
        failWithSystemError(QStringLiteral("cannot link %1 to %2").arg(link, name_));
    }
    link_ = link;
}
