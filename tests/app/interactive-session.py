#!/usr/bin/env python3
"""The interactive session on the wall clock: a pseudo-terminal with line editing and Ctrl-C, long
lines, UTF-8 and the line history file, piped input, settings written while idle, and the signals
that end a session.

Usage: interactive-session.py TILMORA CASE
  (CASE: terminal, completion, long-lines, utf8, history, piped, idle, signals, script-signal, walk, foreground,
   ending-signals)
Every case runs the real program in real time. No verdict depends on how long anything took: a
signal or a key is sent once the program is seen waiting (its output read, or the terminal in the
line editor's mode), and the time limits only stop a hung case.
"""
import codecs
import json
import os
import pty
import select
import signal
import subprocess
import stat
import sys
import tempfile
import termios
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
        self.at = 0
        # A character split between two reads is decoded whole.
        self.decoder = codecs.getincrementaldecoder('utf-8')('replace')

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
        except BlockingIOError:
            return True
        except OSError:
            return False
        if not data:
            return False
        self.text += self.decoder.decode(data)
        return True

    def drain(self):
        """Reads what is there without waiting."""
        while select.select([self.fd], [], [], 0)[0]:
            try:
                data = os.read(self.fd, 65536)
            except OSError:
                return
            if not data:
                return
            self.text += self.decoder.decode(data)


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


def editing(fd):
    """Whether the pseudo-terminal is in the line editor's mode (the session at its prompt)."""
    return not termios.tcgetattr(fd)[3] & termios.ICANON


def wait_mode(fd, at_prompt, seconds=20):
    """Waits until the session is at its prompt (`at_prompt`) or runs a command."""
    deadline = time.monotonic() + seconds
    while editing(fd) != at_prompt:
        if time.monotonic() > deadline:
            fail('the terminal did not %s' % ('return to the prompt' if at_prompt else 'leave the prompt'))
        time.sleep(0.01)


def start_terminal(args=(), lang='C.UTF-8', folder=None, cwd=None):
    """The program on a pseudo-terminal; returns (pid, fd, reader) once its first prompt shows."""
    pid, fd = pty.fork()
    if pid == 0:
        if cwd:
            os.chdir(cwd)
        env = session_env(folder)
        env['TERM'] = 'xterm'
        env['LANG'] = lang
        env.pop('LC_ALL', None)
        env.pop('LC_CTYPE', None)
        os.execve(TILMORA, [TILMORA] + list(args), env)
    # Never blocked writing to the terminal while the session waits for its output to be read.
    os.set_blocking(fd, False)
    global OUT
    out = OUT = Reader(fd)
    out.at = out.until(PROMPT, 30)
    wait_mode(fd, True)
    return pid, fd, out


def typed(fd, out, data):
    """Writes `data` to the terminal while reading what the session prints, so neither waits."""
    data = data.encode() if isinstance(data, str) else data
    while data:
        readable, writable, _ = select.select([fd], [fd], [], 60)
        if not readable and not writable:
            fail('the terminal took no input for 60 s; the session printed:\n' + out.text[-2000:])
        if writable:
            try:
                data = data[os.write(fd, data[:4096]):]
            except BlockingIOError:
                pass
        out.drain()


def command(fd, out, line, answer, seconds=30):
    """Types `line` at the prompt and reads until `answer`, then the next prompt."""
    typed(fd, out, line + '\r')
    out.at = out.until(answer, seconds, out.at)
    out.at = out.until(PROMPT, seconds, out.at)
    wait_mode(fd, True)


