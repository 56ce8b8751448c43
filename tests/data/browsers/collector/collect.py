#!/usr/bin/python3
"""Collect layout / SQLite schemas / LevelDB keys / marker locations from the two profiles.
Works only on copies (under /work/profiles/tmp) so the profiles stay as the browsers left them."""
import hashlib, json, os, re, shutil, sqlite3, struct, subprocess, sys, datetime

import plyvel

ROOT = '/work/profiles'
OUT = '/work/main/tests/data/browsers'
TMP = ROOT + '/tmp'
CH = ROOT + '/chromium'
FF = ROOT + '/firefox'
PORT = 8765

MARKERS = ['tswmarker-local', 'tswmarker-session', 'tswmarker-idb', 'tswmarker-form', 'tswmarker-httpcookie',
           'tswmarker-jscookie', 'tswmarker-bounce', 'tswmarker-cache-body', 'tswmarker-sw', 'tswmarker-download',
           'tswmarker-favicon', 'tswmarker-title']
SITES = ['127.0.0.1', 'localhost']

CH_VER = subprocess.run(['chromium', '--version'], capture_output=True, text=True).stdout.strip()
FF_VER = subprocess.run(['firefox-esr', '--version'], capture_output=True, text=True).stdout.strip()
CH_PKG = subprocess.run(['dpkg-query', '-W', '-f=${Version}', 'chromium'], capture_output=True, text=True).stdout
FF_PKG = subprocess.run(['dpkg-query', '-W', '-f=${Version}', 'firefox-esr'], capture_output=True, text=True).stdout
SQ_VER = subprocess.run(['sqlite3', '--version'], capture_output=True, text=True).stdout.split()[0]
PLYVEL_VER = plyvel.__version__


def esc(b, limit=None):
    if isinstance(b, str):
        b = b.encode('utf-8', 'surrogateescape')
    more = limit is not None and len(b) > limit
    if limit is not None:
        b = b[:limit]
    s = ''.join(chr(c) if 0x20 <= c < 0x7f and c != 0x5c else ('\\\\' if c == 0x5c else '\\x%02x' % c) for c in b)
    return s + ('...' if more else '')


def u16(s):
    return s.encode('utf-16-le')


def found_markers(blob):
    """Which markers / sites occur in blob (ASCII/UTF-8 or UTF-16LE)."""
    hits = []
    for m in MARKERS + SITES:
        if m.encode() in blob:
            hits.append(m)
        elif u16(m) in blob:
            hits.append(m + '(utf16)')
    return hits


def rel(p, base):
    return os.path.relpath(p, base)


def walk_files(base):
    for d, dirs, files in os.walk(base):
        dirs.sort()
        for f in sorted(files):
            yield os.path.join(d, f)


def is_sqlite(p):
    try:
        with open(p, 'rb') as f:
            return f.read(16) == b'SQLite format 3\x00'
    except OSError:
        return False


def copy_db(p):
    """Copy a SQLite file with its -journal/-wal/-shm to TMP; return the copy path."""
    os.makedirs(TMP, exist_ok=True)
    h = hashlib.sha1(p.encode()).hexdigest()[:12]
    dst = os.path.join(TMP, 'db_' + h + '.sqlite')
    for suf in ('', '-journal', '-wal', '-shm'):
        if os.path.exists(dst + suf):
            os.remove(dst + suf)
        if os.path.exists(p + suf):
            shutil.copy2(p + suf, dst + suf)
    return dst


# ---------------------------------------------------------------- layout
def layout(base, title, version, extra_notes, outname, summarize_dirs=()):
    lines = ['# %s profile layout' % title, '# browser: %s' % version,
             '# collected %s UTC from %s (paths relative to it)' % (
                 datetime.datetime.utcnow().strftime('%Y-%m-%d'), base),
             '# format: "d <path>/" for a folder, "f <bytes> <path>" for a file, "l" for a symlink; [SQLite], [LevelDB] tags added',
             '# folders listed in summary form (many hashed cache entries) show a count and the first few names']
    lines += ['# ' + n for n in extra_notes]
    lines.append('')
    for d, dirs, files in os.walk(base):
        dirs.sort()
        r = rel(d, base)
        if r != '.':
            tag = ' [LevelDB]' if os.path.exists(os.path.join(d, 'CURRENT')) and any(
                f.startswith('MANIFEST-') for f in files) else ''
            lines.append('d %s/%s' % (r, tag))
        if any(r == s or r.startswith(s + '/') for s in summarize_dirs) and len(files) > 6:
            tot = sum(os.path.getsize(os.path.join(d, f)) for f in files)
            lines.append('f * %s/  (%d files, %d bytes in all; e.g. %s)' % (r, len(files), tot, ', '.join(sorted(files)[:4])))
            continue
        for f in sorted(files):
            p = os.path.join(d, f)
            if os.path.islink(p):
                lines.append('l %s -> %s  (symlink)' % (rel(p, base), os.readlink(p)))
                continue
            tag = ' [SQLite]' if is_sqlite(p) else ''
            lines.append('f %d %s%s' % (os.path.getsize(p), rel(p, base), tag))
    with open(os.path.join(OUT, outname), 'w') as f:
        f.write('\n'.join(lines) + '\n')


