"""HTTPS servers on loopback addresses for the health check's tests.

Each server answers by path: most pages with 200, some with the cases the
check must tell apart. It counts requests in flight, overall and per address,
so that the tests can check the caps. Nothing leaves the machine.
"""
import http.server
import os
import socketserver
import ssl
import subprocess
import tempfile
import threading
import time


def make_certificate(folder, addresses):
    """A self-signed certificate valid for the given IP addresses."""
    key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
    san = ",".join(f"IP:{a}" for a in addresses)
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=orvenna-test",
                    "-addext", f"subjectAltName={san}", "-keyout", key, "-out", cert],
                   check=True, capture_output=True)
    return key, cert


class Counters:
    def __init__(self):
        self.lock = threading.Lock()
        self.in_flight = 0
        self.max_in_flight = 0
        self.per_address = {}
        self.max_per_address = {}
        self.hits = {}
        self.bytes_sent = {}

    def enter(self, address, path):
        with self.lock:
            self.in_flight += 1
            self.max_in_flight = max(self.max_in_flight, self.in_flight)
            n = self.per_address.get(address, 0) + 1
            self.per_address[address] = n
            self.max_per_address[address] = max(self.max_per_address.get(address, 0), n)
            self.hits[path] = self.hits.get(path, 0) + 1
            return self.hits[path]

    def leave(self, address):
        with self.lock:
            self.in_flight -= 1
            self.per_address[address] -= 1

    def reset(self):
        with self.lock:
            self.max_in_flight = 0
            self.max_per_address = {}
            self.hits = {}
            self.bytes_sent = {}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send(self, status, body=b"ok", headers=()):
        self.send_response(status)
        for k, v in headers:
            self.send_header(k, v)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        server = self.server
        address = server.server_address[0]
        path = self.path
        # A request counts as in flight from its arrival until its answer starts:
        # once the last byte is out the client may rightly send the next one.
        hit = server.counters.enter(address, path)
        try:
            time.sleep(server.delay)
        finally:
            server.counters.leave(address)
        try:
            self.answer(path, hit)
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError):
            pass

    def answer(self, path, hit):
        cases = self.server.cases
        me = f"https://{self.server.server_address[0]}:{self.server.server_address[1]}"
        case = cases.get(path)
        if case is None:
            self.send(200)
        elif case == "404":
            self.send(404)
        elif case == "404 twice":
            self.send(404 if hit <= 2 else 200)
        elif case in ("410", "403", "451"):
            self.send(int(case))
        elif case == "500 then 200":
            self.send(500 if hit == 1 else 200)
        elif case == "redirect chain":
            self.send(302, headers=[("Location", f"{me}/chain/1")])
        elif case.startswith("chain "):
            step = int(case.split()[1])
            self.send(302, headers=[("Location", f"{me}/chain/{step + 1}" if step < 3 else f"{me}/landed")])
        elif case == "redirect to http":
            self.send(301, headers=[("Location", f"http://{self.server.server_address[0]}:9/plain")])
        elif case == "redirect loop":
            self.send(302, headers=[("Location", f"{me}{path}")])
        elif case == "slow":
            time.sleep(3)
            self.send(200)
        elif case == "10 MB":
            self.send_response(200)
            self.send_header("Content-Length", str(10 * 1024 * 1024))
            self.end_headers()
            chunk = b"x" * 65536
            for _ in range(160):
                self.wfile.write(chunk)
        else:
            self.send(200)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def start(addresses, key, cert, cases, counters, delay=0.0):
    """Starts one HTTPS server per address on a free port; returns {address: base URL} and the servers."""
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    servers, bases = [], {}
    for a in addresses:
        s = Server((a, 0), Handler)
        s.socket = context.wrap_socket(s.socket, server_side=True)
        s.cases, s.counters, s.delay = cases, counters, delay
        threading.Thread(target=s.serve_forever, daemon=True).start()
        servers.append(s)
        bases[a] = f"https://{a}:{s.server_address[1]}"
    cases.update({"/chain/1": "chain 1", "/chain/2": "chain 2", "/chain/3": "chain 3"})
    return bases, servers


def stop(servers):
    for s in servers:
        s.shutdown()
        s.server_close()