def terminal(folder):
    """Line editing, history, Tab, Ctrl-C during a wait and Ctrl-D, on a pseudo-terminal."""
    pid, fd, out = start_terminal(folder=folder)
    command(fd, out, 'show screens', 'frame 1440.0')
    command(fd, out, '\x1b[A', 'frame 1440.0')  # the Up arrow recalls the line
    typed(fd, out, 'sho\tapps\r')  # Tab completes the command's name
    out.at = out.until('com.apple.TextEdit', 10, out.at)
    out.at = out.until(PROMPT, 10, out.at)
    wait_mode(fd, True)
    # Tab completes the second word, a menu title begun in quotes and a window name begun without.
    command(fd, out, 'show win\t', 'com.apple.TextEdit "Untitled" frame')
    command(fd, out, 'menu pick "Show Snapsh\t', 'picked "Show Snapshot Manager"')
    command(fd, out, 'ui show Tilmora\t', 'id=snapshot.save')
    command(fd, out, 'menu pick Right Half', 'goes in quotes: menu pick "Right Half"')
    typed(fd, out, 'wait 100\r')
    wait_mode(fd, False)  # the wait runs
    os.write(fd, b'\x03')
    out.at = out.until('interrupted', 20, out.at)
    out.at = out.until(PROMPT, 10, out.at)
    wait_mode(fd, True)
    command(fd, out, 'show screens', 'frame 1440.0')
    typed(fd, out, 'unfinished')
    out.at = out.until('unfinished', 5, out.at)
    os.write(fd, b'\x03')  # Ctrl-C at the prompt drops the line
    out.at = out.until(PROMPT, 5, out.at)
    os.write(fd, b'\x04')
    status = wait_exit(pid, 10)
    if status != 0:
        fail('Ctrl-D ended the session with %d' % status)
    if 'unknown command' in out.text:
        fail('a dropped line ran:\n' + out.text)


def completion(folder):
    """Tab completes the forms the docs write: an id and a selector opened with a quote, a title in
    its ASCII spelling, several titles to their common beginning inside the quote; the lines then
    run."""
    pid, fd, out = start_terminal(folder=folder)
    command(fd, out, 'menu pick "Show Snapshot Manager"', 'picked')
    command(fd, out, 'ui click "Tilmora Snapshots" "snapshot.s\t',
            'error: line 2: "snapshot.save" in "Tilmora Snapshots" is disabled')
    command(fd, out, 'ui action "openL\t', '')
    command(fd, out, 'ui windows', 'named "layout editor"')
    command(fd, out, 'menu pick "Grid 2 x 2\t', 'picked "Grid 2 \u00d7 2"')
    # "Grid 2 x: the common beginning of "Grid 2 × 1 (...)" and "Grid 2 × 2", in quotes.
    typed(fd, out, 'menu pick "Grid 2 x\t')
    # The editor redraws from the first changed column: the "x" becomes "× ", no quote closes.
    out.at = out.until('\u00d7 ', 10, out.at)
    typed(fd, out, '\t')  # a second Tab lists the two
    out.at = out.until('"Grid 2 \u00d7 1 (2 Rows, 1 Column)"  "Grid 2 \u00d7 2"  ', 10, out.at)
    typed(fd, out, '2"\r')
    out.at = out.until('picked "Grid 2 \u00d7 2"', 10, out.at)
    out.at = out.until(PROMPT, 10, out.at)
    wait_mode(fd, True)
    command(fd, out, 'menu pick "Preferences...\t', 'picked "Preferences\u2026"')
    typed(fd, out, 'quit\r')
    if wait_exit(pid, 20) != 0:
        fail('quit did not end the session with 0:\n' + out.text)
    for beep in ('unknown command', 'no menu item', 'answers no selector'):
        if beep in out.text:
            fail('a completed line failed:\n' + out.text)


def long_lines(folder):
    """Lines of any length at the prompt: 20,000 characters are run (an unknown command), 70,000
    refused with the rest dropped, and each line of a 2,000-line paste runs."""
    pid, fd, out = start_terminal(folder=folder)
    command(fd, out, 'x' * 20000, 'unknown command: xxx', 120)
    command(fd, out, 'y' * 70000, 'longer than 65536 bytes', 120)
    command(fd, out, 'show screens', 'frame 1440.0')
    if 'unknown command: yyy' in out.text:
        fail('a part of the refused line ran')
    typed(fd, out, ''.join('bogus%d\r' % i for i in range(2000)))
    out.until('unknown command: bogus1999', 300, out.at)
    count = out.text.count('unknown command: bogus')
    if count != 2000:
        fail('%d of the 2,000 pasted lines ran' % count)
    typed(fd, out, 'quit\r')
    if wait_exit(pid, 20) != 0:
        fail('quit did not end the session with 0')