# ---------------------------------------------------------------- schemas
def schemas(bases, title, version, outname):
    out = ['-- SQLite schemas of a %s profile' % title, '-- browser: %s' % version,
           '-- each section: "-- <path relative to the folder named>" then `sqlite3 <copy> .schema` output verbatim',
           '-- (sqlite3 %s); after it, "-- rows:" comments give the row count of each table in this profile.' % SQ_VER,
           '']
    dbs = []
    for base, label in bases:
        for p in walk_files(base):
            if is_sqlite(p):
                dbs.append((base, label, p))
    for base, label, p in dbs:
        c = copy_db(p)
        r = subprocess.run(['sqlite3', c, '.schema'], capture_output=True, text=True)
        out.append('-- %s%s' % (label, rel(p, base)))
        out.append(r.stdout.rstrip('\n') if r.stdout.strip() else '-- (no tables)')
        if r.stderr.strip():
            out.append('-- sqlite3 said: ' + r.stderr.strip().replace('\n', ' | '))
        try:
            con = sqlite3.connect(c)
            tabs = [t for (t,) in con.execute("select name from sqlite_master where type='table' order by name")]
            counts = []
            for t in tabs:
                try:
                    counts.append('%s=%d' % (t, con.execute('select count(*) from "%s"' % t).fetchone()[0]))
                except Exception as e:
                    counts.append('%s=?(%s)' % (t, e))
            con.close()
            if counts:
                out.append('-- rows: ' + ', '.join(counts))
        except Exception as e:
            out.append('-- rows: not read (%s)' % e)
        out.append('')
    with open(os.path.join(OUT, outname), 'w') as f:
        f.write('\n'.join(out))
    return dbs


def sqlite_marker_cells(p):
    """[(table, column, marker, rowid-ish sample)] for cells containing markers/sites."""
    c = copy_db(p)
    res = []
    try:
        con = sqlite3.connect(c)
        tabs = [t for (t,) in con.execute("select name from sqlite_master where type='table'")]
        for t in tabs:
            try:
                cols = [r[1] for r in con.execute('pragma table_info("%s")' % t)]
            except Exception:
                continue
            for col in cols:
                for m in MARKERS + SITES:
                    for form, enc in (('', m.encode()), ('(utf16)', u16(m))):
                        try:
                            n = con.execute('select count(*) from "%s" where instr(cast("%s" as blob), ?) > 0' % (t, col),
                                            (enc,)).fetchone()[0]
                        except Exception:
                            n = 0
                        if n:
                            res.append((t, col, m + form, n))
        con.close()
    except Exception as e:
        res.append(('?', '?', 'error %s' % e, 0))
    return res


# ---------------------------------------------------------------- leveldb
def manifest_comparator(d):
    cur = open(os.path.join(d, 'CURRENT')).read().strip()
    data = open(os.path.join(d, cur), 'rb').read()
    recs = log_records(data)
    for r in recs:
        i = 0
        while i < len(r):
            tag, i = varint(r, i)
            if tag == 1:  # comparator
                n, i = varint(r, i)
                return cur, r[i:i + n].decode()
            elif tag in (2, 3, 4, 9):
                _, i = varint(r, i)
            else:
                break
    return cur, None


def varint(b, i):
    shift = res = 0
    while True:
        c = b[i]
        i += 1
        res |= (c & 0x7f) << shift
        if not c & 0x80:
            return res, i
        shift += 7


