#!/usr/bin/env python3
"""The interactive session on the wall clock: a pseudo-terminal with line editing and Ctrl-C,
piped input, settings written while idle, and the signals that end a session.

Usage: interactive-session.py TILMORA CASE   (CASE: terminal, piped, idle, signals, script-signal)
Every case runs the real program in real time; together they take about 15 s.
"""
import json
import os
import pty
import select
import signal
import subprocess
import sys
import tempfile
import time

TILMORA = sys.argv[1]
CASE = sys.argv[2]
SNAP_BAR = '27.5 773.0 1385.0 82.0'


def session_env(folder):
    """The environment of a session whose user folders (and so its settings) are under `folder`."""
    env = {k: v for k, v in os.environ.items() if not k.startswith('XDG_')}
    env['HOME'] = folder
    env['TMPDIR'] = folder
    return env


def settings_files(folder):
    """The settings files the session wrote under `folder`: path -> text."""
    found = {}
    for root, _, files in os.walk(folder):
        for name in files:
            if name.endswith('.json'):
                path = os.path.join(root, name)
                with open(path, encoding='utf-8', errors='replace') as f:
                    found[path] = f.read()
    return found


def settings_text(folder):
    return '\n'.join('%s:\n%s' % item for item in settings_files(folder).items())


def snap_bar_saved(folder):
    for text in settings_files(folder).values():
        try:
            values = json.loads(text)
        except ValueError:
            continue
        if isinstance(values, dict) and values.get('WMSnapBarVisible') in (True, {'bool': True}):
            return True
    return False


def fail(message):
    print('FAIL: ' + message)
    sys.exit(1)


class Reader:
    """What a descriptor printed so far, read with a wall-clock limit."""

    def __init__(self, fd):
        self.fd = fd
        self.text = ''

    def until(self, needle, seconds, start=0):
        """Reads until `needle` appears after offset `start`; returns the offset after it."""
        deadline = time.monotonic() + seconds
        while True:
            at = self.text.find(needle, start)
            if at >= 0:
                return at + len(needle)
            left = deadline - time.monotonic()
            if left <= 0 or not self._read(left):
                fail('no %r within %.1f s; the session printed:\n%s' % (needle, seconds, self.text))

    def _read(self, seconds):
        ready, _, _ = select.select([self.fd], [], [], seconds)
        if not ready:
            return True
        try:
            data = os.read(self.fd, 65536)
        except OSError:
            return False
        if not data:
            return False
        self.text += data.decode('utf-8', 'replace')
        return True