def utf8(folder):
    """UTF-8 typed at the prompt reaches the commands as typed, and a character cut short keeps the
    Return after it; under the C locale a note says only ASCII can be typed, and titles match their
    ASCII spelling."""
    pid, fd, out = start_terminal(folder=folder)
    if 'locale is not UTF-8' in out.text:
        fail('the note was printed under a UTF-8 locale')
    command(fd, out, 'menu pick "Grid 2 \u00d7 2"', 'picked "Grid 2 \u00d7 2"')
    command(fd, out, 'key \u2303\u2325\u2190', '')
    command(fd, out, 'expect window com.apple.TextEdit "Untitled" frame 0 0 720 875', '')
    command(fd, out, 'menu pick "Preferences\u2026"', 'picked "Preferences\u2026"')
    command(fd, out, 'ui windows', '"Preferences"')
    if 'error:' in out.text or 'expect failed' in out.text:
        fail('UTF-8 at the prompt:\n' + out.text)
    # A character cut short by the Return: the Return still ends the line, which is answered.
    typed(fd, out, b'show \xc3\r')
    out.at = out.until('error: ', 10, out.at)
    out.at = out.until(PROMPT, 10, out.at)
    wait_mode(fd, True)
    command(fd, out, 'show screens', 'frame 1440.0')
    typed(fd, out, 'quit\r')
    if wait_exit(pid, 20) != 0:
        fail('quit did not end the session with 0')

    pid, fd, out = start_terminal(folder=folder, lang='C')
    if out.text.count('Note: the locale is not UTF-8') != 1:
        fail('no note under the C locale:\n' + out.text)
    command(fd, out, 'menu pick "Grid 2 x 2"', 'picked "Grid 2 x 2"')
    typed(fd, out, 'quit\r')
    if wait_exit(pid, 20) != 0 or 'error:' in out.text:
        fail('the C locale:\n' + out.text)


def history(folder):
    """The line history is kept in the --home folder like the program's own files: a link, a pipe or
    a file that is no history is left as it is (history off, one line says so); a history is written
    whole and read by the next session."""
    def session(home, lines):
        pid, fd, out = start_terminal(['--home', home], folder=folder)
        for line, answer in lines:
            command(fd, out, line, answer)
        typed(fd, out, 'quit\r')
        if wait_exit(pid, 20) != 0:
            fail('quit did not end the session with 0:\n' + out.text)
        return out.text

    elsewhere = os.path.join(folder, 'elsewhere.txt')
    with open(elsewhere, 'w') as f:
        f.write('_HiStOrY_V2_\nnot\040yours\n')
    plants = {
        'link': lambda path: os.symlink(elsewhere, path),
        'pipe': lambda path: os.mkfifo(path),
        'notes': lambda path: open(path, 'w').write('my notes\n'),
    }
    for name, plant in plants.items():
        home = os.path.join(folder, 'home-' + name)
        os.makedirs(home)
        path = os.path.join(home, '.tilmora_history')
        plant(path)
        before = os.lstat(path)
        text = session(home, [('show screens', 'frame 1440.0')])
        if text.count('Line history is off for this session') != 1:
            fail('%s: no line saying history is off:\n%s' % (name, text))
        after = os.lstat(path)
        if stat.S_IFMT(after.st_mode) != stat.S_IFMT(before.st_mode) or after.st_mtime_ns != before.st_mtime_ns:
            fail('%s: the history path was changed' % name)
    with open(elsewhere) as f:
        if f.read() != '_HiStOrY_V2_\nnot\040yours\n':
            fail('the file the link points to was changed')
    with open(os.path.join(folder, 'home-notes', '.tilmora_history')) as f:
        if f.read() != 'my notes\n':
            fail('the notes were changed')

    home = os.path.join(folder, 'home-kept')
    session(home, [('show screens', 'frame 1440.0')])
    with open(os.path.join(home, '.tilmora_history')) as f:
        if not f.read().startswith('_HiStOrY_V2_\nshow\\040screens\n'):
            fail('the history was not written')
    text = session(home, [('\x1b[A\x1b[A', 'frame 1440.0')])  # Up twice (past quit) recalls the line
    if 'Line history is off' in text:
        fail('a history the session wrote was refused:\n' + text)


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
    out.until('frame 1440.0', 20)
    # Nothing more is sent: the session waits for input while the change is written.
    deadline = time.monotonic() + 20
    while not snap_bar_saved(folder):
        if time.monotonic() > deadline:
            fail('the change did not reach the disk while the session waited:\n' + settings_text(folder))
        time.sleep(0.05)
    # The slide in ends while the session waits too (each look is one command).
    deadline = time.monotonic() + 20
    while SNAP_BAR not in out.text:
        if time.monotonic() > deadline:
            fail('the snap bar did not slide in:\n' + out.text)
        send(process, 'ui windows')
        out.until('named "snap bar"', 20, len(out.text))
        time.sleep(0.05)
    process.kill()
    process.wait()