def log_records(data):
    """LevelDB log format: 32 KiB blocks of [crc32c:4][len:2][type:1][payload]."""
    out, frag, pos = [], b'', 0
    while pos + 7 <= len(data):
        blk_left = 32768 - pos % 32768
        if blk_left < 7:
            pos += blk_left
            continue
        n, typ = struct.unpack('<HB', data[pos + 4:pos + 7])
        payload = data[pos + 7:pos + 7 + n]
        pos += 7 + n
        if typ == 0 and n == 0:
            break
        if typ == 1:
            out.append(payload)
        elif typ == 2:
            frag = payload
        elif typ == 3:
            frag += payload
        elif typ == 4:
            out.append(frag + payload)
            frag = b''
    return out


def log_batches(path):
    """Decode WriteBatch records of a .log: [(seq, 'PUT'|'DEL', key, value)]."""
    res = []
    for rec in log_records(open(path, 'rb').read()):
        seq, cnt = struct.unpack('<QI', rec[:12])
        i = 12
        for k in range(cnt):
            t = rec[i]
            i += 1
            n, i = varint(rec, i)
            key = rec[i:i + n]
            i += n
            if t == 1:
                n, i = varint(rec, i)
                val = rec[i:i + n]
                i += n
                res.append((seq + k, 'PUT', key, val))
            else:
                res.append((seq + k, 'DEL', key, b''))
    return res


def bytewise(a, b):
    return (a > b) - (a < b)


def leveldb_dump(base, d):
    lines = []
    r = rel(d, base)
    cur, comp = manifest_comparator(d)
    files = sorted(os.listdir(d))
    lines.append('=' * 78)
    lines.append('STORE %s/' % r)
    lines.append('  files: ' + ', '.join('%s(%d)' % (f, os.path.getsize(os.path.join(d, f))) for f in files))
    lines.append('  CURRENT -> %s; comparator in MANIFEST: %s' % (cur, comp))
    tmpd = os.path.join(TMP, 'ldb_' + hashlib.sha1(d.encode()).hexdigest()[:12])
    if os.path.exists(tmpd):
        shutil.rmtree(tmpd)
    shutil.copytree(d, tmpd)
    items = None
    try:
        db = plyvel.DB(tmpd, create_if_missing=False)
        items = list(db.iterator())
        db.close()
        lines.append('  plyvel %s: opens it with the default comparator (leveldb.BytewiseComparator)' % PLYVEL_VER)
    except Exception as e:
        lines.append('  plyvel %s: does NOT open it with the default comparator: %s: %s' % (
            PLYVEL_VER, type(e).__name__, str(e).strip()))
        if comp and comp != 'leveldb.BytewiseComparator':
            shutil.rmtree(tmpd)
            shutil.copytree(d, tmpd)
            try:
                db = plyvel.DB(tmpd, create_if_missing=False, comparator=bytewise, comparator_name=comp.encode())
                items = list(db.iterator())
                db.close()
                lines.append('  plyvel opens a copy when given a stand-in byte-wise comparator registered under the name '
                             '"%s" (the key order below is then byte order, not the order %s defines)' % (comp, comp))
            except Exception as e2:
                lines.append('  plyvel with a stand-in comparator named %s also failed: %s' % (comp, e2))
    shutil.rmtree(tmpd, ignore_errors=True)
    if items is not None:
        lines.append('  live entries: %d   (format: key => first 80 bytes of value [value length]  {markers found in key/value})' % len(items))
        for k, v in items:
            hits = found_markers(k + b'\x00' + v)
            lines.append('    %s => %s [%d]%s' % (esc(k), esc(v, 80), len(v), ('  {' + ', '.join(hits) + '}') if hits else ''))
    # raw write log (shows deletions too)
    for f in files:
        if f.endswith('.log'):
            recs = log_batches(os.path.join(d, f))
            dels = [x for x in recs if x[1] == 'DEL']
            lines.append('  write log %s: %d records (%d PUT, %d DEL)' % (f, len(recs), len(recs) - len(dels), len(dels)))
            for seq, op, k, v in dels[:12]:
                lines.append('    seq %d DEL %s' % (seq, esc(k)))
            if len(dels) > 12:
                lines.append('    ... %d more DEL' % (len(dels) - 12))
    lines.append('')
    return lines


def find_leveldbs(base):
    res = []
    for d, dirs, files in os.walk(base):
        dirs.sort()
        if 'CURRENT' in files and any(f.startswith('MANIFEST-') for f in files):
            res.append(d)
    return res


