#!/usr/bin/python3
"""Typing applicants into the programs users type into, by the hot key and by hand.

Under a real X server (run it inside xvfb-run), on a session bus of its own
with the accessibility bus, the hot key pressed as a person presses it
(Ctrl, Alt, then V held 120 ms, let go in reverse, 30 ms apart), with the
Orvane program beside:
- Firefox ESR, accessibility on, showing a loopback HTML form of three
  fields, fifty applicants each without an input method, with fcitx5's
  pinyin active and with IBus's libpinyin active in the browser: how many
  arrived exactly, how many Orvane marked, and of those how many it read
  back ("已输入第N组") or marked unchecked ("（未核对）"), how many were
  marked though wrong, and the median and longest time from the chord's
  release to the form's server holding all three values and to Orvane's
  mark;
- LibreOffice Calc, twenty-five rows typed with {ENTER} in the sequence,
  read back from the sheet: how many rows are exact, how many marked;
- for comparison, five applicants entered as a scripted user does with
  复制, a click and Ctrl+V, one action every 250 ms.
Every value is checked byte for byte (Calc's 18-digit numbers by their
digits: the IDs here end in X, so none is one). Orvane's status line is
read through the accessibility bus.
Needs firefox-esr, libreoffice-calc, xdotool, xclip, imagemagick, fcitx5,
fcitx5-pinyin, fcitx5-frontend-gtk3, ibus, ibus-libpinyin, ibus-gtk3,
at-spi2-core, python3-pyatspi and dbus-daemon from Debian.
Usage: xvfb-run -a -s "-screen 0 1024x768x24" bench/typing_bench.py build/orvane [groups]
(groups: how many applicants per Firefox case, 50 unless given)
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
      if (t === 'done') {
        // Empty again for the next applicant, once Orvane has read the form back.
        setTimeout(() => { fields.forEach(f => f.value = ''); n.focus(); fetch('/ready', {method: 'POST'}); }, 600);
      }
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


def start_session():
    """A session bus of the benchmark's own, with a runtime folder of its
    own, where the accessibility bus starts; every program here uses it."""
    runtime = tempfile.mkdtemp()
    os.chmod(runtime, 0o700)
    bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                          "--print-pid=1"], capture_output=True, text=True, check=True)
    address, pid = bus.stdout.split()[:2]
    os.environ.update(DBUS_SESSION_BUS_ADDRESS=address, XDG_RUNTIME_DIR=runtime)
    return int(pid)


def start_orvane(program, sequence, environment):
    folder = tempfile.mkdtemp()
    shutil.copy(program, folder)
    with open(os.path.join(folder, "信息.ini"), "wb") as file:
        file.write(information_file(sequence))
    orvane = subprocess.Popen([os.path.join(folder, os.path.basename(program)),
                               "--time-url", "http://127.0.0.1:9/"],
                              env=dict(environment, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"),
                              stderr=subprocess.DEVNULL)
    time.sleep(3)
    xdotool("key", "Return")  # the greeting
    time.sleep(1)
    return orvane, folder


class TypingLine:
    """Orvane's line in its status bar, as the accessibility bus shows it."""

    def __init__(self):
        import pyatspi  # on the session bus named by then
        self.label = None
        for _ in range(50):
            for app in pyatspi.Registry.getDesktop(0):
                if app is not None and app.name == "orvane":
                    self.label = self.find(app)
            if self.label is not None:
                return
            time.sleep(0.2)
        raise RuntimeError("Orvane's status line is not on the accessibility bus")

    def find(self, node, depth=0):
        for child in node:
            if child is None:
                continue
            if child.getRoleName() == "status bar":
                return child.getChildAtIndex(1)
            found = self.find(child, depth + 1) if depth < 6 else None
            if found is not None:
                return found
        return None

    def text(self):
        return self.label.name

    def verdict(self, seconds=4):
        """The line once the press is done with, and when it was."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            line = self.text()
            if not line.startswith("正在输入") and not line.startswith("下一组"):
                return line, time.monotonic()
            time.sleep(0.005)
        return self.text(), None


def start_input_method(method, folder):
    """fcitx5 with pinyin, or IBus with libpinyin; the environment the
    programs that use it need."""
    environment = dict(os.environ, HOME=folder, XDG_CONFIG_HOME=os.path.join(folder, ".config"),
                       GTK_IM_MODULE=method, QT_IM_MODULE=method, XMODIFIERS=f"@im={method}")
    if method == "fcitx":
        os.makedirs(os.path.join(folder, ".config", "fcitx5"))
        with open(os.path.join(folder, ".config", "fcitx5", "profile"), "w") as file:
            file.write(PROFILE)
        daemon = ["fcitx5", "--disable=notificationitem,classicui"]
    else:
        daemon = ["ibus-daemon", "--xim", "--panel=disable", "--replace"]
    process = subprocess.Popen(daemon, env=environment, stderr=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL)
    time.sleep(4)
    return environment, process


def activate_input_method(method, environment):
    """Pinyin on, as the state says (IBus's command fails with no input
    context known to it, and sets the engine all the same)."""
    command = ["fcitx5-remote", "-o"] if method == "fcitx" else ["ibus", "engine", "libpinyin"]
    for _ in range(20):  # IBus takes a while to answer after its start
        subprocess.run(command, env=environment, stderr=subprocess.DEVNULL)
        if input_method_state(method, environment) in ("2", "libpinyin"):
            return
        time.sleep(0.5)
    raise RuntimeError(f"{method} did not take the input method")


def input_method_state(method, environment):
    command = ["fcitx5-remote"] if method == "fcitx" else ["ibus", "engine"]
    answer = subprocess.run(command, env=environment, capture_output=True, text=True)
    return answer.stdout.strip()


def wait(form, seconds=3):
    return form.at if form.done.wait(seconds) else None


def empty_form():
    """An inexact applicant stays in the form: emptied for the next."""
    click_into_browser(*FORM_NAME)
    xdotool("key", "ctrl+a", "BackSpace", "Tab", "ctrl+a", "BackSpace", "Tab", "ctrl+a",
            "BackSpace")
    click_into_browser(*FORM_NAME)


def firefox_run(program, form, method, groups=50):
    """Fifty applicants by the hot key into the browser's form, twenty-five
    to a start of Orvane: for each press whether the form got it exactly,
    Orvane's verdict, and the times from the chord's release to the last
    value and to the verdict."""
    folder = tempfile.mkdtemp()
    environment, daemon = dict(os.environ), None
    if method:
        environment, daemon = start_input_method(method, folder)
    profile = tempfile.mkdtemp()
    browser = subprocess.Popen(["firefox-esr", "--kiosk", "--no-remote", "--profile", profile,
                                f"http://127.0.0.1:{PORT}/"],
                               env=dict(environment, GNOME_ACCESSIBILITY="1"),
                               stderr=subprocess.DEVNULL)
    time.sleep(10)
    presses, states = [], []
    try:
        while len(presses) < groups:
            orvane, _ = start_orvane(program, "{姓名}{TAB}{身份证}{TAB}{手机号}", environment)
            line = TypingLine()
            click_into_browser(*FORM_NAME)
            time.sleep(0.5)
            if method:
                activate_input_method(method, environment)
                states.append(input_method_state(method, environment))
            group = 1
            for _ in range(min(25, groups - len(presses))):
                form.ready.wait(5)
                form.ready.clear()
                form.expect(APPLICANTS[group - 1])
                _, chord = press_hot_key()
                at = wait(form)
                verdict, when = line.verdict()
                marked = verdict.startswith("已输入")
                presses.append({"exact": at is not None, "marked": marked,
                                "checked": marked and "未核对" not in verdict,
                                "form": at - chord if at else None,
                                "mark": when - chord if when and marked else None,
                                "verdict": verdict, "last": form.last})
                if at is None:
                    empty_form()
                    form.ready.set()
                if marked:
                    group += 1
                time.sleep(1.0)  # past the quiet time after a press
                if method:
                    states.append(input_method_state(method, environment))
            orvane.terminate()
            orvane.wait()
    finally:
        browser.terminate()
        browser.wait()
        if daemon:
            daemon.terminate()
    return presses, states


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
    marked = 0
    try:
        line = TypingLine()
        focus(["--class", "libreoffice"])
        time.sleep(0.5)
        for _ in range(25):
            press_hot_key()
            verdict, _ = line.verdict()
            marked += verdict.startswith("已输入")
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
    return exact, len(rows), wrong, marked


def milliseconds(values):
    values = [v for v in values if v is not None]
    if not values:
        return f"{'-':>7} {'-':>7}"
    return f"{statistics.median(values) * 1000:>4.0f} ms {max(values) * 1000:>4.0f} ms"


def main():
    program = os.path.abspath(sys.argv[1])
    groups = int(sys.argv[2]) if len(sys.argv) > 2 else 50
    bus = start_session()
    form = Form()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", PORT), form.handler())
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        print("Firefox ESR form on 127.0.0.1, accessibility on, the hot key as a hand presses "
              "it (V held 120 ms); times from the chord's release (Ctrl, the last key let go) "
              "to the form's server holding the applicant, and to Orvane's mark")
        print(f"{'':22} {'exact':>6} {'marked':>7} {'read back':>10} {'unchecked':>10} "
              f"{'marked wrong':>13} {'form: median':>13} {'max':>7} {'mark: median':>13} "
              f"{'max':>7}")
        for label, method in (("no input method", None), ("fcitx5 pinyin active", "fcitx"),
                              ("IBus libpinyin active", "ibus")):
            presses, states = firefox_run(program, form, method, groups)
            count = lambda key: sum(1 for p in presses if p[key])
            wrong = [p for p in presses if p["marked"] and not p["exact"]]
            print(f"{label:22} {count('exact'):>3}/{len(presses)} {count('marked'):>7} "
                  f"{count('checked'):>10} {count('marked') - count('checked'):>10} "
                  f"{len(wrong):>13} {milliseconds(p['form'] for p in presses):>21} "
                  f"{milliseconds(p['mark'] for p in presses):>21}", flush=True)
            for p in presses:
                if not p["exact"] or not p["checked"]:
                    print(f"    {p['verdict']}: the form held {p['last']}")
            if method:
                print(f"    the input method before and after each press: {' '.join(states)}")
        exact, count, wrong, marked = calc_run(program)
        print(f"LibreOffice Calc, rows with {{ENTER}}: {exact}/25 exact ({count} rows read back), "
              f"{marked} marked")
        for row in wrong:
            print(f"    not exact: {row}")
        seconds = by_hand(program, form)
        print("复制 + click + Ctrl+V, 250 ms each: " +
              (f"{seconds / 5 * 1000:.0f} ms an applicant" if seconds else "a click was lost"))
    finally:
        server.shutdown()
        os.kill(bus, 15)


if __name__ == "__main__":
    main()
