#!/usr/bin/python3
"""Minimal CDP driver (stdlib websocket) for populating a Chromium profile."""
import base64, json, os, socket, struct, sys, time, urllib.request

DBG = int(os.environ.get('DBGPORT', '9333'))
PORT = int(os.environ.get('SITEPORT', '8765'))
DL = os.environ.get('DLDIR', '/work/profiles/downloads-chromium')


class WS:
    def __init__(self, url):
        assert url.startswith('ws://')
        hp, path = url[5:].split('/', 1)
        h, p = hp.split(':')
        self.s = socket.create_connection((h, int(p)))
        key = base64.b64encode(os.urandom(16)).decode()
        req = ('GET /%s HTTP/1.1\r\nHost: %s\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n'
               'Sec-WebSocket-Key: %s\r\nSec-WebSocket-Version: 13\r\n\r\n' % (path, hp, key))
        self.s.sendall(req.encode())
        buf = b''
        while b'\r\n\r\n' not in buf:
            buf += self.s.recv(1)
        assert b' 101 ' in buf.split(b'\r\n')[0], buf
        self.id = 0
        self.events = []

    def _recvn(self, n):
        b = b''
        while len(b) < n:
            c = self.s.recv(n - len(b))
            if not c:
                raise EOFError
            b += c
        return b

    def send_text(self, txt):
        data = txt.encode()
        hdr = bytes([0x81])
        n = len(data)
        if n < 126:
            hdr += bytes([0x80 | n])
        elif n < 65536:
            hdr += bytes([0x80 | 126]) + struct.pack('>H', n)
        else:
            hdr += bytes([0x80 | 127]) + struct.pack('>Q', n)
        mask = os.urandom(4)
        self.s.sendall(hdr + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(data)))

    def recv_msg(self):
        msg = b''
        while True:
            b0, b1 = self._recvn(2)
            n = b1 & 0x7f
            if n == 126:
                n = struct.unpack('>H', self._recvn(2))[0]
            elif n == 127:
                n = struct.unpack('>Q', self._recvn(8))[0]
            payload = self._recvn(n)
            op = b0 & 0x0f
            if op == 8:
                raise EOFError
            if op in (9, 10):
                continue
            msg += payload
            if b0 & 0x80:
                return json.loads(msg)

    def call(self, method, params=None, session=None, timeout=30):
        self.id += 1
        m = {'id': self.id, 'method': method, 'params': params or {}}
        if session:
            m['sessionId'] = session
        self.send_text(json.dumps(m))
        myid = self.id
        self.s.settimeout(timeout)
        while True:
            r = self.recv_msg()
            if r.get('id') == myid:
                if 'error' in r:
                    print('ERR', method, r['error'], flush=True)
                return r.get('result', {})
            self.events.append(r)

    def pump(self, secs):
        end = time.time() + secs
        while time.time() < end:
            self.s.settimeout(max(0.05, end - time.time()))
            try:
                self.events.append(self.recv_msg())
            except socket.timeout:
                break


def main():
    for _ in range(100):
        try:
            v = json.load(urllib.request.urlopen('http://127.0.0.1:%d/json/version' % DBG))
            break
        except Exception:
            time.sleep(0.2)
    print('browser', v['Browser'], flush=True)
    ws = WS(v['webSocketDebuggerUrl'])
    ws.call('Browser.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': DL, 'eventsEnabled': True})
    tid = ws.call('Target.createTarget', {'url': 'about:blank'})['targetId']
    sid = ws.call('Target.attachToTarget', {'targetId': tid, 'flatten': True})['sessionId']
    ws.call('Page.enable', session=sid)
    ws.call('Runtime.enable', session=sid)

    def ev(expr):
        r = ws.call('Runtime.evaluate', {'expression': expr, 'awaitPromise': True, 'returnByValue': True},
                    session=sid)
        return r.get('result', {}).get('value')

    def nav(url, wait_title=None, secs=20):
        ws.call('Page.navigate', {'url': url}, session=sid)
        end = time.time() + secs
        while time.time() < end:
            ws.pump(0.5)
            try:
                t = ev('document.title')
            except Exception as e:
                t = None
            if wait_title is None and t is not None and ev('document.readyState') == 'complete':
                break
            if wait_title and t and wait_title in t:
                break
        print('  at', ev('location.href'), '|', ev('document.title'), flush=True)
        log = ev("(document.getElementById('log')||{}).textContent")
        if log:
            print('  log:', log.replace('\n', '; '), flush=True)

    def click(sel):
        box = ev("(()=>{const r=document.querySelector(%r).getBoundingClientRect();return [r.x+r.width/2,r.y+r.height/2]})()" % sel)
        x, y = box
        for t in ('mousePressed', 'mouseReleased'):
            ws.call('Input.dispatchMouseEvent', {'type': t, 'x': x, 'y': y, 'button': 'left', 'clickCount': 1},
                    session=sid)

    for host in ('127.0.0.1', 'localhost'):
        base = 'http://%s:%d' % (host, PORT)
        print('site', base, flush=True)
        nav(base + '/tswmarker-index.html', 'DONE')
        ws.pump(1)
        # second load: now controlled by the service worker, fetch the cached file through it
        nav(base + '/tswmarker-index.html', 'DONE')
        print('  sw controller:', ev("navigator.serviceWorker.controller && navigator.serviceWorker.controller.scriptURL"))
        print('  fetch via sw:', ev("fetch('/tswmarker-cached.txt').then(r=>r.text())"))
        # form: real user typing and click
        nav(base + '/tswmarker-form.html')
        click('#tswfield')
        ws.call('Input.insertText', {'text': 'tswmarker-form-' + host}, session=sid)
        ws.pump(0.5)
        click('#go')
        ws.pump(3)
        print('  after submit:', ev('location.href'), flush=True)
        # download via a user click
        click('#dl')
        ws.pump(4)
    # bounce chain (127.0.0.1 -> localhost bounce -> 127.0.0.1)
    nav('http://127.0.0.1:%d/tswmarker-bounce-start.html' % PORT, 'bounceend', secs=20)
    ws.pump(2)
    # user interaction on the final page
    click('p')
    ws.pump(2)
    dl = [e for e in ws.events if e.get('method', '').startswith('Browser.download')]
    for e in dl:
        if e['method'] == 'Browser.downloadProgress' and e['params'].get('state') != 'completed':
            continue
        print('  dl event', json.dumps(e['params'])[:200], flush=True)
    # let the profile settle (favicons, history commit), then close cleanly
    ws.pump(8)
    if os.environ.get('SNAPSHOT_CMD'):
        import subprocess
        subprocess.run(os.environ['SNAPSHOT_CMD'], shell=True)
    print('closing', flush=True)
    try:
        ws.call('Browser.close', timeout=10)
    except Exception as e:
        print('close ->', type(e).__name__)


if __name__ == '__main__':
    main()
