#!/usr/bin/env python3
"""The console's line editor (libedit) under valgrind on a pseudo-terminal: lines of 20,000 and
70,000 characters typed, a refused line and the one after it, the long line recalled from the
history and run again, UTF-8 typed, Tab (the first word, later words, quoted titles), the history saved and read back. valgrind must find no
invalid read or write and no other error.

Usage: line-editor-valgrind.py HARNESS   (exit 77, skipped, when valgrind is not installed)
"""
import codecs
import os
import pty
import select
import shutil
import sys
import tempfile
import time

HARNESS = sys.argv[1]
VALGRIND = shutil.which('valgrind')
if VALGRIND is None:
    print('SKIP: valgrind is not installed (scripts/install-deps installs it)')
    sys.exit(77)


def fail(message):
    print('FAIL: ' + message)
    sys.exit(1)


class Session:
    """The harness under valgrind on a pseudo-terminal, with what it printed so far."""

    def __init__(self, log):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            env = dict(os.environ, TERM='xterm', LANG='C.UTF-8', LC_ALL='C.UTF-8')
            os.execve(VALGRIND, [VALGRIND, '--error-exitcode=99', '--log-file=' + log, HARNESS], env)
        # Never blocked writing while the harness waits for its output to be read.
        os.set_blocking(self.fd, False)
        self.text = ''
        self.at = 0
        self.decoder = codecs.getincrementaldecoder('utf-8')('replace')

    def expect(self, needle, seconds=120):
        """Reads until `needle` appears after what was matched last."""
        deadline = time.monotonic() + seconds
        while True:
            found = self.text.find(needle, self.at)
            if found >= 0:
                self.at = found + len(needle)
                return
            left = deadline - time.monotonic()
            ready, _, _ = select.select([self.fd], [], [], max(left, 0))
            data = b''
            if ready:
                try:
                    data = os.read(self.fd, 65536)
                except OSError:
                    pass
            if not data:
                fail('no %r; the harness printed:\n%s' % (needle, self.text[-2000:]))
            self.text += self.decoder.decode(data)

    def prompt(self):
        """Waits for the next prompt: the terminal is then in the editor's mode."""
        self.expect('harness> ')

    def type(self, data):
        """Writes `data` while reading what the harness echoes, so neither side waits on the other."""
        data = data.encode() if isinstance(data, str) else data
        while data:
            readable, writable, _ = select.select([self.fd], [self.fd], [], 60)
            if not readable and not writable:
                fail('the terminal took no input for 60 s')
            if writable:
                try:
                    data = data[os.write(self.fd, data[:4096]):]
                except BlockingIOError:
                    pass
            if readable:
                try:
                    self.text += self.decoder.decode(os.read(self.fd, 65536))
                except BlockingIOError:
                    pass

    def status(self):
        os.set_blocking(self.fd, True)
        while True:
            try:
                chunk = os.read(self.fd, 65536)
            except OSError:
                chunk = b''
            if not chunk:
                break
            self.text += self.decoder.decode(chunk)
        _, status = os.waitpid(self.pid, 0)
        return os.waitstatus_to_exitcode(status)


with tempfile.TemporaryDirectory() as work:
    log = os.path.join(work, 'valgrind.log')
    s = Session(log)
    s.prompt()
    s.type('x' * 20000 + '\r')
    s.expect('line: 20000 bytes')
    s.prompt()
    s.type('y' * 70000 + '\r')
    s.expect('too long')
    s.prompt()
    s.type('show screens\r')
    s.expect('text: show screens')
    s.prompt()
    s.type('\x1b[A\x1b[A\r')  # Up twice: the 20,000-character line again (the refused one is not kept)
    s.expect('line: 20000 bytes')
    s.prompt()
    s.type('menu pick "Grid 2 \u00d7 2"\r')
    s.expect('text: menu pick "Grid 2 \u00d7 2"')
    s.prompt()
    s.type('sho\tw screens\r')  # "sho" completes the common beginning of show and shot
    s.expect('text: show screens')
    s.prompt()
    s.type('show win\t\r')  # the second word
    s.expect('text: show windows ')
    s.prompt()
    s.type('menu "Right H\t\r')  # a title begun with its quote
    s.expect('text: menu "Right Half" ')
    s.prompt()
    s.type('menu Rig\t\u00d7\t\r')  # begun without: the common beginning in quotes, then the rest
    s.expect('text: menu "Right \u00d7 Edge" ')
    s.prompt()
    s.type('hist\t\r')
    s.expect('read back: yes')
    s.prompt()
    s.type('\x04')
    s.expect('end')
    status = s.status()
    with open(log, encoding='utf-8', errors='replace') as f:
        report = f.read()
    if status != 0 or 'Invalid' in report or 'ERROR SUMMARY: 0 errors' not in report:
        fail('valgrind found errors (exit %d):\n%s' % (status, report))
print('ok: no invalid read or write in the line editor')