# ---------------------------------------------------------------- grep markers
def grep_markers(base):
    lines = []
    for m in MARKERS + SITES:
        a = subprocess.run(['grep', '-rlaF', '--', m, base], capture_output=True, text=True).stdout.split('\n')
        pat = ''.join('%s\\x00' % re.escape(c) for c in m)[:-4]
        b = subprocess.run(['grep', '-rlaP', '--', pat, base], capture_output=True, text=True).stdout.split('\n')
        a = sorted(rel(x, base) for x in a if x)
        b = sorted(rel(x, base) for x in b if x)
        lines.append('%s:' % m)
        for x in a:
            lines.append('    %s' % x)
        for x in b:
            lines.append('    %s  (as UTF-16LE)' % x)
        if not a and not b:
            lines.append('    (nowhere)')
    return lines


def collapse_cache(lines, pats):
    """Fold runs of disk-cache entry files into one line per pattern."""
    out = []
    for l in lines:
        lab = None
        for pat, label in pats:
            if re.match(r'    ' + pat + r'(  \(as UTF-16LE\))?$', l):
                lab = label + ('  (as UTF-16LE)' if l.endswith('(as UTF-16LE)') else '')
        if lab:
            if out and out[-1].startswith('    [') and out[-1].endswith('] ' + lab):
                n = int(out[-1][5:out[-1].index(' file')]) + 1
                out[-1] = '    [%d files] %s' % (n, lab)
            else:
                out.append('    [1 files] %s' % lab)
        else:
            out.append(l)
    return out


def mozlz4(path):
    data = open(path, 'rb').read()
    if not data.startswith(b'mozLz40\x00'):
        return None
    size = struct.unpack('<I', data[8:12])[0]
    src, out, i = data[12:], bytearray(), 0
    while i < len(src):
        tok = src[i]
        i += 1
        lit = tok >> 4
        if lit == 15:
            while True:
                b = src[i]
                i += 1
                lit += b
                if b != 255:
                    break
        out += src[i:i + lit]
        i += lit
        if i >= len(src):
            break
        off = src[i] | (src[i + 1] << 8)
        i += 2
        ml = tok & 15
        if ml == 15:
            while True:
                b = src[i]
                i += 1
                ml += b
                if b != 255:
                    break
        ml += 4
        for _ in range(ml):
            out.append(out[-off])
    return bytes(out[:size])


# ================================================================ outputs
def live_compare(name, base_live, snapfile):
    """Files and marker hits while the browser ran vs after it closed (second, identical run)."""
    j = json.load(open(snapfile))
    live = set(j['files'])
    after = set()
    for d, ds, fs in os.walk(base_live):
        for f in fs:
            after.add(rel(os.path.join(d, f), base_live))
    lines = ['A second, identical run into a scratch profile (%s/) was snapshotted just before closing, then again after:' % os.path.basename(base_live),
             '  files present only while running: ' + (', '.join(sorted(live - after)) or '(none)'),
             '  files present only after closing: ' + (', '.join(sorted(after - live)) or '(none)')]
    def per_marker(lines_):
        res, cur = {}, None
        for l in lines_:
            if not l.startswith(' '):
                cur = l.rstrip(':')
                res[cur] = set()
            elif l.strip() != '(nowhere)':
                res[cur].add(re.sub(r'_1344\d+', '_<time>', l.strip()))
        return res
    gl = per_marker(collapse_cache(j['grep'], CACHE_PATS))
    ga = per_marker(collapse_cache(grep_markers(base_live), CACHE_PATS))
    lines.append('  marker grep, differences only (Sessions file names differ only by their time stamps, shown as _<time>):')
    same = True
    for m in MARKERS + SITES:
        only_live = sorted(gl.get(m, set()) - ga.get(m, set()))
        only_after = sorted(ga.get(m, set()) - gl.get(m, set()))
        if only_live or only_after:
            same = False
            lines.append('    %s:' % m)
            lines += ['        only while running: ' + x for x in only_live]
            lines += ['        only after closing: ' + x for x in only_after]
    if same:
        lines.append('    (none: every marker was in the same files while running and after closing)')
    return lines


CACHE_PATS = [(r'Default/Cache/Cache_Data/[0-9a-f]{16}_[0-9]', 'Default/Cache/Cache_Data/<16 hex>_0  (HTTP disk cache entries)'),
              (r'cache2/entries/[0-9A-F]{40}', 'cache2/entries/<40 hex>  (HTTP cache entries)'),
              (r'Default/Code Cache/js/[0-9a-f]{16}_[0-9]', 'Default/Code Cache/js/<16 hex>_0  (compiled script cache)')]


