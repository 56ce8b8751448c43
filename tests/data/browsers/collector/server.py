#!/usr/bin/python3
"""Loopback test site for profile-store collection.

Two sites on one port: http://127.0.0.1:PORT and http://localhost:PORT.
Every page writes distinctive tswmarker-* strings into the browser stores.
Query ?auto=1 makes pages chain by themselves (used for Firefox)."""
import http.server, socketserver, sys, struct, zlib, urllib.parse, time

PORT = int(sys.argv[1]) if len(sys.argv) > 1 else 8765
LOG = open('/work/profiles/server.log', 'a', buffering=1)


def png_1x1():
    def chunk(t, d):
        c = struct.pack('>I', len(d)) + t + d
        return c + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    raw = b''
    for _ in range(16):
        raw += b'\x00' + b'\xd0\x20\x90\xff' * 16
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 16, 16, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


PNG = png_1x1()

INDEX = """<!doctype html><html><head><meta charset="utf-8">
<title>tswmarker-title-index {host}</title>
<link rel="icon" type="image/png" href="/tswmarker-favicon.png">
</head><body><h1>tswmarker index {host}</h1><pre id="log"></pre>
<script>
const host = location.host;
function log(s) {{ document.getElementById('log').textContent += s + '\\n'; }}
document.cookie = 'tswjscookie=tswmarker-jscookie-' + location.hostname + '; max-age=31536000; path=/';
localStorage.setItem('tswkey-local', 'tswmarker-local-' + location.hostname);
sessionStorage.setItem('tswkey-session', 'tswmarker-session-' + location.hostname);
log('storage set');
function idb() {{
  return new Promise((res, rej) => {{
    const r = indexedDB.open('tswdb-idb', 1);
    r.onupgradeneeded = () => {{ r.result.createObjectStore('tswstore'); }};
    r.onerror = () => rej(r.error);
    r.onsuccess = () => {{
      const db = r.result;
      const tx = db.transaction('tswstore', 'readwrite');
      tx.objectStore('tswstore').put({{v: 'tswmarker-idb-' + location.hostname}}, 'tswkey-idb');
      tx.oncomplete = () => {{ db.close(); res(); }};
      tx.onerror = () => rej(tx.error);
    }};
  }});
}}
async function sw() {{
  if (!('serviceWorker' in navigator)) {{ log('no sw'); return; }}
  await navigator.serviceWorker.register('/tswmarker-sw.js', {{scope: '/'}});
  const reg = await navigator.serviceWorker.ready;
  // wait for the cache written by the worker's install step
  for (let i = 0; i < 50; i++) {{
    const c = await caches.open('tswcache');
    const m = await c.match('/tswmarker-cached.txt');
    if (m) {{ log('cache ok'); return; }}
    await new Promise(r => setTimeout(r, 100));
  }}
  log('cache missing');
}}
(async () => {{
  try {{ await idb(); log('idb ok'); }} catch (e) {{ log('idb err ' + e); }}
  try {{ await sw(); log('sw ok'); }} catch (e) {{ log('sw err ' + e); }}
  document.title = 'DONE tswmarker-title-index ' + host;
  if (location.search.includes('auto=1')) {{
    setTimeout(() => {{ location.href = '/tswmarker-form.html?auto=1'; }}, 500);
  }}
}})();
</script></body></html>"""

SW = """// tswmarker-sw service worker
self.addEventListener('install', e => {
  e.waitUntil(caches.open('tswcache').then(c => c.add('/tswmarker-cached.txt')).then(() => self.skipWaiting()));
});
self.addEventListener('activate', e => { e.waitUntil(self.clients.claim()); });
self.addEventListener('fetch', e => {
  if (e.request.url.endsWith('/tswmarker-cached.txt')) {
    e.respondWith(caches.match(e.request).then(r => r || fetch(e.request)));
  }
});
"""

FORM = """<!doctype html><html><head><meta charset="utf-8"><title>tswmarker-title-form {host}</title>
<link rel="icon" type="image/png" href="/tswmarker-favicon.png"></head><body>
<form id="f" method="get" action="/tswmarker-formresult.html">
<input type="text" id="tswfield" name="tswfield" autocomplete="on">
<input type="hidden" name="auto" value="{auto}">
<input type="submit" id="go" value="Go"></form>
<script>
if (location.search.includes('auto=1')) {{
  setTimeout(() => {{
    const i = document.getElementById('tswfield');
    i.focus();
    i.value = 'tswmarker-form-' + location.hostname;
    i.dispatchEvent(new Event('input', {{bubbles: true}}));
    i.dispatchEvent(new Event('change', {{bubbles: true}}));
    document.getElementById('f').requestSubmit(document.getElementById('go'));
  }}, 500);
}}
</script></body></html>"""

FORMRESULT = """<!doctype html><html><head><meta charset="utf-8"><title>tswmarker-title-formresult {host}</title>
<link rel="icon" type="image/png" href="/tswmarker-favicon.png"></head><body>
<p>got {q}</p><a id="dl" href="/tswmarker-download">download</a>
<script>
if (location.search.includes('auto=1')) {{
  setTimeout(() => {{ document.getElementById('dl').click(); }}, 500);
  setTimeout(() => {{ location.href = '{next}'; }}, 4000);
}}
</script></body></html>"""

