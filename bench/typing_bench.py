#!/usr/bin/env python3
"""Typing applicants into the programs users type into, by the hot key and by hand.

Under a real X server (run it inside xvfb-run), the hot key pressed as a
person presses it (Ctrl, Alt, then V held 120 ms, let go in reverse, 30 ms
apart), with the Orvane program beside:
- Firefox ESR showing a loopback HTML form of three fields, twenty
  applicants without an input method and twenty with fcitx5's pinyin active
  in the browser: how many arrived exactly, and the median and longest time
  from V's release to the form's server holding all three values;
- LibreOffice Calc, twenty-five rows typed with {ENTER} in the sequence,
  read back from the sheet: how many rows are exact;
- for comparison, five applicants entered as a scripted user does with
  复制, a click and Ctrl+V, one action every 250 ms.
Every value is checked byte for byte (Calc's 18-digit numbers by their
digits: the IDs here end in X, so none is one).
Needs firefox-esr, libreoffice-calc, xdotool, xclip, imagemagick, fcitx5,
fcitx5-pinyin, fcitx5-frontend-gtk3 and dbus-daemon from Debian.
Usage: xvfb-run -a -s "-screen 0 1024x768x24" bench/typing_bench.py build/orvane
"""
import csv
import http.server
import io
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

PORT = 18123
# Orvane's window, centred on a 1024x768 screen: where its buttons are.
WINDOW = (352, 34)
FORM_NAME = (170, 35)  # the form's first field, Firefox in kiosk mode

APPLICANTS = [("吉𠮷祥" if n == 1 else "欧阳吉祥" if n == 2 else f"测试{n}号",
               f"11010519491231{n:03d}X", f"1380013{n:04d}") for n in range(1, 26)]

PAGE = """<!doctype html><meta charset="utf-8"><title>form</title>
<body style="margin:0">
<input id="n" autofocus style="position:absolute;left:20px;top:20px;width:300px;height:30px">
<input id="i" style="position:absolute;left:20px;top:70px;width:300px;height:30px">
<input id="p" style="position:absolute;left:20px;top:120px;width:300px;height:30px">
<script>
const fields = [n, i, p];
function report() {
  fetch('/v', {method: 'POST', body: JSON.stringify(fields.map(f => f.value))})
    .then(r => r.text()).then(t => {
      if (t === 'done') { fields.forEach(f => f.value = ''); n.focus(); fetch('/ready', {method: 'POST'}); }
    });
}
fields.forEach(f => f.addEventListener('input', report));
</script>"""

PROFILE = """[Groups/0]
Name=Default
Default Layout=us
DefaultIM=pinyin

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=pinyin
Layout=

[GroupOrder]
0=Default
"""


class Form:
    """The form's server: notes when the values of the applicant it waits
    for have all arrived, exactly."""

    def __init__(self):
        self.expected = None
        self.done = threading.Event()
        self.ready = threading.Event()  # empty, its first field focused
        self.ready.set()
        self.at = 0.0
        self.last = None

    def expect(self, applicant):
        self.expected = list(applicant)
        self.done.clear()

    def handler(self):
        form = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                body = PAGE.encode()
                self.send_response(200)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def do_POST(self):
                if self.path == "/ready":
                    form.ready.set()
                    self.send_response(204)
                    self.end_headers()
                    return
                values = json.loads(self.rfile.read(int(self.headers["Content-Length"])))
                form.last = values
                complete = values == form.expected
                if complete:
                    form.at = time.monotonic()
                    form.expected = None
                    form.done.set()
                answer = b"done" if complete else b"more"
                self.send_response(200)
                self.send_header("Content-Length", str(len(answer)))
                self.end_headers()
                self.wfile.write(answer)

            def log_message(self, *args):
                pass

        return Handler


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def press_hot_key():
    """Ctrl+Alt+V as a hand presses it: the times V and then the whole chord
    were let go (Alt and Ctrl follow 30 ms apart; typing waits for them)."""
    xdotool("keydown", "ctrl", "sleep", "0.04", "keydown", "alt", "sleep", "0.04",
            "keydown", "v", "sleep", "0.12", "keyup", "v")
    key = time.monotonic()
    xdotool("sleep", "0.03", "keyup", "alt", "sleep", "0.03", "keyup", "ctrl")
    return key, time.monotonic()


def click(x, y):
    xdotool("mousemove", x, y, "click", 1)


def focus(search):
    """The keyboard to a window, as a window manager would give it: this X
    server has none (with one, the browser's full screen would cover
    Orvane)."""
    window = subprocess.run(["xdotool", "search", "--onlyvisible", *search],
                            capture_output=True, text=True).stdout.split()
    xdotool("windowfocus", "--sync", window[0])