def hex_rule_lines():
    lines = []
    cs = os.path.join(CH, 'Default/Service Worker/CacheStorage')
    dirs = sorted(os.listdir(cs)) if os.path.isdir(cs) else []
    lines.append('CacheStorage folders under Default/Service Worker/CacheStorage/: ' + ', '.join(dirs))
    cands = []
    for h in SITES:
        o = 'http://%s:%d' % (h, PORT)
        cands += [o + '/', o, 'http_%s_%d' % (h, PORT), '%s:%d' % (h, PORT), h]
    for c in cands:
        for alg in ('sha1', 'sha256'):
            hx = hashlib.new(alg, c.encode()).hexdigest()
            lines.append('  %-6s(%-26s) = %s%s' % (alg, '"%s"' % c, hx, '   <== MATCHES a folder' if hx in dirs else ''))
    for d in dirs:
        idx = os.path.join(cs, d, 'index.txt')
        if os.path.exists(idx):
            lines.append('  %s/index.txt (protobuf: cache name, cache folder uuid, UTF-16 name, storage key, origin): %s' % (
                d, esc(open(idx, 'rb').read(), 200)))
            subs = [s for s in sorted(os.listdir(os.path.join(cs, d))) if os.path.isdir(os.path.join(cs, d, s))]
            lines.append('     sub-folders (one per cache, disk_cache "simple" backend with index-dir/the-real-index): ' + ', '.join(subs))
    return lines


