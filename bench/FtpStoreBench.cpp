// Uploads one file with the FTP client and prints the wall time and the peak memory, so the
// comparison script can set them beside curl's on the same server.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "ftp/FtpCli.h"
#include "platform/PollMessageQueue.h"
#include "platform/SystemServices.h"

namespace {

struct TClock : tarnwick::TSystemServices {
  std::string ProgramFolder() const override { return "/"; }
  std::vector<std::string> InstalledFonts() const override { return {}; }
  std::string SystemFixedFont() const override { return {}; }
  std::uint32_t TickCount() const override {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s PORT LOCAL-FILE REMOTE-NAME   (user tester, password secret)\n", argv[0]);
    return 2;
  }
  tarnwick::TPollMessageQueue queue;
  TClock clock;
  tarnwick::TFtpClient client(queue, clock);
  client.HostName = "127.0.0.1";
  client.Port = argv[1];
  client.UserName = "tester";
  client.PassWord = "secret";
  client.LocalFileName = argv[2];
  client.HostFileName = argv[3];
  auto start = std::chrono::steady_clock::now();
  bool stored = client.OpenSession() && client.StoreFile();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  client.CloseSession();
  if (!stored) {
    std::fprintf(stderr, "upload failed: %s\n", client.ErrorMessage().c_str());
    return 1;
  }
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("%.3f %ld\n", seconds, usage.ru_maxrss);
  return 0;
}