def click_into_browser(x, y):
    focus(["--class", "firefox"])
    click(x, y)


def click_into_orvane(x, y, glance):
    # A look at the screen first, as a user looks before a click: without a
    # capture of the screen here, Orvane's first click after the browser took
    # a paste was lost now and then (Firefox ESR on Xvfb).
    subprocess.run(["import", "-window", "root", glance], check=True)
    focus(["--name", "^Orvane$"])
    click(x, y)


def copy_button(group, row):
    """Centre of group 1-5's copy button (row 0 name, 1 ID, 2 phone)."""
    return WINDOW[0] + 256, WINDOW[1] + 26 + 116 * (group - 1) + (18, 50, 82)[row] + 10


def restore_button(group):
    return WINDOW[0] + 180, WINDOW[1] + 26 + 116 * (group - 1) + 28


def numeral(n):
    digits = "零一二三四五六七八九"
    tens = "" if n < 10 else ("" if n < 20 else digits[n // 10]) + "十"
    return tens + (digits[n % 10] if n % 10 else "")


def information_file(sequence):
    lines = ["[配置]", "记住配置=真", f"输入顺序={sequence}"]
    for n, (name, id_number, phone) in enumerate(APPLICANTS, 1):
        lines += [f"[第{numeral(n)}组]", f"姓名={name}", f"身份证={id_number}", f"手机号={phone}"]
    return ("\r\n".join(lines) + "\r\n").encode("gb18030")


def start_orvane(program, sequence, environment):
    folder = tempfile.mkdtemp()
    shutil.copy(program, folder)
    with open(os.path.join(folder, "信息.ini"), "wb") as file:
        file.write(information_file(sequence))
    orvane = subprocess.Popen([os.path.join(folder, os.path.basename(program)),
                               "--time-url", "http://127.0.0.1:9/"], env=environment,
                              stderr=subprocess.DEVNULL)
    time.sleep(3)
    xdotool("key", "Return")  # the greeting
    time.sleep(1)
    return orvane, folder


def start_input_method(folder):
    """fcitx5 with pinyin on a session bus of its own; the environment the
    programs that use it need."""
    bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                          "--print-pid=1"], capture_output=True, text=True, check=True)
    address, pid = bus.stdout.split()[:2]
    os.makedirs(os.path.join(folder, ".config", "fcitx5"))
    with open(os.path.join(folder, ".config", "fcitx5", "profile"), "w") as file:
        file.write(PROFILE)
    environment = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=address, HOME=folder,
                       XDG_CONFIG_HOME=os.path.join(folder, ".config"), GTK_IM_MODULE="fcitx",
                       QT_IM_MODULE="fcitx", XMODIFIERS="@im=fcitx")
    fcitx = subprocess.Popen(["fcitx5", "--disable=notificationitem,classicui"],
                             env=environment, stderr=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    time.sleep(3)
    return environment, fcitx, int(pid)


def input_method_state(environment):
    answer = subprocess.run(["fcitx5-remote"], env=environment, capture_output=True, text=True)
    return answer.stdout.strip()


def wait(form, seconds=3):
    return form.at if form.done.wait(seconds) else None


def firefox_run(program, form, with_pinyin):
    """Twenty applicants by the hot key into the browser's form: how many
    arrived exactly, and the times from the release of V and of the whole
    chord to the last value."""
    folder = tempfile.mkdtemp()
    environment, fcitx, bus = dict(os.environ), None, None
    if with_pinyin:
        environment, fcitx, bus = start_input_method(folder)
    profile = tempfile.mkdtemp()
    browser = subprocess.Popen(["firefox-esr", "--kiosk", "--no-remote", "--profile", profile,
                                f"http://127.0.0.1:{PORT}/"], env=environment,
                               stderr=subprocess.DEVNULL)
    time.sleep(10)
    orvane, _ = start_orvane(program, "{姓名}{TAB}{身份证}{TAB}{手机号}", environment)
    exact, times, wrong, states = 0, ([], []), [], []
    try:
        click_into_browser(*FORM_NAME)
        time.sleep(0.5)
        if with_pinyin:
            subprocess.run(["fcitx5-remote", "-o"], env=environment, check=True)
            states.append(input_method_state(environment))
        for group in range(1, 21):
            form.ready.wait(5)
            form.ready.clear()
            form.expect(APPLICANTS[group - 1])
            key, chord = press_hot_key()
            at = wait(form)
            if at is None:
                wrong.append(form.last)
                # An inexact applicant stays in the form: empty it for the next.
                click_into_browser(*FORM_NAME)
                xdotool("key", "ctrl+a", "BackSpace", "Tab", "ctrl+a", "BackSpace", "Tab",
                        "ctrl+a", "BackSpace")
                click_into_browser(*FORM_NAME)
                form.ready.set()
            else:
                exact += 1
                times[0].append(at - key)
                times[1].append(at - chord)
            time.sleep(1.0)  # past the quiet time after a press
            if with_pinyin:
                states.append(input_method_state(environment))
    finally:
        orvane.terminate()
        browser.terminate()
        browser.wait()
        if fcitx:
            fcitx.terminate()
            os.kill(bus, 15)
    return exact, times, wrong, states


def by_hand(program, form):
    """Five applicants as a user enters them: 复制, a click into the field,
    Ctrl+V, for each of the three, one action every 250 ms."""
    profile = tempfile.mkdtemp()
    browser = subprocess.Popen(["firefox-esr", "--kiosk", "--no-remote", "--profile", profile,
                                f"http://127.0.0.1:{PORT}/"], stderr=subprocess.DEVNULL)
    time.sleep(10)
    orvane, folder = start_orvane(program, "{姓名}{TAB}{身份证}{TAB}{手机号}", os.environ)
    glance = os.path.join(folder, "glance.png")
    try:
        form.ready.set()
        start = time.monotonic()
        for group in range(1, 6):
            form.expect(APPLICANTS[group - 1])
            for row in range(3):
                click_into_orvane(*copy_button(group, row), glance)
                time.sleep(0.5)
                click_into_browser(FORM_NAME[0], FORM_NAME[1] + 50 * row)
                time.sleep(0.25)
                xdotool("key", "ctrl+v")
                if row < 2:
                    time.sleep(0.25)
            if wait(form, 10) is None:
                return None
        return time.monotonic() - start
    finally:
        orvane.terminate()
        browser.terminate()
        browser.wait()


def calc_run(program):
    """Twenty-five rows by the hot key into a new sheet, read back from it."""
    user = tempfile.mkdtemp()
    calc = subprocess.Popen(["soffice", f"-env:UserInstallation=file://{user}", "--calc",
                             "--norestore", "--nologo"], stderr=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL)
    time.sleep(15)
    orvane, _ = start_orvane(program, "{姓名}{TAB}{身份证}{TAB}{手机号}{ENTER}", os.environ)
    try:
        focus(["--class", "libreoffice"])
        time.sleep(0.5)
        for _ in range(25):
            press_hot_key()
            time.sleep(1.2)
        focus(["--class", "libreoffice"])
        xdotool("key", "ctrl+Home", "ctrl+shift+End", "ctrl+c")
        time.sleep(1)
        text = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                              text=True).stdout
    finally:
        orvane.terminate()
        calc.terminate()
    rows = list(csv.reader(io.StringIO(text), delimiter="\t"))
    exact = sum(1 for row, applicant in zip(rows, APPLICANTS) if tuple(row) == applicant)
    wrong = [row for row, applicant in zip(rows, APPLICANTS) if tuple(row) != applicant]
    return exact, len(rows), wrong