# bounce chain: 127.0.0.1 /tswmarker-bounce-start -> localhost /tswmarker-bounce (sets cookie + storage, JS redirect)
#               -> 127.0.0.1 /tswmarker-bounce-end
BSTART = """<!doctype html><html><head><meta charset="utf-8"><title>tswmarker-title-bouncestart {host}</title></head><body>
<script>setTimeout(() => {{ location.href = 'http://{other}/tswmarker-bounce.html{qs}'; }}, 300);</script></body></html>"""
BOUNCE = """<!doctype html><html><head><meta charset="utf-8"><title>tswmarker-title-bounce {host}</title></head><body>
<script>
document.cookie = 'tswbouncejs=tswmarker-bounce-' + location.hostname + '; max-age=31536000; path=/';
localStorage.setItem('tswkey-bounce', 'tswmarker-bounce-' + location.hostname);
setTimeout(() => {{ location.replace('http://{other}/tswmarker-bounce-end.html{qs}'); }}, 200);
</script></body></html>"""
BEND = """<!doctype html><html><head><meta charset="utf-8"><title>DONE tswmarker-title-bounceend {host}</title></head><body>
<p>end</p><script>
if (location.search.includes('auto=1')) {{ setTimeout(() => {{ location.href = '/tswmarker-close.html'; }}, 3000); }}
</script></body></html>"""
CLOSE = """<!doctype html><html><head><meta charset="utf-8"><title>tswmarker-title-close</title></head><body>
<script>setTimeout(() => {{ window.close(); }}, 8000);</script></body></html>"""


class H(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'

    def log_message(self, fmt, *a):
        LOG.write('%s %s %s\n' % (time.strftime('%H:%M:%S'), self.headers.get('Host'), fmt % a))

    def send(self, code, body, ctype='text/html; charset=utf-8', extra=()):
        if isinstance(body, str):
            body = body.encode()
        self.send_response(code)
        self.send_header('Content-Type', ctype)
        self.send_header('Content-Length', str(len(body)))
        for k, v in extra:
            self.send_header(k, v)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        u = urllib.parse.urlsplit(self.path)
        hostport = self.headers.get('Host', '127.0.0.1:%d' % PORT)
        hostname = hostport.split(':')[0]
        other = ('localhost:%d' if hostname == '127.0.0.1' else '127.0.0.1:%d') % PORT
        q = urllib.parse.parse_qs(u.query)
        auto = q.get('auto', [''])[0]
        qs = '?auto=1' if auto == '1' else ''
        ck = ('Set-Cookie', 'tswhttpcookie=tswmarker-httpcookie-%s; Max-Age=31536000; Path=/' % hostname)
        p = u.path
        if p in ('/', '/index.html', '/tswmarker-index.html'):
            self.send(200, INDEX.format(host=hostport), extra=[ck])
        elif p == '/tswmarker-sw.js':
            self.send(200, SW, 'text/javascript')
        elif p == '/tswmarker-cached.txt':
            self.send(200, 'tswmarker-cache-body ' + hostname + '\n', 'text/plain')
        elif p in ('/favicon.ico', '/tswmarker-favicon.png'):
            self.send(200, PNG, 'image/png', extra=[('Cache-Control', 'max-age=3600')])
        elif p == '/tswmarker-form.html':
            self.send(200, FORM.format(host=hostport, auto=auto))
        elif p == '/tswmarker-formresult.html':
            if hostname == '127.0.0.1':
                nxt = 'http://localhost:%d/tswmarker-index.html%s' % (PORT, qs)
            else:
                nxt = 'http://127.0.0.1:%d/tswmarker-bounce-start.html%s' % (PORT, qs)
            self.send(200, FORMRESULT.format(host=hostport, q=q.get('tswfield', [''])[0], next=nxt))
        elif p == '/tswmarker-download':
            self.send(200, 'tswmarker-download-body from %s\n' % hostname, 'application/octet-stream',
                      extra=[('Content-Disposition', 'attachment; filename="tswmarker-download-%s.txt"' % hostname)])
        elif p == '/tswmarker-bounce-start.html':
            self.send(200, BSTART.format(host=hostport, other=other, qs=qs), extra=[ck])
        elif p == '/tswmarker-bounce.html':
            self.send(200, BOUNCE.format(host=hostport, other=other, qs=qs),
                      extra=[('Set-Cookie', 'tswbouncehttp=tswmarker-bouncehttp-%s; Max-Age=31536000; Path=/' % hostname)])
        elif p == '/tswmarker-bounce-end.html':
            self.send(200, BEND.format(host=hostport))
        elif p == '/tswmarker-close.html':
            self.send(200, CLOSE.format())
        else:
            self.send(404, 'not found')


class S(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


if __name__ == '__main__':
    S(('127.0.0.1', PORT), H).serve_forever()
