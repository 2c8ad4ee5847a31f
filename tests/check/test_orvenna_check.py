#!/usr/bin/env python3
"""Tests of orvenna-check against HTTPS servers on loopback addresses.

usage: test_orvenna_check.py PATH/TO/orvenna-check
"""
import json
import os
import subprocess
import sys
import tempfile
import unittest

import loopback_server as ls

CHECK = None
PORTAL, YOUTUBE, MAKER = "127.0.0.1", "127.0.0.2", "127.0.0.3"

# Channel rows whose portal pages the server answers with a case of its own.
CASES = {
    "123 GO!": ("/p/123-go.html", None),
    "3ABN Kids": ("/p/3abn-kids.html", "404"),
    "Ameritrade": ("/p/ameritrade.html", "404 twice"),
    "5 Minute Crafts": ("/p/5-minute-crafts.html", "410"),
    "60 Minutes": ("/p/60-minutes.html", "403"),
    "ABC News": ("/p/abc-news.html", "451"),
    "ABN TV Korea": ("/p/abn-tv-korea.html", "500 then 200"),
    "Action Hollywood Movies": ("/p/action-hollywood-movies.html", "redirect chain"),
    "AFV": ("/p/afv-espanol.html", "redirect to http"),
    "ALF TV": ("/p/alf.html", "redirect loop"),
    "AKC TV Puppies": ("/p/akc-tv-puppies.html", "slow"),
    "Alter Horror": ("/p/alter-horror.html", "10 MB"),
}


class OrvennaCheck(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="orvenna-check-test.")
        cls.key, cls.cert = ls.make_certificate(cls.folder, [PORTAL, YOUTUBE, MAKER])
        cls.counters = ls.Counters()
        cls.cases = {path: case for path, case in CASES.values() if case}
        cls.bases, cls.servers = ls.start([PORTAL, YOUTUBE, MAKER], cls.key, cls.cert, cls.cases, cls.counters)

    @classmethod
    def tearDownClass(cls):
        ls.stop(cls.servers)

    def run_check(self, *args, youtube=None):
        report = os.path.join(self.folder, "report.json")
        if os.path.exists(report):
            os.remove(report)
        command = [CHECK, "--portal-base", self.bases[PORTAL], "--youtube-base", youtube or self.bases[YOUTUBE],
                   "--maker-base", self.bases[MAKER], "--ca-file", self.cert, "--retry-delay", "0.2",
                   "--json", report, *args]
        done = subprocess.run(command, capture_output=True, text=True, timeout=300)
        records = []
        if os.path.exists(report):
            with open(report) as f:
                records = json.load(f)
        return done, {r["name"]: r for r in records}

    def test_each_case_gets_its_verdict(self):
        self.counters.reset()
        only = [a for name in CASES for a in ("--only", name)]
        done, r = self.run_check("--timeout", "1", *only)
        print(done.stdout)
        self.assertEqual(done.returncode, 1, "dead addresses make the exit status 1")
        expected = {
            "123 GO!": ("alive", [200]),
            "3ABN Kids": ("dead", [404, 404, 404]),
            "Ameritrade": ("flaky", [404, 404, 200]),
            "5 Minute Crafts": ("dead", [410, 410, 410]),
            "60 Minutes": ("blocked", [403, 403, 403]),
            "ABC News": ("blocked", [451, 451, 451]),
            "ABN TV Korea": ("flaky", [500, 200]),
            "Action Hollywood Movies": ("alive", [200]),
            "AFV": ("failing", [301, 301, 301]),
            "ALF TV": ("failing", [302, 302, 302]),
            "AKC TV Puppies": ("unreachable", [0, 0, 0]),
            "Alter Horror": ("alive", [200]),
        }
        self.assertEqual({n: (r[n]["verdict"], r[n]["codes"]) for n in r}, expected)
        # The chain of three redirects is followed to where it lands.
        self.assertEqual(r["Action Hollywood Movies"]["final_address"], self.bases[PORTAL] + "/landed")
        # A redirect off https is reported and never followed.
        self.assertIn("non-https", r["AFV"]["errors"][0])
        self.assertEqual(self.counters.hits.get("/plain"), None)
        # A loop stops after five redirects: six requests per try.
        self.assertIn("more than 5 redirects", r["ALF TV"]["errors"][0])
        self.assertEqual(self.counters.hits["/p/alf.html"], 3 * 6)
        # Of the 10 MB body no more than 64 KiB is read.
        self.assertLessEqual(r["Alter Horror"]["bytes"][0], 64 * 1024)
        self.assertGreater(r["Alter Horror"]["bytes"][0], 0)
        # A slow answer ends at the time-out, on every try.
        self.assertTrue(all(s < 5 for s in [r["AKC TV Puppies"]["seconds"]]))
        self.assertEqual(r["3ABN Kids"]["index"], 1)
        self.assertEqual(r["3ABN Kids"]["address"], self.bases[PORTAL] + "/p/3abn-kids.html")

    def test_whole_catalogue_within_the_caps(self):
        for jobs, overall in (("8", 8), ("3", 3)):
            self.counters.reset()
            self.servers_delay(0.05)
            done, r = self.run_check("--jobs", jobs, "--timeout", "2", "--tries", "1", "--fail-on", "blocked")
            self.servers_delay(0.0)
            self.assertEqual(len(r), 362)
            self.assertEqual(done.returncode, 1, "blocked pages make the exit status 1 with --fail-on blocked")
            self.assertLessEqual(self.counters.max_in_flight, overall)
            self.assertGreaterEqual(self.counters.max_in_flight, 2)
            for address, most in self.counters.max_per_address.items():
                self.assertLessEqual(most, 2, address)
        names = [n for n in r]
        self.assertIn("Channel portal", names)
        self.assertIsNone(r["Product page"]["index"])
        self.assertEqual(r["Product page"]["address"], self.bases[MAKER] + "/p/orvenna.html")
        self.assertEqual(r["Channel portal"]["address"], self.bases[PORTAL])
        self.assertEqual(r["CNN India"]["address"], self.bases[YOUTUBE] + "/@cnnnews18")

    def servers_delay(self, seconds):
        for s in self.servers:
            s.delay = seconds

    def test_refused_connections_are_unreachable_and_fail_on_chooses_the_exit_status(self):
        done, r = self.run_check("--only", "CNN India", "--only", "Lofi Girl", "--only", "CNN", "--tries", "2",
                                 youtube="https://127.0.0.4:9")
        self.assertEqual(done.returncode, 0, "nothing is dead")
        self.assertEqual(r["CNN India"]["verdict"], "unreachable")
        self.assertEqual(r["CNN India"]["codes"], [0, 0])
        self.assertEqual(r["CNN"]["verdict"], "alive")
        done, _ = self.run_check("--only", "CNN India", "--tries", "1", "--fail-on", "unreachable,dead",
                                 youtube="https://127.0.0.4:9")
        self.assertEqual(done.returncode, 1)

    def test_usage_errors(self):
        for args in (["--tries", "0"], ["--jobs", "9"], ["--fail-on", "gone"], ["--only", "No Such Channel"], ["--bogus", "1"]):
            done = subprocess.run([CHECK, *args], capture_output=True, text=True, timeout=30)
            self.assertEqual(done.returncode, 2, args)
            self.assertIn("usage:", done.stderr)


if __name__ == "__main__":
    CHECK = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
