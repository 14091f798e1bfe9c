#!/usr/bin/env python3
"""Drives a real rw4000-sim over loopback sockets: replies, side ports, every
fault mode, stdin control, signals and exit codes.

usage: sim_socket_test.py PATH/TO/rw4000-sim [FIRST_HOST_OCTET]
Each simulator started here gets its own 127.0.0.N, counting up from
FIRST_HOST_OCTET (default 201). Every wait is bounded.
"""
import socket
import subprocess
import sys
import time

SIM = sys.argv[1]
next_octet = int(sys.argv[2]) if len(sys.argv) > 2 else 201
MAIN, SIDE_PORTS = 47000, (49000, 46000, 47001, 46990)
running = []
results = []


def new_host():
    global next_octet
    host = f"127.0.0.{next_octet}"
    next_octet += 1
    return host


def start(host, *faults, stdin=subprocess.DEVNULL):
    args = [SIM, "--host", host]
    for f in faults:
        args += ["--fault", f]
    p = subprocess.Popen(args, stdout=subprocess.PIPE, stdin=stdin, stderr=subprocess.PIPE, text=True)
    running.append(p)
    return p, p.stdout.readline()


def stop(p, sig=15):
    p.send_signal(sig)
    try:
        return p.wait(5)
    except subprocess.TimeoutExpired:
        p.kill()
        p.wait()
        return None


def request(counter, cmd, params=b""):
    body = bytes([0x00, 0x01, counter >> 8, counter & 0xFF, len(params) >> 8, len(params) & 0xFF, cmd]) + params
    ck = sum(body) & 0xFFFF
    return b"\x02" + body + bytes([ck >> 8, ck & 0xFF, 0x03])


def frame_ok(f):
    if len(f) < 11:
        return False
    pn = f[5] << 8 | f[6]
    ck = sum(f[1:pn + 8]) & 0xFFFF
    return len(f) == pn + 11 and f[0] == 2 and f[-1] == 3 and f[pn + 8:pn + 10] == bytes([ck >> 8, ck & 0xFF])


def receive(s, want, timeout=2.0):
    """(seconds since call, chunk) per read, until `want` bytes, EOF or timeout."""
    s.settimeout(timeout)
    t0, got, total = time.time(), [], 0
    while total < want:
        try:
            c = s.recv(65536)
        except (socket.timeout, ConnectionResetError):
            break
        if not c:
            got.append((time.time() - t0, b""))
            break
        got.append((time.time() - t0, c))
        total += len(c)
    return got


def joined(got):
    return b"".join(c for _, c in got)


def refused(host, port=MAIN):
    try:
        socket.create_connection((host, port), timeout=2).close()
        return False
    except ConnectionRefusedError:
        return True


def case(name, ok, detail=""):
    results.append(bool(ok))
    print(f"{'ok  ' if ok else 'FAIL'} {name} {detail}".rstrip(), flush=True)


STATUS = bytes.fromhex("02 00 01 00 01 00 00 33 00 35 03")  # first status request of a session
STATUS_REPLY_LEN = 56 + 1 + 11


def with_faults(faults, requests=(STATUS,), want=STATUS_REPLY_LEN, timeout=2.0):
    host = new_host()
    p, _ = start(host, *faults)
    s = socket.create_connection((host, MAIN), timeout=2)
    for r in requests:
        s.sendall(r)
    got = receive(s, want, timeout)
    s.close()
    stop(p)
    return got


