#!/usr/bin/env python3
"""Time from starting a program until its picture file appears (not until it
exits), for the program's snapshot against the empty-window yardstick.

    first-picture.py BUILD_DIR [RUNS]

The file is seen through inotify: written in place (closed after writing) or
renamed into place, whichever the program does."""
import ctypes, os, select, statistics, struct, subprocess, sys, tempfile, time

IN_CLOSE_WRITE, IN_MOVED_TO = 0x8, 0x80
libc = ctypes.CDLL(None, use_errno=True)


def first_picture_ms(argv, folder, name, env):
    fd = libc.inotify_init()
    libc.inotify_add_watch(fd, folder.encode(), IN_CLOSE_WRITE | IN_MOVED_TO)
    start = time.perf_counter()
    proc = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    seen = None
    while seen is None and select.select([fd], [], [], 10)[0]:
        data = os.read(fd, 4096)
        while data:
            _, mask, _, size = struct.unpack_from("iIII", data)
            if data[16:16 + size].rstrip(b"\0").decode() == name:
                seen = time.perf_counter()
            data = data[16 + size:]
    proc.wait()
    os.close(fd)
    if seen is None:
        sys.exit(f"first-picture: {argv[0]} wrote no {name}")
    return (seen - start) * 1000


def main():
    build, runs = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 30
    work = tempfile.mkdtemp()
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=work)
    pic = os.path.join(work, "p.png")
    progs = {"cauchy": [f"{build}/bin/cauchy", "--snapshot", pic],
             "startbase": [f"{build}/bin/startbase", pic],
             "text": [f"{build}/bin/startbase", "--text", pic]}
    times = {k: [] for k in progs}
    for _ in range(runs):
        for k, argv in progs.items():
            if os.path.exists(pic):
                os.remove(pic)
            times[k].append(first_picture_ms(argv, work, "p.png", env))
    med = {k: statistics.median(v) for k, v in times.items()}
    print(f"median of {runs} runs each, until the picture file is there")
    print(f"cauchy {med['cauchy']:.1f} ms   startbase {med['startbase']:.1f} ms   "
          f"ratio {med['cauchy'] / med['startbase']:.2f}")
    print(f"startbase --text (one line of text: the fonts set up) {med['text']:.1f} ms   "
          f"ratio {med['cauchy'] / med['text']:.2f}")


if __name__ == "__main__":
    main()
