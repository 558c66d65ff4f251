// The pseudo-terminal runner, driven as a program drives a serial port: open the device,
// write, read with a deadline.
#if defined(__unix__)

#include "link/pty_box.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>

namespace vyk {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(5);

class Client {
 public:
  explicit Client(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
    termios mode{};
    if (fd_ >= 0 && tcgetattr(fd_, &mode) == 0) {
      cfmakeraw(&mode);
      tcsetattr(fd_, TCSANOW, &mode);
      tcflush(fd_, TCIOFLUSH);
    }
  }
  ~Client() {
    if (fd_ >= 0) close(fd_);
  }
  bool Open() const { return fd_ >= 0; }
  void Send(const std::string& text) {
    ASSERT_EQ(write(fd_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  // Reads until `count` bytes or `terminator` came, the line went away or patience ran out.
  std::string Read(size_t count, char terminator = '\0') {
    std::string got;
    const auto deadline = Clock::now() + kPatience;
    while (got.size() < count && Clock::now() < deadline) {
      pollfd p{fd_, POLLIN, 0};
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) continue;
      char c;
      if (read(fd_, &c, 1) != 1) {
        hungUp_ = true;
        break;
      }
      got += c;
      if (terminator != '\0' && c == terminator) break;
    }
    return got;
  }
  bool HungUp() const { return hungUp_; }

 private:
  int fd_;
  bool hungUp_ = false;
};

// Serves on its own thread; stops it at the end, and never waits for ever.
class Served {
 public:
  explicit Served(SimBoxConfig config) : runner(config) {
    end = std::async(std::launch::async, [this] { return runner.Serve(); });
  }
  ~Served() {
    runner.Stop();
    if (end.valid() && end.wait_for(kPatience) != std::future_status::ready) {
      std::fputs("the simulated Box did not stop\n", stderr);
      std::abort();
    }
  }
  PtyBox runner;
  std::future<PtyBoxEnd> end;
};

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

TEST(PtyBox, PacesTheLineAndServesOneClientAfterAnother) {
  SimBoxConfig config;
  config.baud = 1200;  // slow enough that the pacing shows
  Served served(config);
  const double byteMs = served.runner.Box().ByteTimeMs();
  {
    Client client(served.runner.DevicePath());
    ASSERT_TRUE(client.Open());
    auto start = Clock::now();
    client.Send("Q");
    ASSERT_EQ(client.Read(1), "Q");
    // Out and back: the echo cannot come before two byte times.
    EXPECT_GE(Ms(Clock::now() - start), 2 * byteMs);
    client.Send("\r");
    ASSERT_EQ(client.Read(64, '>'), "\r\r\nV1.0 Box\r\n>");
    // Q and its echo, CR and its echo, then 13 bytes of answer, one after the other.
    EXPECT_GE(Ms(Clock::now() - start), 17 * byteMs);
  }
  // The first client has gone; the line is still there for the next.
  Client next(served.runner.DevicePath());
  ASSERT_TRUE(next.Open());
  next.Send("\r");
  EXPECT_EQ(next.Read(64, '>'), "\r\r\n>");
  EXPECT_FALSE(next.HungUp());
}

TEST(PtyBox, CloseFaultTakesTheLineAway) {
  SimBoxConfig config;
  config.closeAfterBytes = 2;
  Served served(config);
  Client client(served.runner.DevicePath());
  ASSERT_TRUE(client.Open());
  client.Send("Q");
  ASSERT_EQ(client.Read(1), "Q");
  client.Send("\r");
  ASSERT_EQ(served.end.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(served.end.get(), PtyBoxEnd::LineClosed);
  EXPECT_EQ(client.Read(1), "");
  EXPECT_TRUE(client.HungUp());
}

}  // namespace
}  // namespace vyk

#endif