def main():
    assert request(1, 0x33) == STATUS

    host = new_host()
    p, line = start(host)
    case("listening line", line == f"rw4000-sim listening on {host}\n", repr(line))
    s = socket.create_connection((host, MAIN), timeout=2)
    s.sendall(STATUS)
    got = receive(s, STATUS_REPLY_LEN)
    d = joined(got)
    case("status reply in one read", len(got) == 1 and frame_ok(d) and d[5:9] == b"\x00\x39\x33\x06", d.hex(" "))
    s.sendall(request(2, 70) + request(3, 82))
    d = joined(receive(s, 12 + 17 + 12))
    first = d[:(d[5] << 8 | d[6]) + 11]
    case("version then bare reply", frame_ok(first) and first[9:14] == b" RW40" and first[-4] == 0
         and frame_ok(d[len(first):]) and d[len(first) + 7] == 82, repr(d))
    r = request(4, 53, b"\x02\x01")
    s.sendall(b"\x55\x02\xaa" + r[:5])
    time.sleep(0.05)
    s.sendall(r[5:])
    d = joined(receive(s, 12))
    case("garbage and split request framed", len(d) == 12 and frame_ok(d) and d[7] == 53)
    for port in SIDE_PORTS:
        t = socket.create_connection((host, port), timeout=2)
        t.sendall(b"anything")
        if port == 47001:  # the printer answers each write with the bytes it has received
            case("printer port 47001 answers PRN RX 8", joined(receive(t, 10, 1.0)) == b"PRN RX 8\r\n")
        else:
            case(f"side port {port} accepts and stays quiet", receive(t, 1, 0.2) == [])
        t.close()
    case("SIGTERM exits 0", stop(p) == 0)
    p, _ = start(new_host())
    case("SIGINT exits 0", stop(p, 2) == 0)

    got = with_faults(["split"])
    case("split: three pieces ~20 ms apart", len(got) == 3 and frame_ok(joined(got))
         and got[2][0] - got[0][0] >= 0.03, [(round(t, 3), len(c)) for t, c in got])
    got = with_faults(["join"], requests=(STATUS, request(2, 0x33)), want=2 * STATUS_REPLY_LEN)
    case("join: two replies in one read", len(got) == 1 and len(got[0][1]) == 2 * STATUS_REPLY_LEN,
         [len(c) for _, c in got])
    got = with_faults(["join"])
    case("join: lone reply after the hold", len(got) == 1 and 0.25 <= got[0][0] < 1.5, got and got[0][0])
    d = joined(with_faults(["corrupt"]))
    case("corrupt: bad checksum", len(d) == STATUS_REPLY_LEN and not frame_ok(d) and frame_ok(d[:-2] + bytes([d[-2] ^ 0xFF, 3])))
    d = joined(with_faults(["nak"]))
    case("nak: 0x15 with good checksum", frame_ok(d) and d[8] == 0x15)
    got = with_faults(["garbage"], want=STATUS_REPLY_LEN + 5)
    d = joined(got)
    case("garbage: 5 non-STX bytes in the same write", len(got) == 1 and 2 not in d[:5] and frame_ok(d[5:]))
    case("silent: no answer", with_faults(["silent"], timeout=0.5) == [])
    got = with_faults(["drop"])
    case("drop: closed on first request", len(got) == 1 and got[0][1] == b"")
    got = with_faults(["slow:250"])
    case("slow:250", len(got) == 1 and got[0][0] >= 0.24, got and got[0][0])
    d = joined(with_faults(["short"], want=12))
    case("short: bare ACK, no payload", len(d) == 12 and frame_ok(d) and d[5:9] == b"\x00\x01\x33\x06", d.hex(" "))
    got = with_faults(["garbage", "nak", "split"], want=STATUS_REPLY_LEN + 5)
    d = joined(got)
    case("garbage+nak+split combined", len(got) == 3 and frame_ok(d[5:]) and d[13] == 0x15)

    host = new_host()
    p, line = start(host, "refuse")
    case("refuse: still prints the line", line == f"rw4000-sim listening on {host}\n")
    case("refuse: main port refused", refused(host))
    case("refuse: side port open", not refused(host, SIDE_PORTS[0]))
    stop(p)

    host = new_host()
    p, _ = start(host, stdin=subprocess.PIPE)
    p.stdin.write("fault nak\n")
    p.stdin.flush()
    time.sleep(0.2)
    s = socket.create_connection((host, MAIN), timeout=2)
    s.sendall(STATUS)
    d = joined(receive(s, STATUS_REPLY_LEN))
    case("stdin 'fault nak'", len(d) > 8 and d[8] == 0x15)
    p.stdin.write("fault refuse\n")
    p.stdin.flush()
    time.sleep(0.2)
    case("stdin 'fault refuse' closes the main port", refused(host))
    p.stdin.write("clear\n")
    p.stdin.close()
    time.sleep(0.3)
    s = socket.create_connection((host, MAIN), timeout=2)
    s.sendall(STATUS)
    d = joined(receive(s, STATUS_REPLY_LEN))
    case("stdin 'clear', then EOF keeps running", len(d) > 8 and d[8] == 0x06 and p.poll() is None)
    case("exits 0 after stdin EOF", stop(p) == 0)

    for bad in ("203.0.113.5", "0.0.0.0", "::1"):
        r = subprocess.run([SIM, "--host", bad], capture_output=True, text=True, timeout=5)
        case(f"--host {bad} refused with 2", r.returncode == 2 and r.stdout == "" and "127.0.0.0/8" in r.stderr)
    r = subprocess.run([SIM, "--fault", "bogus"], capture_output=True, text=True, timeout=5)
    case("unknown fault exits 2", r.returncode == 2)
    host = new_host()
    p, _ = start(host)
    r = subprocess.run([SIM, "--host", host], capture_output=True, text=True, timeout=5)
    case("port in use exits 1", r.returncode == 1 and r.stdout == "" and "cannot listen" in r.stderr, r.stderr.strip())
    stop(p)
    r = subprocess.run([SIM, "--help"], capture_output=True, text=True, timeout=5)
    case("--help", r.returncode == 0 and "fault MODE" in r.stdout and "slow:MS" in r.stdout and "short" in r.stdout)


try:
    main()
finally:
    for proc in running:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
passed = sum(results)
print(f"{passed} passed, {len(results) - passed} failed")
sys.exit(0 if results and all(results) else 1)
