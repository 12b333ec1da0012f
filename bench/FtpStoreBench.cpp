// Uploads files on one session with the FTP client and prints the wall time and the peak memory, so the
// comparison script can set them beside curl's on the same server.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ftp/FtpCli.h"
#include "platform/PollMessageQueue.h"
#include "platform/test/RunningClockServices.h"

namespace {

// The peak resident size of this program alone: getrusage would report the launching
// process's peak, which survives exec.
long PeakResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: %s PORT USER PASSWORD FOLDER FILE...\n", argv[0]);
    return 2;
  }
  tarnwick::TPollMessageQueue queue;
  tarnwick::TRunningClockServices clock;
  tarnwick::TFtpClient client(queue, clock);
  client.HostName = "127.0.0.1";
  client.Port = argv[1];
  client.UserName = argv[2];
  client.PassWord = argv[3];
  client.HostDirName = argv[4];
  auto start = std::chrono::steady_clock::now();
  bool stored = client.OpenSession() && client.ChangeDirectory();
  for (int i = 5; stored && i < argc; ++i) {
    client.LocalFileName = argv[i];
    client.HostFileName = std::filesystem::path(argv[i]).filename();
    stored = client.StoreFile();
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!stored) {
    std::fprintf(stderr, "upload failed: %s\n", client.ErrorMessage().c_str());
    return 1;
  }
  client.CloseSession();
  std::printf("%.4f %ld\n", seconds, PeakResidentKb());
  return 0;
}