def signals(folder):
    """SIGTERM and SIGHUP end the session as quit does, with 128 + the signal's number."""
    for number, expected in ((signal.SIGTERM, 143), (signal.SIGHUP, 129), (signal.SIGINT, 130)):
        home = tempfile.mkdtemp(dir=folder)
        process, out = start_piped(home)
        send(process, 'menu pick "Show Snap Bar"')
        send(process, 'show screens')
        out.until('frame 1440.0', 20)  # the session has run its input and waits for more
        process.send_signal(number)
        status = wait_exit(process, 10)
        if status != expected:
            fail('%s ended the session with %d, not %d' % (number.name, status, expected))
        if not snap_bar_saved(home):
            fail('%s: the change was not written' % number.name)


def caught_signals(pid):
    """The signals the process has a handler for, from the kernel's account of it."""
    with open('/proc/%d/status' % pid) as f:
        mask = int(next(line for line in f if line.startswith('SigCgt:')).split()[1], 16)
    return {n for n in range(1, 65) if mask >> (n - 1) & 1}


def ending_signals(folder):
    """Every signal that ends a process without a fault ends the session as SIGTERM does, on a pipe
    during a wait and at a terminal prompt: 128 + its number, the fresh private folder gone, the
    terminal's modes as they were; the fault signals keep their default action."""
    ending = [signal.SIGQUIT, signal.SIGUSR1, signal.SIGUSR2, signal.SIGALRM, signal.SIGVTALRM,
              signal.SIGPROF, signal.SIGXCPU, signal.SIGXFSZ, signal.SIGPOLL, signal.SIGPWR, signal.SIGSTKFLT]
    ending += range(signal.SIGRTMIN, signal.SIGRTMAX + 1)
    faults = [signal.SIGILL, signal.SIGTRAP, signal.SIGABRT, signal.SIGSYS]  # the sanitizers take the rest
    for number in (signal.SIGQUIT, signal.SIGUSR1, signal.SIGUSR2, signal.SIGALRM, signal.SIGRTMAX):
        tmp = tempfile.mkdtemp(dir=folder)
        env = session_env(folder)
        env['TMPDIR'] = tmp
        process = subprocess.Popen([TILMORA], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, env=env)
        out = Reader(process.stdout.fileno())
        send(process, 'show screens\nwait 1000')
        out.until('frame 1440.0', 20)  # the wait comes next or runs
        caught = caught_signals(process.pid)
        if not caught.issuperset(ending) or caught.intersection(faults):
            fail('handled: %s' % sorted(caught))
        process.send_signal(number)
        status = wait_exit(process, 10)
        if status != 128 + number or os.listdir(tmp):
            fail('signal %d on a pipe: exit %d, left %s' % (number, status, os.listdir(tmp)))
    for number in (signal.SIGQUIT, signal.SIGUSR1, signal.SIGUSR2, signal.SIGALRM):
        tmp = tempfile.mkdtemp(dir=folder)
        master, slave = os.openpty()
        before = termios.tcgetattr(slave)
        pid = os.fork()
        if pid == 0:
            os.close(master)
            os.login_tty(slave)
            env = session_env(folder)
            env.update({'TERM': 'xterm', 'LANG': 'C.UTF-8', 'TMPDIR': tmp})
            os.execve(TILMORA, [TILMORA], env)
        os.set_blocking(master, False)
        global OUT
        out = OUT = Reader(master)
        out.until(PROMPT, 30)
        wait_mode(master, True)
        os.kill(pid, number)
        status = wait_exit(pid, 10)
        if status != 128 + number or os.listdir(tmp):
            fail('signal %d at the prompt: exit %d, left %s' % (number, status, os.listdir(tmp)))
        if termios.tcgetattr(slave) != before:
            fail('signal %d at the prompt left the terminal in another mode' % number)
        os.close(slave)
        os.close(master)