def wait_exit(pid_or_process, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if isinstance(pid_or_process, int):
            done, status = os.waitpid(pid_or_process, os.WNOHANG)
            if done:
                return os.waitstatus_to_exitcode(status)
        elif pid_or_process.poll() is not None:
            return pid_or_process.returncode
        time.sleep(0.02)
    fail('the session did not end within %.1f s' % seconds + (('; it printed:\n' + OUT.text) if OUT else ''))


def terminal(folder):
    """Line editing, history, Tab, Ctrl-C during a wait and Ctrl-D, on a pseudo-terminal."""
    pid, fd = pty.fork()
    if pid == 0:
        env = session_env(folder)
        env['TERM'] = 'xterm'
        os.execve(TILMORA, [TILMORA], env)
    global OUT
    out = OUT = Reader(fd)
    prompt = 'tilmora> '
    at = out.until(prompt, 20)
    os.write(fd, b'show screens\r')
    at = out.until(prompt, 10, at)
    os.write(fd, b'\x1b[A\r')  # the Up arrow recalls the line
    at = out.until(prompt, 10, at)
    if out.text.count('frame 1440.0') < 2:
        fail('the recalled line did not show the screens again:\n' + out.text)
    os.write(fd, b'sho\t')  # Tab completes the command's name
    os.write(fd, b'apps\r')
    at = out.until('com.apple.TextEdit', 10, at)
    at = out.until(prompt, 10, at)
    os.write(fd, b'wait 100\r')
    time.sleep(0.5)
    os.write(fd, b'\x03')
    stopped = time.monotonic()
    at = out.until(prompt, 2, at)
    if time.monotonic() - stopped > 2:
        fail('Ctrl-C took over 2 s to stop the wait')
    os.write(fd, b'show screens\r')
    at = out.until('frame 1440.0', 10, at)
    at = out.until(prompt, 10, at)
    os.write(fd, b'unfinished')
    at = out.until('unfinished', 5, at)
    os.write(fd, b'\x03')  # Ctrl-C at the prompt drops the line
    at = out.until(prompt, 5, at)
    os.write(fd, b'\x04')
    status = wait_exit(pid, 10)
    if status != 0:
        fail('Ctrl-D ended the session with %d' % status)
    if 'unknown command' in out.text:
        fail('a dropped line ran:\n' + out.text)


def start_piped(folder):
    process = subprocess.Popen([TILMORA, '--home', os.path.join(folder, 'home')], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=session_env(folder))
    return process, Reader(process.stdout.fileno())


def send(process, line):
    process.stdin.write((line + '\n').encode())
    process.stdin.flush()


def piped(folder):
    """Piped input is echoed as a script echoes it, counted from line 1; errors keep status 0."""
    result = subprocess.run([TILMORA], input=b'bogus\nquit\n', capture_output=True, timeout=20,
                            env=session_env(folder))
    text = result.stdout.decode()
    if '> bogus\n' not in text or 'error: line 1: unknown command: bogus\n' not in text:
        fail('no echo or a wrong line number:\n' + text)
    if 'tilmora> ' in text:
        fail('a prompt was printed for piped input:\n' + text)
    if result.returncode != 0:
        fail('an error changed the status to %d' % result.returncode)
    result = subprocess.run([TILMORA], input=b'expect screens 7\n', capture_output=True, timeout=20,
                            env=session_env(folder))
    if result.returncode != 1:
        fail('a failed expect ended with %d, not 1' % result.returncode)


def idle(folder):
    """While the session waits for input, the snap bar slides in and the change reaches the disk."""
    process, out = start_piped(folder)
    send(process, 'menu pick "Show Snap Bar"')
    send(process, 'show screens')
    out.until('> show screens', 20)
    time.sleep(1.5)
    send(process, 'ui windows')
    out.until(SNAP_BAR, 5)
    process.kill()
    process.wait()
    if not snap_bar_saved(folder):
        fail('the change was not on disk at SIGKILL:\n' + settings_text(folder))


def signals(folder):
    """SIGTERM and SIGHUP end the session as quit does, with 128 + the signal's number."""
    for number, expected in ((signal.SIGTERM, 143), (signal.SIGHUP, 129), (signal.SIGINT, 130)):
        home = tempfile.mkdtemp(dir=folder)
        process, out = start_piped(home)
        send(process, 'menu pick "Show Snap Bar"')
        send(process, 'show screens')
        out.until('> show screens', 20)
        process.send_signal(number)
        status = wait_exit(process, 10)
        if status != expected:
            fail('%s ended the session with %d, not %d' % (number.name, status, expected))
        if not snap_bar_saved(home):
            fail('%s: the change was not written' % number.name)


def script_signal(folder):
    """A script ended by SIGTERM, inside a long wait, leaves no private folder behind."""
    with tempfile.NamedTemporaryFile('w', suffix='.tilmora', dir=folder, delete=False) as script:
        script.write('desktop default\nprogram launch\nshow screens\nwait 86400\nshow screens\n')
    tmp = tempfile.mkdtemp(dir=folder)
    env = session_env(folder)
    env['TMPDIR'] = tmp
    process = subprocess.Popen([TILMORA, '--script', script.name], stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, env=env)
    out = Reader(process.stdout.fileno())
    out.until('> wait 86400', 20)
    process.send_signal(signal.SIGTERM)
    status = wait_exit(process, 10)
    if status != 143:
        fail('SIGTERM ended the script with %d, not 143' % status)
    if os.listdir(tmp):
        fail('the script left %s in TMPDIR' % os.listdir(tmp))


OUT = None

CASES = {'terminal': terminal, 'piped': piped, 'idle': idle, 'signals': signals,
         'script-signal': script_signal}

with tempfile.TemporaryDirectory() as work:
    CASES[CASE](work)
print('ok ' + CASE)
