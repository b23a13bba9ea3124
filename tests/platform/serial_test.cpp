// The termios device on a pseudo-terminal the test holds the other end of:
// the line it sets, the steps at which opening fails, a second open and a
// hang-up.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <termios.h>
#include <unistd.h>

#include "platform/serial.h"
#include "tests/support/support.h"

namespace {

class Termios : public ::testing::Test {
protected:
    void SetUp() override {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[PATH_MAX] = "";
        ASSERT_TRUE(master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0 &&
                    ::ptsname_r(master_, name, sizeof name) == 0);
        device_ = name;
    }
    void TearDown() override {
        if (master_ >= 0) ::close(master_);
    }
    // The other end's view of the line: a pty master reads its terminal's settings.
    termios line() const {
        termios tio{};
        EXPECT_EQ(::tcgetattr(master_, &tio), 0);
        return tio;
    }
    void hang_up() {
        ::close(master_);
        master_ = -1;
    }
    TempDir dir;
    std::string device_;
    int master_ = -1;
};

TEST_F(Termios, OpensAt9600BaudEightDataBitsNoParityOneStopBitRaw) {
    TermiosDevice port;
    ASSERT_EQ(port.open(device_), OpenStep::ready);
    termios tio = line();
    EXPECT_EQ(::cfgetospeed(&tio), B9600);
    EXPECT_EQ(::cfgetispeed(&tio), B9600);
    EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
    EXPECT_TRUE(tio.c_cflag & CLOCAL);  // modem lines ignored
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

TEST_F(Termios, AFailedOpenNamesItsStepAndTheSystemsReason) {
    write_file(dir.file("plain"), "");
    struct Case {
        std::string name;
        OpenStep step;
        int error;
    };
    const Case cases[] = {{dir.file("missing"), OpenStep::open_device, ENOENT},
                          {dir.file("plain"), OpenStep::read_line, ENOTTY}};
    for (const Case& c : cases) {
        TermiosDevice port;
        errno = 0;
        EXPECT_EQ(port.open(c.name), c.step) << c.name;
        EXPECT_EQ(errno, c.error) << c.name;
    }
}

TEST_F(Termios, ASecondOpenOfAnOpenPortIsRefusedAsBusyUnderEitherName) {
    std::filesystem::create_symlink(device_, dir.file("COM1"));
    TermiosDevice first, second;
    ASSERT_EQ(first.open(dir.file("COM1")), OpenStep::ready);
    for (const std::string& name : {dir.file("COM1"), device_}) {
        errno = 0;
        EXPECT_EQ(second.open(name), OpenStep::open_device) << name;
        EXPECT_EQ(errno, EBUSY) << name;
    }
    first.close();
    EXPECT_EQ(second.open(device_), OpenStep::ready);
}

TEST_F(Termios, AWaitSeesAByteOrNothingAndAHangUpAtOnce) {
    TermiosDevice port;
    ASSERT_EQ(port.open(device_), OpenStep::ready);
    char byte = 0;
    EXPECT_EQ(port.wait_byte(byte, 0), 0);
    ASSERT_EQ(::write(master_, "D", 1), 1);
    EXPECT_EQ(port.wait_byte(byte, 1000), 1);
    EXPECT_EQ(byte, 'D');
    hang_up();  // as a USB adapter pulled out
    errno = 0;
    EXPECT_EQ(port.wait_byte(byte, 20000), -1);
    EXPECT_EQ(errno, EIO);
}

}  // namespace