def chromium_outputs():
    notes = ['user-data folder = /work/profiles/chromium ("Local State", component folders, segmentation_platform/),',
             'profile = Default/ . Launched with HOME=/work/profiles/home: Chromium also wrote %s there.' % ', '.join(
                 rel(p, ROOT + '/home') for p in walk_files(ROOT + '/home') if 'chromium' in p),
             'SingletonLock / SingletonCookie / SingletonSocket exist only while the browser runs (dangling symlinks + socket).']
    layout(CH, 'Chromium', '%s (Debian package chromium %s)' % (CH_VER, CH_PKG), notes, 'chromium-layout.txt',
           summarize_dirs=('Default/Cache/Cache_Data', 'Default/Code Cache', 'component_crx_cache', 'hyphen-data',
                           'Default/Extension State', 'ZxcvbnData', 'WasmTtsEngine', 'OptimizationHints', 'MEIPreload',
                           'OnDeviceHeadSuggestModel', 'Dictionaries', 'FirstPartySetsPreloaded', 'Safe Browsing'))
    dbs = schemas([(CH, '')], 'Chromium', '%s (Debian package chromium %s)' % (CH_VER, CH_PKG), 'chromium-schemas.sql')

    # leveldb
    out = open(os.path.join(OUT, 'chromium-leveldb.txt'), 'w')
    out.write(open(os.path.join(ROOT, 'notes-chromium-leveldb.txt')).read().replace('@VER@', '%s (Debian %s)' % (CH_VER, CH_PKG)).replace('@PLYVEL@', PLYVEL_VER))
    for d in find_leveldbs(CH):
        out.write('\n'.join(leveldb_dump(CH, d)) + '\n')
    out.close()

    # markers and other facts
    L = ['# Chromium: where the test markers and the two sites ended up', '# browser: %s (Debian %s)' % (CH_VER, CH_PKG),
         '# sites: http://127.0.0.1:%d and http://localhost:%d ; paths relative to the user-data folder' % (PORT, PORT), '']
    L.append('## grep -rla for each marker in the closed profile (plain bytes; "(as UTF-16LE)" = found only as UTF-16LE)')
    L.append('## runs of disk-cache entry files (Default/Cache/Cache_Data/<16 hex>_0) are folded into one "[N files]" line')
    L += collapse_cache(grep_markers(CH), CACHE_PATS)
    L.append('')
    L.append('## SQLite cells holding a marker or a site host (table.column, count of rows)')
    for base, label, p in dbs:
        cells = sqlite_marker_cells(p)
        if cells:
            L.append(rel(p, base))
            L += ['    %s.%s  %s  x%d' % c for c in cells]
    L.append('')
    con = sqlite3.connect(copy_db(CH + '/Default/Cookies'))
    L.append('## Default/Cookies rows (value column is empty; the value is in encrypted_value, which starts with "v10" on Linux without a keyring)')
    for r in con.execute('select host_key, name, value, substr(encrypted_value,1,3), length(encrypted_value), path, '
                         'is_persistent, source_scheme, source_port, top_frame_site_key from cookies order by host_key, name'):
        L.append('    host_key=%r name=%r value=%r encrypted_value=%r...(%d bytes) path=%r is_persistent=%r source_scheme=%r source_port=%r top_frame_site_key=%r' % r)
    L.append('')
    con = sqlite3.connect(copy_db(CH + '/Default/DIPS'))
    cols = [c[1] for c in con.execute('pragma table_info(bounces)')]
    L.append('## Default/DIPS bounces rows (%s); times are Windows-epoch microseconds' % ', '.join(cols))
    L += ['    %r' % (r,) for r in con.execute('select * from bounces')]
    L.append('')
    con = sqlite3.connect(copy_db(CH + '/Default/History'))
    L.append('## Default/History urls rows (id, url, title, visit_count, typed_count)')
    L += ['    %r' % (r,) for r in con.execute('select id, url, title, visit_count, typed_count from urls order by id')]
    L.append('## Default/History downloads rows (id, guid, current_path, target_path, state, referrer, tab_url, mime_type)')
    L += ['    %r' % (r,) for r in con.execute('select id, guid, current_path, target_path, state, referrer, tab_url, mime_type from downloads')]
    L.append('## Default/History downloads_url_chains rows')
    L += ['    %r' % (r,) for r in con.execute('select * from downloads_url_chains')]
    L.append('')
    con = sqlite3.connect(copy_db(CH + '/Default/Web Data'))
    L.append('## Default/Web Data autofill rows (name, value, value_lower, date_created, date_last_used, count)')
    L += ['    %r' % (r,) for r in con.execute('select name, value, value_lower, date_created, date_last_used, count from autofill')]
    L.append('')
    con = sqlite3.connect(copy_db(CH + '/Default/Favicons'))
    L.append('## Default/Favicons: favicons rows (id, url, icon_type) and icon_mapping rows (page_url, icon_id)')
    L += ['    %r' % (r,) for r in con.execute('select id, url, icon_type from favicons')]
    L += ['    %r' % (r,) for r in con.execute('select page_url, icon_id from icon_mapping')]
    L.append('')
    con = sqlite3.connect(copy_db(CH + '/Default/WebStorage/QuotaManager'))
    cols = [c[1] for c in con.execute('pragma table_info(buckets)')]
    L.append('## Default/WebStorage/QuotaManager buckets rows (%s)' % ', '.join(cols))
    L += ['    %r' % (r,) for r in con.execute('select * from buckets')]
    L.append('   (first-party default buckets keep their data in the legacy per-type folders: Default/IndexedDB, Default/Service Worker/CacheStorage, ...;'
             ' Default/WebStorage/<bucket id>/ folders are for non-default buckets and did not appear here)')
    L.append('')
    L.append('## Service worker stores')
    L += hex_rule_lines()
    sc = os.path.join(CH, 'Default/Service Worker/ScriptCache')
    L.append('ScriptCache (service worker scripts): Default/Service Worker/ScriptCache/ = disk_cache simple backend: ' + ', '.join(
        '%s(%d)' % (rel(p, sc), os.path.getsize(p)) for p in walk_files(sc)))
    for p in walk_files(sc):
        if re.search(r'_0$', p):
            L.append('    %s key: %s' % (os.path.basename(p), esc(open(p, 'rb').read()[24:24 + 60], 60)))
    L.append('Registrations themselves: the LevelDB Default/Service Worker/Database/ (see chromium-leveldb.txt).')
    L.append('')
    L.append('## Site Characteristics Database keys = hex MD5 of the host')
    for h in SITES:
        L.append('    md5(%r) = %s' % (h, hashlib.md5(h.encode()).hexdigest()))
    L.append('')
    L.append('## JSON files naming the sites')

    def jwalk(o, path=''):
        if isinstance(o, dict):
            for k, v in o.items():
                pth = path + '.' + k if path else k
                if any(s in k for s in SITES):
                    yield pth, json.dumps(v)[:120]
                else:
                    yield from jwalk(v, pth)
        elif isinstance(o, list):
            for i, v in enumerate(o):
                yield from jwalk(v, '%s[%d]' % (path, i))
        elif isinstance(o, str) and any(s in o for s in SITES):
            yield path, o[:120]
    for f in ('Local State', 'Default/Preferences', 'Default/Secure Preferences'):
        hits = list(jwalk(json.load(open(os.path.join(CH, f)))))
        L.append('%s: %s' % (f, '' if hits else '(no site names)'))
        L += ['    %s = %s...' % h for h in hits]
    L.append('')
    L.append('## Session files (SNSS): ' + ', '.join('%s(%d)' % (rel(p, CH), os.path.getsize(p)) for p in walk_files(CH + '/Default')
                                                   if '/Sessions' in p))
    L.append('   URLs are stored as UTF-8/ASCII, titles as UTF-16LE (hence the "(as UTF-16LE)" hits above). Sessions_Encrypted/ holds an encrypted copy.')
    L.append('')
    L.append('## While running vs after closing')
    L += live_compare('chromium', CH + '-live', ROOT + '/live-chromium.json')
    open(os.path.join(OUT, 'chromium-markers.txt'), 'w').write('\n'.join(L) + '\n')


