#!/usr/bin/env python3
"""Two processes over one user folder, and files changed under a running session, on the wall clock.

Usage: in-use.py TILMORA CASE
  (CASE: folder, store, lock-file, renamed, one-after-another, journal-pipe, blocked, save-signal)
folder: while a script over --home DIR waits at its input, a second script or session over DIR is
        refused before anything runs, naming the first's process, and changes nothing in DIR; once
        the first ends (also by SIGKILL) DIR is free again.
store:  a snapshot store another process (SQLite itself, here) holds past the wait leaves the
        program with its snapshots in memory, saying so; one released within the wait is used.
lock-file: the lock file removed or replaced while a session holds DIR: a second one is still refused.
renamed: DIR renamed while a session runs and a new DIR made: the session writes nothing into the
        new DIR (settings, snapshots, log) and says so once.
one-after-another: two sessions over DIR, one after the other, each write three settings: all six
        are stored.
journal-pipe: a pipe made at the snapshot store's journal while a session runs: the next save
        fails with its toast instead of hanging, and SIGTERM then ends the session with 143,
        its private folder removed.
blocked: a script whose output nobody reads (the program blocked writing it) is ended by SIGTERM
        all the same, with 143 and no private folder left; over --home DIR the 40 settings it made
        just before are all in DIR.
save-signal: SIGTERM, SIGINT or SIGHUP while a snapshot save waits for another process's lock on
        the store, just after 40 settings were made: the save fails at once, the session ends with
        128 + the signal's number, every setting is written and the store is as it was.
"""
import array
import fcntl
import json
import os
import select
import signal
import sqlite3
import subprocess
import sys
import tempfile
import termios
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


def refused_while(home, work, first, change):
    """`change` made while `first` holds `home`: a second script over it is still refused."""
    change()
    expected = 'tilmora: the folder %s is in use by another session (process %d)\n' % (home, first.pid)
    result = run(['--script', '-', '--home', home], work, 'desktop default\nprogram launch\nquit\n')
    if result.returncode != 2 or result.stderr.decode() != expected:
        fail('exit %d, error %r, output %r' % (result.returncode, result.stderr, result.stdout))


def lock_file(work):
    home = os.path.join(work, 'home')
    lock = os.path.join(home, '.tilmora.lock')
    first = start_waiting(home, work)
    refused_while(home, work, first, lambda: os.remove(lock))

    def replace():
        with open(lock + '.new', 'w') as f:
            f.write('')
        os.replace(lock + '.new', lock)
    refused_while(home, work, first, replace)
    first.stdin.close()
    if first.wait(timeout=30) != 0:
        fail('the first script ended with %d' % first.returncode)
    first.stdout.close()


def renamed(work):
    home = os.path.join(work, 'home')
    first = start_waiting(home, work)
    os.rename(home, home + '-moved')
    os.mkdir(home)
    first.stdin.write(('defaults write WMGapSize double 9\nkey ctrl+opt+left\n' + save('Lost') +
                       'expect toast "Snapshot \'Lost\' could not be saved: "\nquit\n').encode())
    first.stdin.close()
    output = first.stdout.read().decode()
    if first.wait(timeout=60) != 0:
        fail('exit %d:\n%s' % (first.returncode, output))
    first.stdout.close()
    if os.listdir(home):
        fail('written into the new folder: %s' % contents(home))
    said = 'tilmora: The folder %s is no longer this session\'s folder' % home
    if output.count(said) != 1:
        fail('said %d times:\n%s' % (output.count(said), output))


def one_after_another(work):
    home = os.path.join(work, 'home')
    for keys in (('FirstA', 'FirstB', 'FirstC'), ('SecondA', 'SecondB', 'SecondC')):
        script = 'desktop default\nprogram launch\n' + ''.join(
            'defaults write %s string %s\n' % (key, key.lower()) for key in keys)
        result = run(['--script', '-', '--home', home], work, script)
        if result.returncode != 0:
            fail('exit %d: %s' % (result.returncode, result.stdout.decode()))
    keys = ('FirstA', 'FirstB', 'FirstC', 'SecondA', 'SecondB', 'SecondC')
    result = run(['--script', '-', '--home', home], work,
                 'desktop default\nprogram launch\n' + ''.join('defaults read %s\n' % key for key in keys))
    text = result.stdout.decode()
    if result.returncode != 0 or not all('%s = string "%s"' % (key, key.lower()) in text for key in keys):
        fail('not all six are stored:\n%s' % text)


def private_folder(tmp):
    names = os.listdir(tmp)
    return os.path.join(tmp, names[0]) if len(names) == 1 else None


def script_in_own_tmp(work):
    """A script read from standard input whose private folder is made in WORK/tmp: that folder's
    parent and the process."""
    tmp = os.path.join(work, 'tmp')
    os.mkdir(tmp)
    env = environment(work)
    env['TMPDIR'] = tmp
    process = subprocess.Popen([TILMORA, '--script', '-'], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, env=env)
    return tmp, process


def journal_pipe(work):
    tmp, process = script_in_own_tmp(work)
    process.stdin.write(('desktop default\nprogram launch\n' + save('Kept') +
                         'expect toast "Snapshot \'Kept\' saved successfully."\nshow screens\n').encode())
    process.stdin.flush()
    until(process, '> show screens', 30)
    os.mkfifo(os.path.join(private_folder(tmp), STORE + '-journal'))
    process.stdin.write((save('Desk') + 'expect toast "Snapshot \'Desk\' could not be saved: "\n'
                         'show toasts\nshow apps\n').encode())
    process.stdin.flush()
    text = until(process, '> show apps', 30)
    if 'expect failed' in text:
        fail('no failure toast:\n' + text)
    process.send_signal(signal.SIGTERM)
    if process.wait(timeout=10) != 143:
        fail('SIGTERM ended the session with %d' % process.returncode)
    process.stdout.close()
    if os.listdir(tmp):
        fail('left %s behind' % os.listdir(tmp))


