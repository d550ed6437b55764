"""A stand-in translation host for the end-to-end test: answers /gettts with an MP3 and logs each request line."""
import http.server
import sys

mp3 = open(sys.argv[1], "rb").read()
log = open(sys.argv[2], "a", buffering=1)


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        log.write(self.path + "\n")
        if not self.path.startswith("/gettts?"):
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", "audio/mpeg")
        self.send_header("Content-Length", str(len(mp3)))
        self.end_headers()
        self.wfile.write(mp3)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
