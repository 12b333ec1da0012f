"""Uploads to vsftpd on loopback (its own configuration, started and stopped here) with our
client and with curl in active mode, as ours: one 100 MB file, then fifty 20 KB files on one
session (curl: one invocation, which reuses its connection). Prints MB/s, per-file latency,
the ratios and our peak memory, and checks the copies."""
import filecmp
import os
import random
import subprocess
import sys
import tempfile
import time

tool = sys.argv[1]
RUNS = 3


def best(command):
    seconds = float("inf")
    for _ in range(RUNS):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        seconds = min(seconds, time.perf_counter() - start)
    return seconds


with tempfile.TemporaryDirectory() as work:
    os.chmod(work, 0o755)
    root, upload, empty, files = (os.path.join(work, d) for d in ("root", "root/up", "empty", "files"))
    for d in (root, upload, empty, files):
        os.makedirs(d)
    os.chmod(upload, 0o777)
    rng = random.Random(1)
    big = os.path.join(files, "big.bin")
    with open(big, "wb") as f:
        f.write(rng.randbytes(100 << 20))
    small = []
    for i in range(50):
        small.append(os.path.join(files, f"page{i:02}.html"))
        with open(small[-1], "wb") as f:
            f.write(rng.randbytes(20 << 10))
    with open("/dev/null") as null:
        probe = __import__("socket").socket()
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
        probe.close()
    config = os.path.join(work, "vsftpd.conf")
    with open(config, "w") as f:
        f.write(f"""listen=YES
background=NO
listen_address=127.0.0.1
listen_port={port}
anonymous_enable=YES
local_enable=NO
write_enable=YES
anon_upload_enable=YES
anon_other_write_enable=YES
anon_root={root}
no_anon_password=YES
secure_chroot_dir={empty}
seccomp_sandbox=NO
connect_from_port_20=NO
pasv_enable=YES
xferlog_enable=NO
{"run_as_launching_user=YES" if os.geteuid() != 0 else ""}
""")
    server = subprocess.Popen(["/usr/sbin/vsftpd", config])
    try:
        time.sleep(0.5)
        ours_big = best([tool, str(port), "anonymous", "bench@", "up", big])
        ours_small = best([tool, str(port), "anonymous", "bench@", "up", *small])
        rss_kb = int(subprocess.run([tool, str(port), "anonymous", "bench@", "up", big], check=True,
                                    capture_output=True, text=True).stdout.split()[1])
        same = filecmp.cmp(big, os.path.join(upload, "big.bin"), shallow=False) and all(
            filecmp.cmp(p, os.path.join(upload, os.path.basename(p)), shallow=False) for p in small)
        curl = ["curl", "-s", "--ftp-port", "127.0.0.1"]
        theirs_big = best(curl + ["-T", big, f"ftp://127.0.0.1:{port}/up/"])
        theirs_small = best(curl + ["-T", "{" + ",".join(small) + "}", f"ftp://127.0.0.1:{port}/up/"])
    finally:
        server.terminate()
        server.wait()

mb = 100 * 1.048576
print(f"100 MB file: ours {mb / ours_big:.0f} MB/s, curl {mb / theirs_big:.0f} MB/s, "
      f"ratio {theirs_big / ours_big:.2f}x of curl's throughput; our peak memory {rss_kb / 1024:.1f} MB")
print(f"fifty 20 KB files on one session: ours {ours_small / 50 * 1000:.2f} ms per file, "
      f"curl {theirs_small / 50 * 1000:.2f} ms per file, ratio {ours_small / theirs_small:.2f}x of curl's latency")
print(f"copies identical: {same}")
