"""Headless Chromium over the DevTools protocol on a pipe (--remote-debugging-pipe).

Standard library only: the browser reads NUL-terminated JSON messages on its fd 3 and writes
its answers and events on fd 4, so no websocket is needed. One Browser holds one page.
"""

import base64
import fcntl
import json
import os
import select
import shutil
import subprocess
import tempfile
import time


def find_chromium():
    for name in (os.environ.get("PLOTARA_CHROMIUM"), "chromium", "chromium-browser"):
        path = name and shutil.which(name)
        if path:
            return path
    return None


class CdpError(RuntimeError):
    pass


class Browser:
    def __init__(self, width=800, height=600, reduced_motion=True):
        self.profile = tempfile.TemporaryDirectory(prefix="plotara-chromium-")
        to_browser, self._out = os.pipe()
        self._in, from_browser = os.pipe()

        def pipes_at_3_and_4():
            a = fcntl.fcntl(to_browser, fcntl.F_DUPFD, 10)
            b = fcntl.fcntl(from_browser, fcntl.F_DUPFD, 10)
            os.dup2(a, 3)
            os.dup2(b, 4)

        args = [find_chromium(), "--headless=new", "--remote-debugging-pipe",
                "--user-data-dir=" + self.profile.name, "--no-first-run", "--hide-scrollbars",
                "--disable-gpu", "--force-device-scale-factor=1", "--font-render-hinting=none",
                "--window-size=%d,%d" % (width, height), "about:blank"]
        if os.geteuid() == 0:
            args.insert(1, "--no-sandbox")
        self.proc = subprocess.Popen(args, pass_fds=(3, 4), preexec_fn=pipes_at_3_and_4,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser)
        os.close(from_browser)
        self._buffer, self._next_id, self.events = b"", 0, []
        self.session = None
        page = next(t for t in self.send("Target.getTargets")["targetInfos"] if t["type"] == "page")
        self.session = self.send("Target.attachToTarget", targetId=page["targetId"],
                                 flatten=True)["sessionId"]
        for domain in ("Page", "Runtime", "Log"):
            self.send(domain + ".enable")
        # Keyboard focus as in a window that has it (headless pages have none otherwise).
        self.send("Emulation.setFocusEmulationEnabled", enabled=True)
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=1, mobile=False)
        if reduced_motion:
            self.send("Emulation.setEmulatedMedia",
                      features=[{"name": "prefers-reduced-motion", "value": "reduce"}])
        # CSP violations as the page sees them, collected before any page script runs.
        self.send("Page.addScriptToEvaluateOnNewDocument", source=(
            "window.__csp = []; document.addEventListener('securitypolicyviolation', e =>"
            " window.__csp.push(e.violatedDirective + ' ' + e.blockedURI + ' ' + e.sample));"))

    def close(self):
        try:
            self.send("Browser.close", timeout=5)
        except (CdpError, OSError):
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        os.close(self._in)
        os.close(self._out)
        self.profile.cleanup()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # --- messages --------------------------------------------------------------------------
    def _read_message(self, deadline):
        while b"\0" not in self._buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self._in], [], [], left)[0]:
                return None
            chunk = os.read(self._in, 1 << 20)
            if not chunk:
                raise CdpError("chromium closed its pipe")
            self._buffer += chunk
        raw, self._buffer = self._buffer.split(b"\0", 1)
        message = json.loads(raw)
        if "method" in message:
            self._on_event(message)
        return message

    def _on_event(self, message):
        self.events.append(message)
        if message["method"] == "Page.javascriptDialogOpening":
            # Answered at once so a dialog cannot hold the page; the event stays on record.
            self.send_nowait("Page.handleJavaScriptDialog", accept=False)

    def send_nowait(self, method, **params):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params}
        if self.session and not method.startswith(("Target.", "Browser.")):
            message["sessionId"] = self.session
        os.write(self._out, json.dumps(message).encode() + b"\0")
        return self._next_id

    def send(self, method, timeout=30, **params):
        wanted = self.send_nowait(method, **params)
        deadline = time.monotonic() + timeout
        while True:
            message = self._read_message(deadline)
            if message is None:
                raise CdpError("no answer to " + method)
            if message.get("id") == wanted:
                if "error" in message:
                    raise CdpError("%s: %s" % (method, message["error"]))
                return message.get("result", {})

    def wait_event(self, method, timeout=30, since=0):
        """The first event named method at or after index since of self.events."""
        deadline = time.monotonic() + timeout
        while True:
            for event in self.events[since:]:
                if event["method"] == method:
                    return event
            if self._read_message(deadline) is None and time.monotonic() >= deadline:
                raise CdpError("no event " + method)

    def pump(self, seconds=0.05):
        """Reads what arrives for a moment, so that events of a step are on record."""
        deadline = time.monotonic() + seconds
        while self._read_message(deadline) is not None:
            pass

    # --- page ------------------------------------------------------------------------------
    def open(self, path_or_url):
        url = path_or_url if "://" in path_or_url else "file://" + os.path.abspath(path_or_url)
        mark = len(self.events)
        self.send("Page.navigate", url=url)
        self.wait_event("Page.loadEventFired", since=mark)

    def eval(self, expression):
        answer = self.send("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in answer:
            raise CdpError("script failed: %s" % answer["exceptionDetails"])
        return answer["result"].get("value")

    def center(self, selector):
        """The middle of the first element matching selector in the window, scrolled into it."""
        box = self.eval("(() => { const e = document.querySelector(%s);"
                        " e.scrollIntoView({block: 'nearest', inline: 'nearest'});"
                        " const r = e.getBoundingClientRect();"
                        " return [r.x + r.width / 2, r.y + r.height / 2]; })()"
                        % json.dumps(selector))
        return box[0], box[1]

    def mouse(self, kind, x, y, **extra):
        self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, **extra)

    def hover(self, x, y):
        self.mouse("mouseMoved", x, y)
        self.pump()

    def click(self, x, y):
        for kind in ("mousePressed", "mouseReleased"):
            self.mouse(kind, x, y, button="left", clickCount=1)
        self.pump()

    def drag(self, x0, y0, x1, y1, steps=5, button="left", **extra):
        buttons = {"left": 1, "middle": 4}[button]
        self.mouse("mouseMoved", x0, y0, **extra)
        self.mouse("mousePressed", x0, y0, button=button, buttons=buttons, clickCount=1, **extra)
        for i in range(1, steps + 1):
            self.mouse("mouseMoved", x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps,
                       button=button, buttons=buttons, **extra)
        self.mouse("mouseReleased", x1, y1, button=button, clickCount=1, **extra)
        self.pump()

    def wheel(self, x, y, dx, dy):
        self.mouse("mouseWheel", x, y, deltaX=dx, deltaY=dy)
        self.pump(0.2)

    KEYS = {"Tab": 9, "Enter": 13, " ": 32, "ArrowLeft": 37, "ArrowRight": 39, "Escape": 27,
            "Home": 36, "End": 35}

    def key(self, key):
        code = self.KEYS[key]
        text = {"Enter": "\r", " ": " "}.get(key, "")
        name = "Space" if key == " " else key
        self.send("Input.dispatchKeyEvent", type="keyDown" if text else "rawKeyDown", key=key,
                  code=name, windowsVirtualKeyCode=code, text=text)
        self.send("Input.dispatchKeyEvent", type="keyUp", key=key, code=name,
                  windowsVirtualKeyCode=code)
        self.pump()

    def screenshot(self, clip=None):
        params = {"format": "png"}
        if clip:
            params["clip"] = dict(zip(("x", "y", "width", "height"), clip), scale=1)
        return base64.b64decode(self.send("Page.captureScreenshot", **params)["data"])

    # --- what went wrong -------------------------------------------------------------------
    def troubles(self):
        """Exceptions, console errors, dialogs and CSP violations seen so far, as texts."""
        self.pump()
        found = []
        for event in self.events:
            method, params = event["method"], event.get("params", {})
            if method == "Runtime.exceptionThrown":
                found.append("exception: %s" % params["exceptionDetails"].get("text"))
            elif method == "Runtime.consoleAPICalled" and params["type"] in ("error", "assert"):
                found.append("console: %s" % [a.get("value") for a in params["args"]])
            elif method == "Page.javascriptDialogOpening":
                found.append("dialog: %s" % params.get("message"))
            elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
                found.append("log: %s" % params["entry"].get("text"))
        try:
            found += ["csp: " + v for v in self.eval("window.__csp || []")]
        except CdpError:
            pass
        return found
