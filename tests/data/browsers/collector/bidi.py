#!/usr/bin/python3
"""Minimal WebDriver BiDi driver for populating a Firefox profile (real typed input for form history)."""
import json, sys, time, socket, urllib.request
sys.path.insert(0, '/work/profiles')
from cdp import WS

DBG = 9334
PORT = 8765


class Bidi(WS):
    def cmd(self, method, params=None, timeout=60):
        self.id += 1
        myid = self.id
        self.send_text(json.dumps({'id': myid, 'method': method, 'params': params or {}}))
        self.s.settimeout(timeout)
        while True:
            r = self.recv_msg()
            if r.get('id') == myid:
                if r.get('type') == 'error':
                    print('ERR', method, r.get('error'), r.get('message'), flush=True)
                return r.get('result', {})
            self.events.append(r)


def main():
    for _ in range(150):
        try:
            s = socket.create_connection(('127.0.0.1', DBG)); s.close(); break
        except OSError:
            time.sleep(0.2)
    ws = Bidi('ws://127.0.0.1:%d/session' % DBG)
    print('session', ws.cmd('session.new', {'capabilities': {}}).get('capabilities', {}).get('browserVersion'), flush=True)
    ctx = ws.cmd('browsingContext.getTree', {})['contexts'][0]['context']

    def ev(expr):
        r = ws.cmd('script.evaluate', {'expression': expr, 'target': {'context': ctx}, 'awaitPromise': True})
        return r.get('result', {}).get('value')

    def nav(url, wait_title=None, secs=20):
        ws.cmd('browsingContext.navigate', {'context': ctx, 'url': url, 'wait': 'complete'})
        end = time.time() + secs
        while wait_title and time.time() < end:
            t = ev('document.title') or ''
            if wait_title in t:
                break
            time.sleep(0.3)
        print('  at', ev('location.href'), '|', ev('document.title'), flush=True)
        log = ev("(document.getElementById('log')||{}).textContent")
        if log:
            print('  log:', log.replace('\n', '; '), flush=True)

    def click(sel):
        x, y = ev("(()=>{const r=document.querySelector(%r).getBoundingClientRect();return [Math.round(r.x+r.width/2),Math.round(r.y+r.height/2)]})()" % sel) or [0, 0]
        x, y = x['value'] if isinstance(x, dict) else x, y['value'] if isinstance(y, dict) else y
        ws.cmd('input.performActions', {'context': ctx, 'actions': [{'type': 'pointer', 'id': 'mouse', 'actions': [
            {'type': 'pointerMove', 'x': x, 'y': y}, {'type': 'pointerDown', 'button': 0}, {'type': 'pointerUp', 'button': 0}]}]})

    def type_text(txt):
        acts = []
        for ch in txt:
            acts += [{'type': 'keyDown', 'value': ch}, {'type': 'keyUp', 'value': ch}]
        ws.cmd('input.performActions', {'context': ctx, 'actions': [{'type': 'key', 'id': 'kbd', 'actions': acts}]})

    for host in ('127.0.0.1', 'localhost'):
        base = 'http://%s:%d' % (host, PORT)
        print('site', base, flush=True)
        nav(base + '/tswmarker-index.html', 'DONE')
        time.sleep(1)
        nav(base + '/tswmarker-index.html', 'DONE')
        print('  sw controller:', ev("navigator.serviceWorker.controller && navigator.serviceWorker.controller.scriptURL"))
        print('  fetch via sw:', ev("fetch('/tswmarker-cached.txt').then(r=>r.text())"))
        nav(base + '/tswmarker-form.html')
        click('#tswfield')
        type_text('tswmarker-form-' + host)
        time.sleep(0.3)
        click('#go')
        time.sleep(3)
        print('  after submit:', ev('location.href'), flush=True)
        click('#dl')
        time.sleep(4)
    nav('http://127.0.0.1:%d/tswmarker-bounce-start.html' % PORT)
    end = time.time() + 20
    while time.time() < end and 'bounceend' not in (ev('document.title') or ''):
        time.sleep(0.3)
    print('  at', ev('location.href'), flush=True)
    click('p')
    time.sleep(8)
    import os, subprocess
    if os.environ.get('SNAPSHOT_CMD'):
        subprocess.run(os.environ['SNAPSHOT_CMD'], shell=True)
    print('closing via window.close page', flush=True)
    try:
        ws.cmd('browsingContext.navigate', {'context': ctx, 'url': 'http://127.0.0.1:%d/tswmarker-close.html' % PORT, 'wait': 'none'}, timeout=5)
        ws.pump(20)
    except Exception as e:
        print('  ws ended:', type(e).__name__, flush=True)


if __name__ == '__main__':
    main()