SETTINGS = ''.join('defaults write Setting%02d string value%d\n' % (i, i) for i in range(40))


def settings_written(home):
    """The names of the 40 settings that reached HOME's settings file."""
    with open(os.path.join(home, 'Library', 'Preferences', 'Tilmora.json')) as f:
        return sorted(key for key in json.load(f) if key.startswith('Setting'))


def blocked(work):
    tmp, process = script_in_own_tmp(work)
    blocked_by_output(process)
    if len(os.listdir(tmp)) != 1:
        fail('no private folder')
    ended_by_sigterm(process)
    if os.listdir(tmp):
        fail('left %s behind' % os.listdir(tmp))
    # Over a kept folder the settings the program holds are written before the watchdog ends it.
    home = os.path.join(work, 'home')
    process = subprocess.Popen([TILMORA, '--script', '-', '--home', home], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=environment(work))
    blocked_by_output(process, SETTINGS)
    ended_by_sigterm(process)
    if len(settings_written(home)) != 40:
        fail('%d of the 40 settings written' % len(settings_written(home)))


def blocked_by_output(process, lines=''):
    process.stdin.write(('desktop default\nprogram launch\n' + lines).encode() + b'help\n' * 2000)
    process.stdin.flush()
    # Its output is never read: once the pipe is full the program is blocked writing to it (no
    # verdict by the clock: the limit only stops a hang).
    waiting = array.array('i', [0])
    deadline = time.monotonic() + 60
    seen, still = -1, 0
    while still < 10:  # the pipe holds the same 32 KiB or more across a second: the writer waits
        if time.monotonic() > deadline or process.poll() is not None:
            fail('the output pipe did not fill up')
        time.sleep(0.1)
        fcntl.ioctl(process.stdout.fileno(), termios.FIONREAD, waiting)
        still = still + 1 if waiting[0] == seen and seen >= 32768 else 0
        seen = waiting[0]


def ended_by_sigterm(process):
    process.send_signal(signal.SIGTERM)
    try:
        status = process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        process.kill()
        fail('SIGTERM did not end the blocked program')
    if status != 143:
        fail('SIGTERM ended the blocked program with %d' % status)
    process.stdout.close()


def text_of(path):
    try:
        with open(path, errors='replace') as f:
            return f.read()
    except FileNotFoundError:
        return ''


def save_signal(work):
    home = os.path.join(work, 'home')
    result = run(['--home', home], work, save('Kept') + 'expect toast "Snapshot \'Kept\' saved successfully."\n')
    if result.returncode != 0:
        fail('the first save: %s' % result.stdout.decode())
    with open(os.path.join(home, STORE), 'rb') as f:
        stored = f.read()
    log = os.path.join(home, 'Documents', 'Tilmora_log.txt')
    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        for path in (os.path.join(home, 'Library', 'Preferences', 'Tilmora.json'), log):
            os.remove(path)
        process = subprocess.Popen([TILMORA, '--home', home], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, env=environment(work))
        process.stdin.write((SETTINGS + 'menu pick "Show Snapshot Manager"\n'
                             'ui type "Tilmora Snapshots" "snapshot.nameField" "Blocked"\nshow screens\n').encode())
        process.stdin.flush()
        until(process, 'frame 1440.0', 30)
        holder = sqlite3.connect(os.path.join(home, STORE), isolation_level=None, timeout=0)
        holder.execute('BEGIN EXCLUSIVE')
        process.stdin.write(b'ui click "Tilmora Snapshots" "snapshot.save"\n')
        process.stdin.flush()
        # The save has begun (the log says so) and meets the lock; the signal comes while it waits.
        deadline = time.monotonic() + 30
        while 'saveSnapshot: Blocked' not in text_of(log):
            if time.monotonic() > deadline or process.poll() is not None:
                fail('%s: the save did not begin' % number.name)
            time.sleep(0.05)
        time.sleep(0.3)
        process.send_signal(number)
        try:
            status = process.wait(timeout=10)  # a limit that only stops a hang
        except subprocess.TimeoutExpired:
            process.kill()
            fail('%s: the session did not end' % number.name)
        holder.execute('ROLLBACK')
        holder.close()
        process.stdout.close()
        if status != 128 + number:
            fail('%s ended the session with %d' % (number.name, status))
        if len(settings_written(home)) != 40:
            fail('%s: %d of the 40 settings written' % (number.name, len(settings_written(home))))
        with open(os.path.join(home, STORE), 'rb') as f:
            if f.read() != stored:
                fail('%s: the store changed' % number.name)
        if stored_names(home) != ['Kept']:
            fail('%s: the store holds %s' % (number.name, stored_names(home)))
        # The save failed at the signal (not cut short by the watchdog), as the program's log says.
        if 'Failed to save snapshot: database is locked' not in text_of(log):
            fail('%s: no failed save in the log' % number.name)


CASES = {'folder': folder, 'store': store, 'lock-file': lock_file, 'renamed': renamed,
         'one-after-another': one_after_another, 'journal-pipe': journal_pipe, 'blocked': blocked,
         'save-signal': save_signal}

with tempfile.TemporaryDirectory() as work:
    CASES[CASE](work)
print('ok ' + CASE)
