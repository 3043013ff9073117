# The statistics server of the installer tests, on 127.0.0.1 and a free port (printed first).
# Every request is logged with whether the watched path (an installed file) still existed when the
# report arrived; the answer's last line is "OK", as the survey expects.
import http.server
import os
import sys

log_path, watched = sys.argv[1], sys.argv[2]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        with open(log_path, "a") as log:
            log.write(f"{self.path} installed={'yes' if os.path.exists(watched) else 'no'}\n")
        body = b"OK\r\n"
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
