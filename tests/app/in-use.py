#!/usr/bin/env python3
"""Two processes over one user folder, on the wall clock.

Usage: in-use.py TILMORA CASE   (CASE: folder, store)
folder: while a script over --home DIR waits at its input, a second script or session over DIR is
        refused before anything runs, naming the first's process, and changes nothing in DIR; once
        the first ends (also by SIGKILL) DIR is free again.
store:  a snapshot store another process (SQLite itself, here) holds past the wait leaves the
        program with its snapshots in memory, saying so; one released within the wait is used.
"""
import os
import select
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

TILMORA = sys.argv[1]
CASE = sys.argv[2]
STORE = os.path.join('Library', 'Application Support', 'com.quorvane.Tilmora', 'SnapShot.sqlite')


def fail(message):
    print('FAIL: ' + message)
    sys.exit(1)


def environment(folder):
    env = {k: v for k, v in os.environ.items() if not k.startswith('XDG_')}
    env['HOME'] = folder
    env['TMPDIR'] = folder
    return env


def until(process, needle, seconds):
    """Reads the process's output until `needle` appears (a wall-clock limit, not a verdict)."""
    text = ''
    deadline = time.monotonic() + seconds
    while needle not in text:
        left = deadline - time.monotonic()
        ready, _, _ = select.select([process.stdout], [], [], max(left, 0))
        data = os.read(process.stdout.fileno(), 65536) if ready else b''
        if not data:
            fail('no %r within %.0f s; printed:\n%s' % (needle, seconds, text))
        text += data.decode('utf-8', 'replace')
    return text


def start_waiting(home, folder):
    """A script over `home` that has run its first lines and waits at its input."""
    process = subprocess.Popen([TILMORA, '--script', '-', '--home', home], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=environment(folder))
    process.stdin.write(b'desktop default\nprogram launch\nshow screens\n')
    process.stdin.flush()
    until(process, '> show screens', 30)
    return process


def run(args, folder, script):
    return subprocess.run([TILMORA] + args, input=script.encode(), capture_output=True, timeout=60,
                          env=environment(folder))


def contents(home):
    found = []
    for root, folders, files in os.walk(home):
        for name in folders + files:
            path = os.path.join(root, name)
            info = os.lstat(path)
            found.append((path, info.st_size, info.st_mtime_ns))
    return sorted(found)


def folder(work):
    home = os.path.join(work, 'home')
    changes = 'desktop default\nprogram launch\ndefaults write WMGapSize double 9\nquit\n'
    first = start_waiting(home, work)
    before = contents(home)
    expected = 'tilmora: the folder %s is in use by another session (process %d)\n' % (home, first.pid)
    for args in (['--script', '-', '--home', home], ['--home', home]):
        result = run(args, work, changes)
        if result.returncode != 2 or result.stderr.decode() != expected or result.stdout:
            fail('%s: exit %d, error %r, output %r' % (args, result.returncode, result.stderr, result.stdout))
        if contents(home) != before:
            fail('%s: the folder in use changed' % args)
    first.stdin.close()
    if first.wait(timeout=30) != 0:
        fail('the first script ended with %d' % first.returncode)
    first.stdout.close()

    second = start_waiting(home, work)
    second.send_signal(signal.SIGKILL)
    second.wait(timeout=30)
    second.stdout.close()
    result = run(['--script', '-', '--home', home], work, changes)
    if result.returncode != 0:
        fail('after SIGKILL: exit %d: %s%s' % (result.returncode, result.stdout, result.stderr))


def stored_names(home):
    connection = sqlite3.connect(os.path.join(home, STORE))
    try:
        return sorted(row[0] for row in connection.execute('SELECT name FROM snapshot'))
    finally:
        connection.close()


def save(name):
    return ('menu pick "Show Snapshot Manager"\n'
            'ui type "Tilmora Snapshots" "snapshot.nameField" "%s"\n'
            'ui click "Tilmora Snapshots" "snapshot.save"\nwait 1\n' % name)


def store(work):
    home = os.path.join(work, 'home')
    launch = 'desktop default\nprogram launch\n'
    result = run(['--script', '-', '--home', home], work, launch + save('Kept') + 'expect toast "Kept"\n')
    if result.returncode != 0:
        fail('the first save: %s' % result.stdout.decode())
    holder = sqlite3.connect(os.path.join(home, STORE), isolation_level=None, timeout=0)

    # Held past the wait: the program says so at launch and in the manager; nothing reaches the file.
    holder.execute('BEGIN EXCLUSIVE')
    result = run(['--script', '-', '--home', home], work,
                 launch + 'expect toast "Snapshots are kept only until Tilmora quits."\n' + save('Lost') +
                 'expect toast "Snapshot \'Lost\' is kept only until Tilmora quits: the snapshot store is in use '
                 'by another program."\nui show "Tilmora Snapshots"\n')
    holder.execute('COMMIT')
    text = result.stdout.decode()
    if result.returncode != 0 or 'id=snapshot.storeNotice "The snapshot store ' not in text \
            or 'is in use by another program' not in text:
        fail('held past the wait: exit %d:\n%s' % (result.returncode, text))
    if stored_names(home) != ['Kept']:
        fail('held past the wait: the file holds %s' % stored_names(home))

    # Released within the wait (whenever the program meets it): the launch and the save go through.
    holder.execute('BEGIN EXCLUSIVE')
    process = subprocess.Popen([TILMORA, '--script', '-', '--home', home], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=environment(work))
    process.stdin.write((launch + save('Desk') + 'expect toast "Snapshot \'Desk\' saved successfully."\n').encode())
    process.stdin.close()
    time.sleep(1)
    holder.execute('COMMIT')
    output = process.stdout.read().decode()
    if process.wait(timeout=60) != 0 or 'storeNotice' in output:
        fail('released within the wait: exit %d:\n%s' % (process.returncode, output))
    process.stdout.close()
    holder.close()
    if stored_names(home) != ['Desk', 'Kept']:
        fail('released within the wait: the file holds %s' % stored_names(home))


CASES = {'folder': folder, 'store': store}

with tempfile.TemporaryDirectory() as work:
    CASES[CASE](work)
print('ok ' + CASE)