def main():
    program = os.path.abspath(sys.argv[1])
    form = Form()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", PORT), form.handler())
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        print("Firefox ESR form on 127.0.0.1, the hot key as a hand presses it "
              "(V held 120 ms); times to the form's server from V's release, and from the "
              "chord's (Ctrl, the last key let go)")
        print(f"{'':24} {'exact':>7} {'V: median':>10} {'max':>7} {'chord: median':>14} {'max':>7}")
        for label, pinyin in (("no input method", False), ("fcitx5 pinyin active", True)):
            exact, times, wrong, states = firefox_run(program, form, pinyin)
            figures = " ".join(f"{statistics.median(t) * 1000:>{w}.0f} ms {max(t) * 1000:>4.0f} ms"
                               for t, w in zip(times, (7, 11)) if t)
            print(f"{label:24} {exact:>4}/20 {figures}", flush=True)
            for values in wrong:
                print(f"    not exact: {values}")
            if pinyin:
                print(f"    fcitx5's state before and after each press (2 active): "
                      f"{''.join(states)}")
        exact, count, wrong = calc_run(program)
        print(f"LibreOffice Calc, rows with {{ENTER}}: {exact}/25 exact ({count} rows read back)")
        for row in wrong:
            print(f"    not exact: {row}")
        seconds = by_hand(program, form)
        print("复制 + click + Ctrl+V, 250 ms each: " +
              (f"{seconds / 5 * 1000:.0f} ms an applicant" if seconds else "a click was lost"))
    finally:
        server.shutdown()


if __name__ == "__main__":
    main()
