#!/usr/bin/env python3
"""Wall time and peak memory of orvenna-check over all 362 addresses, against
loopback HTTPS servers that answer each request after 100 ms.

usage: bench_check.py PATH/TO/orvenna-check
"""
import resource
import subprocess
import sys
import tempfile
import time

import loopback_server as ls

check = sys.argv[1]
addresses = ["127.0.0.1", "127.0.0.2", "127.0.0.3"]
folder = tempfile.mkdtemp(prefix="orvenna-check-bench.")
key, cert = ls.make_certificate(folder, addresses)
bases, servers = ls.start(addresses, key, cert, {}, ls.Counters(), delay=0.1)
started = time.monotonic()
done = subprocess.run([check, "--portal-base", bases[addresses[0]], "--youtube-base", bases[addresses[1]],
                       "--maker-base", bases[addresses[2]], "--ca-file", cert], capture_output=True, text=True)
wall = time.monotonic() - started
peak_kib = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
ls.stop(servers)
alive = [line for line in done.stdout.splitlines() if line.startswith("alive")]
print(f"| 362 addresses, 100 ms each, 2 per host, 8 in flight | {wall:.1f} s | {peak_kib} KiB | {alive[0].split()[-1] if alive else '?'} alive |")