def firefox_outputs():
    home_ff = [rel(p, ROOT + '/home') for p in walk_files(ROOT + '/home') if 'mozilla' in p]
    notes = ['profile folder = /work/profiles/firefox, started with --profile (so cache2/ sits inside the profile,',
             'not under ~/.cache). HOME=/work/profiles/home: Firefox also wrote %s there.' % (', '.join(home_ff) or 'nothing'),
             '"lock" is a dangling symlink (target "<ip>:+<pid>") and stays after closing.',
             'user.js was added by the collector (prefs: downloads folder, no download prompt, script window.close, loopback-only proxy).']
    layout(FF, 'Firefox ESR', '%s (Debian package firefox-esr %s)' % (FF_VER, FF_PKG), notes, 'firefox-layout.txt',
           summarize_dirs=('cache2/entries', 'safebrowsing', 'datareporting', 'startupCache', 'security_state', 'settings'))
    dbs = schemas([(FF, '')], 'Firefox ESR', '%s (Debian package firefox-esr %s)' % (FF_VER, FF_PKG), 'firefox-schemas.sql')

    L = ['# Firefox ESR: profile files and where the test markers ended up', '# browser: %s (Debian %s)' % (FF_VER, FF_PKG),
         '# sites: http://127.0.0.1:%d and http://localhost:%d ; paths relative to the profile folder' % (PORT, PORT), '']
    L.append('## serviceworker.txt (verbatim, between the ---- lines)')
    L.append('----')
    L += open(FF + '/serviceworker.txt').read().rstrip('\n').split('\n')
    L.append('----')
    L.append(open(ROOT + '/notes-firefox-sw.txt').read().rstrip('\n'))
    L.append('')
    L.append('## storage/ folders')
    st = FF + '/storage'
    for rep in sorted(os.listdir(st)):
        p = os.path.join(st, rep)
        if os.path.isdir(p):
            L.append('storage/%s/: %s' % (rep, ', '.join(sorted(os.listdir(p))) or '(empty)'))
        else:
            L.append('storage/%s (file, %d bytes)' % (rep, os.path.getsize(p)))
    for o in sorted(os.listdir(st + '/default')):
        od = os.path.join(st, 'default', o)
        L.append('')
        L.append('storage/default/%s/  (origin folder: "://" and ":" of the origin become "+++" and "+")' % o)
        for p in walk_files(od):
            r = rel(p, od)
            extra = ''
            if r == '.metadata-v2':
                extra = '  = ' + esc(open(p, 'rb').read())
            elif r.endswith('usage') or r.endswith('.padding'):
                extra = '  = ' + esc(open(p, 'rb').read())
            elif r.endswith('.final'):
                extra = '  (cached body file of a Cache API entry)'
            elif is_sqlite(p):
                extra = '  [SQLite]'
            L.append('    f %d %s%s' % (os.path.getsize(p), r, extra))
        for d, ds, fs in os.walk(od):
            for dd in ds:
                if not os.listdir(os.path.join(d, dd)):
                    L.append('    d %s/ (empty)' % rel(os.path.join(d, dd), od))
    L.append('')
    L.append('IndexedDB file name: <mozilla::HashString(UTF-16 db name)><name letters taken first,last,second,second-last,...>.sqlite')
    L.append('    database "tswdb-idb": HashString = %d, interleave = %s  -> %d%s.sqlite (observed: %s)' % (
        ff_hash('tswdb-idb'), interleave('tswdb-idb'), ff_hash('tswdb-idb'), interleave('tswdb-idb'),
        ', '.join(sorted(f for f in os.listdir(st + '/default/http+++127.0.0.1+%d/idb' % PORT) if f.endswith('.sqlite')))))
    L.append('')
    for title, f, qs in [
        ('permissions.sqlite', 'permissions.sqlite', ['moz_perms', 'moz_origin_interactions']),
        ('storage.sqlite', 'storage.sqlite', None),
        ('storage/ls-archive.sqlite', 'storage/ls-archive.sqlite', None),
        ('webappsstore.sqlite', 'webappsstore.sqlite', None),
        ('bounce-tracking-protection.sqlite', 'bounce-tracking-protection.sqlite', None),
        ('formhistory.sqlite', 'formhistory.sqlite', ['moz_formhistory']),
        ('storage/default/http+++127.0.0.1+%d/ls/data.sqlite' % PORT, 'storage/default/http+++127.0.0.1+%d/ls/data.sqlite' % PORT, None),
        ('places.sqlite (moz_places, moz_historyvisits, moz_annos, moz_places_extra, moz_historyvisits_extra)', 'places.sqlite',
         ['moz_places', 'moz_historyvisits', 'moz_annos', 'moz_anno_attributes', 'moz_places_extra', 'moz_historyvisits_extra', 'moz_origins']),
        ('favicons.sqlite', 'favicons.sqlite', ['moz_icons', 'moz_pages_w_icons', 'moz_icons_to_pages']),
        ('cookies.sqlite', 'cookies.sqlite', ['moz_cookies'])]:
        con = sqlite3.connect(copy_db(os.path.join(FF, f)))
        if qs is None:
            qs = [t for (t,) in con.execute("select name from sqlite_master where type='table' order by name")]
        L.append('## %s rows' % title)
        for t in qs:
            cols = [c[1] for c in con.execute('pragma table_info("%s")' % t)]
            rows = list(con.execute('select * from "%s"' % t))
            L.append('  %s (%s): %d rows' % (t, ', '.join(cols), len(rows)))
            for r in rows[:40]:
                L.append('    ' + '(' + ', '.join(esc(x, 100) if isinstance(x, bytes) else repr(x)[:160] for x in r) + ')')
            if len(rows) > 40:
                L.append('    ... %d more' % (len(rows) - 40))
        L.append('')
    L.append('## session store files')
    for p in walk_files(FF):
        r = rel(p, FF)
        if r.startswith('sessionstore') or r.startswith('sessionCheckpoints'):
            d = mozlz4(p) if r.endswith('lz4') else None
            L.append('    %s (%d bytes)%s' % (r, os.path.getsize(p), ('  mozLz4 ("mozLz40\\0" + u32 size + LZ4 block) -> %d bytes JSON; markers inside: %s' % (
                len(d), ', '.join(found_markers(d)) or 'none') if d else '')))
    L.append('    sessionstore-backups/ is empty after a clean close; recovery.jsonlz4 exists there only while running (see below).')
    L.append('    sessionCheckpoints.json = ' + open(FF + '/sessionCheckpoints.json').read().strip())
    L.append('')
    L.append('## grep -rla for each marker in the closed profile (plain bytes; "(as UTF-16LE)" = found only as UTF-16LE)')
    L.append('## (*.jsonlz4 and cache2 entries are compressed/binary; see the session store line above)')
    L.append('## the site-name hits in prefs.js / user.js come from the collector\'s proxy prefs, those in startupCache/ from browser code,')
    L.append('## not from the visits; sessionStorage (tswmarker-session) is kept in memory only and is in no store after closing')
    L += collapse_cache(grep_markers(FF), CACHE_PATS)
    L.append('')
    L.append('## SQLite cells holding a marker or a site host (table.column, count of rows)')
    for base, label, p in dbs:
        cells = sqlite_marker_cells(p)
        if cells:
            L.append(rel(p, base))
            L += ['    %s.%s  %s  x%d' % c for c in cells]
    L.append('')
    L.append('## While running vs after closing')
    L += live_compare('firefox', FF + '-live', ROOT + '/live-firefox.json')
    open(os.path.join(OUT, 'firefox-files.txt'), 'w').write('\n'.join(L) + '\n')


def ff_hash(s):
    h = 0
    for c in s:
        h = (0x9E3779B9 * ((((h << 5) | (h >> 27)) & 0xffffffff) ^ ord(c))) & 0xffffffff
    return h


def interleave(s):
    out, i, j = [], 0, len(s) - 1
    while i <= j:
        out.append(s[i])
        if i != j:
            out.append(s[j])
        i += 1
        j -= 1
    return ''.join(out)


if __name__ == '__main__':
    os.makedirs(OUT, exist_ok=True)
    chromium_outputs()
    firefox_outputs()
    shutil.rmtree(TMP, ignore_errors=True)
    print('done')
