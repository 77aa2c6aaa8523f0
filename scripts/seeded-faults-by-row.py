#!/usr/bin/env python3
"""Seeds faults one at a time into a copy of the project and records which test rows fail.

    seeded-faults-by-row.py COPY BUILD OUT FAULTS.json...   # run; appends to OUT
    seeded-faults-by-row.py --sole OUT [func|row]           # what only one test catches

Each fault is {"id", "desc", "file", "old", "new"}: `old` (once in `file`) becomes `new`, the
build is rebuilt, every test program runs, and the file is put back. OUT gets one line a
fault: id, CAUGHT / NONE / NA (the text is no longer there) / BUILDFAIL, and the failing
functions with their rows. Work on a copy, never on a checkout with uncommitted work.
"""
import collections, glob, json, os, re, subprocess, sys

ENV = dict(os.environ, QT_QPA_PLATFORM='offscreen', LANG='pt_PT.UTF-8', LC_ALL='pt_PT.UTF-8',
           TZ='Europe/Lisbon', ASAN_OPTIONS='detect_leaks=0')


def failing_rows(build):
    fails = []
    for exe in sorted(glob.glob(os.path.join(build, 'tests', 'tst_*'))):
        if os.path.isdir(exe) or not os.access(exe, os.X_OK):
            continue
        try:
            t = subprocess.run([exe], cwd=os.path.dirname(exe), capture_output=True, text=True,
                               env=ENV, timeout=60, errors='replace')
        except subprocess.TimeoutExpired:
            fails.append(os.path.basename(exe) + ':TIMEOUT')
            continue
        found = re.findall(r'^FAIL!  : (\S+?::\S+?\(.*?\))', t.stdout, re.M)
        fails += found
        if t.returncode != 0 and not found:
            fails.append('%s:EXIT%d' % (os.path.basename(exe), t.returncode))
    return fails


def run(copy, build, out_path, fault_files):
    copy, build = os.path.abspath(copy), os.path.abspath(build)  # the tests run from the build's folder
    with open(out_path, 'a') as out:
        for faults in fault_files:
            for m in json.load(open(faults)):
                path = os.path.join(copy, m['file'])
                src = open(path).read()
                if src.count(m['old']) != 1:
                    out.write('%s\tNA\t\n' % m['id'])
                    continue
                open(path, 'w').write(src.replace(m['old'], m['new']))
                try:
                    b = subprocess.run(['cmake', '--build', build, '-j2'], capture_output=True)
                    f = failing_rows(build) if b.returncode == 0 else []
                    status = 'BUILDFAIL' if b.returncode else 'CAUGHT' if f else 'NONE'
                    out.write('%s\t%s\t%s\n' % (m['id'], status, ' | '.join(f)))
                    out.flush()
                finally:
                    open(path, 'w').write(src)
    subprocess.run(['cmake', '--build', build, '-j2'], capture_output=True)


def sole(out_path, level):
    rows = {}
    for line in open(out_path):
        fid, status, fails = line.rstrip('\n').split('\t')
        rows[fid] = (status, [x for x in fails.split(' | ') if x])
    print(dict(collections.Counter(s for s, _ in rows.values())))
    print('survived:', ' '.join(k for k, (s, _) in rows.items() if s == 'NONE'))
    only = collections.defaultdict(list)
    for fid, (status, fails) in rows.items():
        keys = {re.sub(r'\(.*', '', x) if level == 'func' else x for x in fails}
        if status == 'CAUGHT' and len(keys) == 1:
            only[keys.pop()].append(fid)
    for key, ids in sorted(only.items(), key=lambda kv: -len(kv[1])):
        print(len(ids), key, ' '.join(ids))


if __name__ == '__main__':
    if len(sys.argv) >= 3 and sys.argv[1] == '--sole':
        sole(sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else 'func')
    elif len(sys.argv) >= 5:
        run(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
    else:
        sys.exit(__doc__)