def script_signal(folder):
    """A script read from a pipe held open and ended by SIGTERM while it waits for its next line
    leaves no private folder behind."""
    tmp = tempfile.mkdtemp(dir=folder)
    env = session_env(folder)
    env['TMPDIR'] = tmp
    process = subprocess.Popen([TILMORA, '--script', '-'], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, env=env)
    out = Reader(process.stdout.fileno())
    send(process, 'desktop default\nprogram launch\nshow screens')
    out.until('frame 1440.0', 20)  # the script waits for its next line
    process.send_signal(signal.SIGTERM)
    status = wait_exit(process, 20)
    if status != 143:
        fail('SIGTERM ended the script with %d, not 143' % status)
    if os.listdir(tmp):
        fail('the script left %s in TMPDIR' % os.listdir(tmp))


def walk(folder):
    """The README's walk typed line by line into a session, which launched the program on the default
    desktop at its start: every expect holds, no line fails, and `quit` ends the session with 0."""
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, '..', '..', 'examples', 'walk.tilmora'), encoding='utf-8') as f:
        lines = [line.strip() for line in f if line.strip() and not line.lstrip().startswith('#')]
    work = tempfile.mkdtemp(dir=folder)  # the walk's picture goes to the current folder
    pid, fd, out = start_terminal(folder=folder, cwd=work)
    for line in lines:
        command(fd, out, line, '', 60)
    typed(fd, out, 'quit\r')
    status = wait_exit(pid, 20)
    if status != 0 or 'error:' in out.text or 'expect failed' in out.text:
        fail('the walk typed into a session (exit %d):\n%s' % (status, out.text))
    if 'note: the program is running already' not in out.text:
        fail('no note for `program launch`:\n' + out.text)


def foreground(folder):
    """Started by a shell that does not manage jobs (as `make demo` starts it), the session takes
    the terminal's foreground in a process group of its own: Ctrl-C at the prompt and during a
    command reaches it alone, and the shell gets the terminal back and goes on when it ends."""
    global OUT
    pid, fd = pty.fork()
    if pid == 0:
        env = session_env(folder)
        env['TERM'] = 'xterm'
        env['LANG'] = 'C.UTF-8'
        os.execve('/bin/sh', ['sh', '-c', '"$0"; echo "after $?"', TILMORA], env)
    os.set_blocking(fd, False)
    out = OUT = Reader(fd)
    out.at = out.until(PROMPT, 30)
    wait_mode(fd, True)
    group = os.tcgetpgrp(fd)
    if group == pid:
        fail('the session left the terminal to the shell\'s group')
    os.write(fd, b'half a line\x03')  # Ctrl-C at the prompt
    out.at = out.until(PROMPT, 10, out.at)
    wait_mode(fd, True)
    typed(fd, out, 'wait 100\r')
    wait_mode(fd, False)
    os.write(fd, b'\x03')  # Ctrl-C during a command
    out.at = out.until('interrupted', 20, out.at)
    out.at = out.until(PROMPT, 10, out.at)
    wait_mode(fd, True)
    command(fd, out, 'show screens', 'frame 1440.0')
    typed(fd, out, 'quit\r')
    out.until('after 0', 20, out.at)
    status = wait_exit(pid, 20)
    if status != 0:
        fail('the shell ended with %d:\n%s' % (status, out.text))


OUT = None

PROMPT = 'tilmora> '
CASES = {'terminal': terminal, 'completion': completion, 'long-lines': long_lines, 'utf8': utf8, 'history': history, 'piped': piped,
         'idle': idle, 'signals': signals, 'script-signal': script_signal, 'walk': walk,
         'foreground': foreground, 'ending-signals': ending_signals}

with tempfile.TemporaryDirectory() as work:
    CASES[CASE](work)
print('ok ' + CASE)
